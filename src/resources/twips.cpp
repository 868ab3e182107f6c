#include "resources/twips.h"

#include "render/numbers.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace twips {

namespace {

const QScreen* orPrimary(const QScreen* screen) {
    return screen ? screen : QGuiApplication::primaryScreen();
}

qreal devicePixelRatio(const QScreen* screen) {
    screen = orPrimary(screen);
    const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
    return ratio > 0 ? ratio : 1.0;
}

} // namespace

QScreen* screenOf(const QWidget& widget) {
    QScreen* screen = widget.screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

int screenDpi(const QScreen* screen) {
    screen = orPrimary(screen);
    const int dpi = screen ? qRound(screen->logicalDotsPerInchY()) : 96;
    return dpi > 0 ? dpi : 96;
}

double perPixel(const QScreen* screen) {
    return 1440.0 / screenDpi(screen);
}

int toPixels(double twips, const QScreen* screen) {
    return pismolot::roundHalfEven<int>(twips / perPixel(screen));
}

QRect rect(int left, int top, int width, int height, const QScreen* screen) {
    return QRect(toPixels(left, screen), toPixels(top, screen), toPixels(width, screen),
                 toPixels(height, screen));
}

QSize size(int width, int height, const QScreen* screen) {
    return QSize(toPixels(width, screen), toPixels(height, screen));
}

int renderDpi(const QScreen* screen) {
    return qRound(screenDpi(screen) * devicePixelRatio(screen));
}

QSize screenDeviceSize(const QScreen* screen) {
    screen = orPrimary(screen);
    if (!screen)
        return {};
    const QSize logical = screen->geometry().size();
    const qreal ratio = devicePixelRatio(screen);
    return QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio));
}

} // namespace twips
