#include "mainwin/output.h"

#include "render/imagefile.h"

#include <QClipboard>
#include <QMimeData>

namespace output {

namespace {

bool isEmptyPicture(const QImage& picture) {
    return picture.isNull() || picture.width() <= 0 || picture.height() <= 0;
}

} // namespace

QString copyPicture(QClipboard& clipboard, const QImage& picture) {
    const QString failed = QStringLiteral("Nie udało się skopiować efektu do schowka.\nPowód: %1");
    if (isEmptyPicture(picture))
        return failed.arg(
            QStringLiteral("obraz jest pusty (nie ma ani jednej kolumny lub wiersza)"));
    clipboard.clear();
    clipboard.setImage(picture);
    // A clipboard held by another program takes nothing; reading back tells.
    const QMimeData* data = clipboard.mimeData();
    if (!data || !data->hasImage())
        return failed.arg(
            QStringLiteral("schowek nie przyjął obrazu (może używa go inny program)"));
    return QString();
}

QString savePicture(const QString& path, const QImage& picture) {
    QString reason;
    if (pismolot::writeImageFile(path, picture, pismolot::ImageFileFormat::Bmp24, &reason))
        return QString();
    return QStringLiteral("Nie udało się zapisać pliku „%1”.\nPowód: %2").arg(path, reason);
}

} // namespace output
