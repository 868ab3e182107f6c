#pragma once

#include <QRect>
#include <QSize>

class QScreen;
class QWidget;

// Window layouts are given in twips (1/1440 inch) and laid out in logical
// pixels: 1440 / logical DPI twips per pixel, 15 at 96 DPI. Every screen has
// its own: a window takes those of the screen it is on (screenOf), and a null
// screen stands for the primary one, where new windows open.
namespace twips {

QScreen* screenOf(const QWidget& widget);

int screenDpi(const QScreen* screen = nullptr);              // logical DPI
double perPixel(const QScreen* screen = nullptr);            // twips per logical pixel
int toPixels(double twips, const QScreen* screen = nullptr); // rounded half to even
QRect rect(int left, int top, int width, int height, const QScreen* screen = nullptr);
QSize size(int width, int height, const QScreen* screen = nullptr);

// The render job works in device pixels: at a device pixel ratio r it draws
// at r times the logical DPI (96 r, rounded to a whole DPI), so its twips per
// pixel is 15 / r, on surfaces as large as the screen in device pixels.
int renderDpi(const QScreen* screen = nullptr);
QSize screenDeviceSize(const QScreen* screen = nullptr);

} // namespace twips
