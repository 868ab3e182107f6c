#pragma once

#include "job.h"

#include <QPainterPath>
#include <QRectF>

namespace pismolot {

// The outlines of one line of text where the bitmap draws it: the font of
// makeFont() at `dpi`, the top-left corner of the character cell at (0, 0),
// the baseline at the font's ascent, and the underline as the rectangle that
// the bitmap's underline stroke covers. In pixels of the picture; filled with
// the non-zero rule, as glyph contours are meant to be.
QPainterPath textOutline(const QString& text, const FontChoice& choice, int dpi);

// The contours of `path` that reach into `area`, the others left out: a
// contour changes the fill only inside its own bounds, so the fill within
// `area` stays as it was. Keeps files small when the screen's edge cuts most
// of a long text away.
QPainterPath contoursReaching(const QPainterPath& path, const QRectF& area);

} // namespace pismolot
