#include "mainwin/surface.h"

#include "render/textraster.h"

#include <QPainter>

QImage grownSurface(const QImage& surface, QSize clientSize, int dpi, QRgb fill) {
    const QSize wanted = surface.size().expandedTo(clientSize.expandedTo(QSize(0, 0)));
    if (wanted == surface.size() && !surface.isNull())
        return surface;
    QImage grown = pismolot::makeSurface(wanted, dpi, fill);
    if (!surface.isNull()) {
        QPainter painter(&grown);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), surface);
    }
    return grown;
}
