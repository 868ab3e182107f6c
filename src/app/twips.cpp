#include "app/twips.h"

#include "render/numbers.h"

#include <QGuiApplication>
#include <QScreen>

namespace twips {

int screenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int dpi = screen ? qRound(screen->logicalDotsPerInchY()) : 96;
    return dpi > 0 ? dpi : 96;
}

double perPixel() {
    return 1440.0 / screenDpi();
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
