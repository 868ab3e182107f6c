#pragma once

// The largest size at which a line of text fits the screen, no letter cut at
// its edges: told by the glyphs' boxes where they can, drawn where not.

#include "job.h"

#include <QSize>
#include <QString>

namespace pismolot {

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

} // namespace pismolot
