#pragma once

#include <QImage>
#include <QSize>

// Persistent drawing: a window keeps what is drawn on it in a back-buffer of
// its client area and repaints from it.

// The back-buffer after the client area became `clientSize`: it grows to
// cover it, the new part filled with `fill`, and never shrinks, so nothing
// drawn is lost when a window is made smaller for a moment.
// It draws at `dpi`.
QImage grownSurface(const QImage& surface, QSize clientSize, int dpi, QRgb fill);
