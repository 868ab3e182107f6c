#pragma once

#include "job.h"

#include <QFont>
#include <QImage>
#include <QSize>
#include <QStringList>

namespace pismolot {

// Qt's font engine behind the render job: fonts without antialiasing, so
// glyph pixels come out exactly black, at a given logical DPI.

// The largest pixels per em that the font engine draws. Qt's FreeType metrics
// overflow once a font's ascent reaches 16384 pixels: the ascent turns
// negative and nothing is drawn (measured with Qt 6.4: DejaVu Sans, ascent
// 0.928 em, draws up to 17,650 px/em, DejaVu Serif Bold, 0.939 em, up to
// 17,449). 16384 px/em keeps every font whose ascent is at most one em
// drawable; 2048 pt stays drawable up to 576 dpi.
inline constexpr int MaxPixelsPerEm = 16384;

// Whether the font engine can draw `points` at `dpi`: above 0, at most
// MaxFontPoints, and at most MaxPixelsPerEm pixels per em.
bool fontSizeDrawable(float points, int dpi);

// The QFont of a FontChoice: point size, bold, italic, underline, no
// antialiasing. An unknown family is replaced by the platform's substitute.
QFont makeFont(const FontChoice& choice);

// Ink further right than this cannot be drawn by Qt's rasteriser (its
// coordinates are 16.16 fixed point), so no measurement looks beyond it.
inline constexpr int MaxInkWidth = 32767;

// One line of text drawn in black from (0, 0) and measured.
struct MeasuredText {
    // Pixels from (0, 0): the text's advance width and line height joined with
    // every exactly black pixel that drawing the text paints right of and
    // below the origin. A width of 0 means there is nothing to show.
    QSize extent;
    // Whether ink lies right of or below `screen`: letters that no picture
    // of a screen-sized scratch surface can hold.
    bool inkBeyondScreen = false;
    // When asked for: the drawing itself, a white surface with the text in
    // black, covering at least the extent clipped to `screen`.
    QImage surface;
};

// Measures `text` in `choice` at `dpi` by drawing it, as the render job's
// scratch surface draws it. `screen` is the screen in pixels: ink beyond its
// width cannot reach a picture (the width is clamped to the screen), so a
// width of at least screen.width() means "the screen's width or more"; the
// first drawn strip is screen.height() rows tall, which is what a kept
// surface covers. The window and the headless renderer pass the same screen
// and get the same extent.
MeasuredText measureDrawnText(const QString& text, const FontChoice& choice, int dpi, QSize screen,
                              bool keepSurface);

// The largest whole point size, at most `choice.size`, at which the ink of
// `text` lies within `screen`: found by bisection, as ink grows with the size
// (hinting may leave a size or so unused). 0 when no size fits, or none
// draws a letter within the screen. The sizes tried are told by the glyphs'
// boxes where they can, and drawn only where a box lies near the screen's
// edge or a face's boxes do not hold its ink.
int largestFittingSize(const QString& text, const FontChoice& choice, int dpi, QSize screen);

// The same bisection with every size tried drawn: the reference that tests
// hold largestFittingSize to.
int largestFittingSizeByDrawing(const QString& text, const FontChoice& choice, int dpi,
                                QSize screen);

// The extent alone.
QSize measureText(const QString& text, const FontChoice& choice, int dpi,
                  QSize screen = QSize(MaxInkWidth, 2048));

// Draws `text` in black on `surface` with the top-left corner of its
// character cell at (0, 0), transparent background. The font is scaled by the
// surface's own DPI (QImage::dotsPerMeterX).
void drawText(QImage& surface, const QString& text, const FontChoice& choice);

// A white Format_RGB32 surface of the given size that draws at `dpi`, in
// plain memory (the windows' long-lived surfaces).
QImage makeSurface(QSize size, int dpi, QRgb fill = 0xFFFFFFFF);

// The same for the headless renderer's one-shot surfaces: on Linux, large
// ones are backed by huge pages where the system offers them, which spares
// thousands of page faults per picture.
QImage makeRendererSurface(QSize size, int dpi, QRgb fill = 0xFFFFFFFF);

// The families of a raw font list as users should see them: Qt's
// " [foundry]" suffix stripped, each family once, fontconfig's aliases
// ("Sans Serif", "Serif", "Monospace") left out, sorted case-insensitively.
QStringList familyList(const QStringList& raw);

// familyList of the platform's families that it can draw: the order of the
// editor's font list and of `pismolot-render --list-fonts`.
QStringList sortedFontFamilies();

// False for a family the platform's text drawing cannot draw at all, which
// is then left out of the list and replaced when asked for by name: on
// Windows, fonts whose glyphs are only colour bitmaps, which GDI has no
// outlines for. True for every family elsewhere, and for names not installed.
bool platformDrawsFamily(const QString& family);

// The family the font engine really draws for `requested`.
QString resolvedFamily(const QString& requested);

// The platform's default sans-serif family.
QString defaultSansFamily();

// View of a Format_RGB32 image as a raster.
RasterView rasterOf(QImage& image);
ConstRasterView rasterOf(const QImage& image);

} // namespace pismolot
