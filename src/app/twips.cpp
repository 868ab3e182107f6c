#include "app/twips.h"

#include "render/numbers.h"

#include <QGuiApplication>
#include <QScreen>

namespace twips {

double perPixel() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

int toPixels(double twips) {
    return pismolot::roundHalfEven<int>(twips / perPixel());
}

QRect rect(int left, int top, int width, int height) {
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

QSize size(int width, int height) {
    return QSize(toPixels(width), toPixels(height));
}

} // namespace twips
