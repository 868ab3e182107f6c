#pragma once

#include <QRect>
#include <QSize>

// Window layouts are given in twips (1/1440 inch) and laid out in logical
// pixels: 1440 / logical DPI twips per pixel, 15 at 96 DPI.
namespace twips {

int screenDpi();            // logical DPI of the primary screen
double perPixel();          // of the primary screen
int toPixels(double twips); // rounded half to even
QRect rect(int left, int top, int width, int height);
QSize size(int width, int height);

// The render job works in device pixels: at a device pixel ratio r it draws
// at r times the logical DPI (96 r, rounded to a whole DPI), so its twips per
// pixel is 15 / r, on surfaces as large as the screen in device pixels.
int renderDpi();
QSize screenDeviceSize();

} // namespace twips
