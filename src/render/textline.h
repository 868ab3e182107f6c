#pragma once

// Drawing one line of text: the glyphs as Qt lays them out, and the one way
// they are put on a scratch surface, in black without smoothing, so that
// every letter pixel is exactly black. Outlines of the same glyph runs draw
// the same letters as paths.

#include "job.h"

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QList>
#include <QRawFont>
#include <QSize>
#include <QString>

#include <optional>

class QPaintDevice;

namespace pismolot {

// Ink further right than this cannot be drawn by Qt's rasteriser (its
// coordinates are 16.16 fixed point), so no measurement looks beyond it.
inline constexpr int MaxInkWidth = 32767;

// The glyphs of one line of text as QPainter lays it out when it draws the
// text at a point: left to right, unwrapped. Each run's positions are from
// the line's start, `ascent` above their baseline.
struct GlyphLine {
    QList<QGlyphRun> runs;
    qreal ascent = 0;
};

// The glyph runs of `text` in `font` on `device` (a font made for the device,
// as drawText makes it: QFont(makeFont(choice), &surface)). None for text
// with tabs, breaks or control characters, which QPainter lays out by rules
// of their own, or that cannot be laid out.
std::optional<GlyphLine> glyphLine(const QString& text, const QFont& font,
                                   const QPaintDevice* device);

// Whether a face has glyphs in colours of their own (emoji).
bool colourFace(const QRawFont& face);

// Whether a surface has enough pixels (64 Ki) to be worth laying the text out
// for, to know that it needs no look for colour glyphs.
bool bigSurface(QSize size);

// Whether every glyph of a laid out line is drawn in one colour.
bool monochrome(const std::optional<GlyphLine>& line);

// The one way text is put on a surface: black, no smoothing, the baseline
// `baseline` pixels below the surface's top row, the text's origin `left`
// pixels left of its first column. Moving the text left by whole pixels
// keeps every pixel where it was (unlike moving it up past its baseline).
//
// Glyphs from colour fonts (emoji) come in their own colours, which are never
// exactly black. Monochrome glyphs drawn without smoothing leave only black
// and the surface's white, so any other colour tells of a colour glyph; only
// then is the text drawn again, on a transparent layer, and every pixel that
// it covers at least half becomes black: a letter, in one colour, that the
// scan recolours. The surface is white before the text is drawn. When the
// text's faces are known to be `monochrome`, big surfaces skip the look.
void paintText(QImage& surface, const QString& text, const FontChoice& choice, qreal baseline,
               int left = 0, bool monochrome = false);

// Draws `text` in black on `surface` with the top-left corner of its
// character cell at (0, 0), transparent background. The font is scaled by the
// surface's own DPI (QImage::dotsPerMeterX).
void drawText(QImage& surface, const QString& text, const FontChoice& choice);

} // namespace pismolot
