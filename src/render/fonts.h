#pragma once

// Fonts: the QFont that a FontChoice asks for (no antialiasing, so glyph
// pixels come out exactly black), the sizes the font engine can draw, and
// the families offered to users. Whether the platform can draw a family
// lives in the fontfaces_*.cpp file that the build picks.

#include "job.h"

#include <QFont>
#include <QString>
#include <QStringList>

namespace pismolot {

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

// The pixels per em that Qt draws `points` at: rounded to whole pixels.
qreal drawnPixelsPerEm(qreal points, int dpi);

// The QFont of a FontChoice: point size, bold, italic, underline, no
// antialiasing. An unknown family is replaced by the platform's substitute.
QFont makeFont(const FontChoice& choice);

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

} // namespace pismolot
