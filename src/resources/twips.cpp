#include "resources/twips.h"

#include "render/numbers.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace twips {

namespace {

qreal devicePixelRatio() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
    return ratio > 0 ? ratio : 1.0;
}

} // namespace

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

int renderDpi() {
    return qRound(screenDpi() * devicePixelRatio());
}

QSize screenDeviceSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QSize logical = screen->geometry().size();
    const qreal ratio = devicePixelRatio();
    return QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio));
}

} // namespace twips
