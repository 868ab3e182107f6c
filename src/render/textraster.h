#pragma once

#include "job.h"

#include <QFont>
#include <QImage>
#include <QSize>
#include <QStringList>

namespace pismolot {

// Qt's font engine behind the render job: fonts without antialiasing, so
// glyph pixels come out exactly black, at a given logical DPI.

// The QFont of a FontChoice: point size, bold, italic, underline, no
// antialiasing. An unknown family is replaced by the platform's substitute.
QFont makeFont(const FontChoice& choice);

// Size in pixels of one line of `text` drawn with `choice` at `dpi`: the
// rectangle from (0, 0) that holds everything drawText paints, italic
// overhang and underline included.
QSize measureText(const QString& text, const FontChoice& choice, int dpi);

// Draws `text` in black on `surface` with the top-left corner of its
// character cell at (0, 0), transparent background. The font is scaled by the
// surface's own DPI (QImage::dotsPerMeterX).
void drawText(QImage& surface, const QString& text, const FontChoice& choice);

// A white Format_RGB32 surface of the given size that draws at `dpi`.
QImage makeSurface(QSize size, int dpi, QRgb fill = 0xFFFFFFFF);

// Font families of the platform, sorted case-insensitively: the order of the
// editor's font list and of `pismolot-render --list-fonts`.
QStringList sortedFontFamilies();

// The platform's default sans-serif family.
QString defaultSansFamily();

// View of a Format_RGB32 image as a raster.
RasterView rasterOf(QImage& image);
ConstRasterView rasterOf(const QImage& image);

} // namespace pismolot
