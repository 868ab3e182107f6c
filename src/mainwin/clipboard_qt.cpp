// The picture on the clipboard through Qt alone: its PNG and BMP types are
// what X11 and Wayland programs ask for, and after them SVG, which drawing
// and office programs paste as shapes.
#include "mainwin/clipboard.h"

#include <QClipboard>
#include <QMimeData>

bool clipboardTakesSvg() {
    return true;
}

bool placePicture(QClipboard& clipboard, QMimeData* data, const QImage& /*picture*/) {
    const QStringList offered = data->formats();
    clipboard.clear();
    clipboard.setMimeData(data);
    // A clipboard held by another program takes nothing; reading back tells.
    const QMimeData* held = clipboard.mimeData();
    return held && !offered.isEmpty() && held->hasFormat(offered.first());
}
