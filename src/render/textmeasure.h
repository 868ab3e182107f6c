#pragma once

// Measuring one line of text by drawing it: how far its ink reaches from the
// origin, whether ink lies beyond the screen, and the drawing itself for the
// headless renderer to keep. Drawn in strips of bounded memory.

#include "job.h"
#include "textline.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace pismolot {

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

// The extent alone.
QSize measureText(const QString& text, const FontChoice& choice, int dpi,
                  QSize screen = QSize(MaxInkWidth, 2048));

// Whether drawing `text` (its baseline `ascent` rows down) puts ink in
// columns `from` up to `to` of rows 0..height: in chunks that start narrow,
// since ink mostly lies right at the edge, and double up to the strips' size.
//
// Each chunk is drawn with a lead of up to `lead` columns on its left, which
// are not looked at: Qt leaves out glyphs whose upright boxes lie left of
// the surface, and so lost the slant that it adds to a face itself.
bool inkInColumns(const QString& text, const FontChoice& choice, int dpi, qreal ascent, int from,
                  int to, int height, int lead, bool monochrome);

} // namespace pismolot
