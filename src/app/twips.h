#pragma once

#include <QRect>
#include <QSize>

// Window layouts are given in twips (1/1440 inch). The screen's twips per
// pixel is 1440 / logical DPI: 15 at 96 DPI, so layouts scale on dense screens.
namespace twips {

int screenDpi();            // logical DPI of the primary screen
double perPixel();          // of the primary screen
int toPixels(double twips); // rounded half to even
QRect rect(int left, int top, int width, int height);
QSize size(int width, int height);

} // namespace twips
