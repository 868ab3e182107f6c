#pragma once

// Scratch surfaces: the Format_RGB32 images that text is drawn on, each
// carrying the logical DPI that fonts drawn on it are scaled by, and where
// their memory comes from.

#include "raster.h"

#include <QImage>
#include <QSize>

namespace pismolot {

// A white Format_RGB32 surface of the given size that draws at `dpi`, in
// plain memory (the windows' long-lived surfaces).
QImage makeSurface(QSize size, int dpi, QRgb fill = 0xFFFFFFFF);

// The same for the headless renderer's one-shot surfaces: on Linux, large
// ones are backed by huge pages where the system offers them, which spares
// thousands of page faults per picture.
QImage makeRendererSurface(QSize size, int dpi, QRgb fill = 0xFFFFFFFF);

// The paint device metrics that fonts are scaled by: a 1 x 1 surface at
// `dpi`, for laying out and measuring text without drawing it.
QImage dpiProbe(int dpi);

// View of a Format_RGB32 image as a raster.
RasterView rasterOf(QImage& image);
ConstRasterView rasterOf(const QImage& image);

} // namespace pismolot
