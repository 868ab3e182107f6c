#pragma once

// Whether letters are cut, as the glyphs' boxes tell it without drawing:
// where a line's ink may lie at a size, whether it surely lies (or surely
// does not) in a region, and from that whether a size cuts letters at the
// screen's edge. What the boxes cannot tell is left to drawing.

#include "textline.h"

#include <QFont>
#include <QRawFont>
#include <QRect>
#include <QRectF>
#include <QSize>

#include <optional>
#include <vector>

class QPaintDevice;

namespace pismolot {

// Where a text puts ink, as its fonts tell it without drawing: every glyph's
// ink box at its place on the line, measured once at one size and placed
// again at smaller ones.
//
// Placing at another size asks each face for its glyphs' boxes and advances
// at that size (hinted as drawing hints them); what shaping added to an
// advance (kerning, marks' offsets) is scaled from the measured size and may
// then be a pixel off, once for each such glyph to the left. Faces whose
// boxes do not hold their ink make the geometry unusable: colour faces
// (their glyphs become letters only by how much they cover) and faces that
// Qt slants or emboldens itself.
class InkGeometry {
public:
    // A glyph's ink box, widened on every side to where its ink may lie.
    struct Box {
        QRectF outer;
        // Big enough that drawing it surely blackens pixels: whatever
        // region holds the whole box holds ink.
        bool inks = false;
    };
    struct Placed {
        std::vector<Box> boxes;
        QRectF underline; // where it may lie; empty without one
        qreal lineHeight = 0;
    };

    InkGeometry(const std::optional<GlyphLine>& line, const QFont& font,
                const QPaintDevice* device);

    bool usable() const { return usable_; }
    // The glyphs at `pixelsPerEm` (the measured size, or a smaller one).
    Placed placed(qreal pixelsPerEm) const;
    Placed placed() const { return placed(pixelsPerEm_); }

private:
    struct Glyph {
        int face = 0;
        quint32 index = 0;
        QPointF at;       // the glyph's origin, from the baseline's start
        qreal shaped = 0; // what shaping added to its advance
    };

    bool usable_ = false;
    bool underline_ = false;
    qreal pixelsPerEm_ = 0;
    qreal ascent_ = 0;
    std::vector<QRawFont> faces_; // the primary face first
    std::vector<Glyph> glyphs_;   // from left to right
};

enum class Ink { None, Some, Unknown };

// Whether the placed text has ink in `region`, as far as the geometry tells:
// Some when a glyph that surely inks lies wholly inside, None when nothing
// can reach it.
Ink inkIn(const InkGeometry::Placed& text, const QRectF& region);

// What the glyphs' boxes tell of `text` on `screen` at one size. Cut: a
// letter surely lies where the measure looks beyond the screen. Kept: nothing
// can reach below the screen and a letter surely lies on the kept surface;
// it then fits unless ink lies in `doubt`, the columns right of the screen
// that may hold some (empty when none may).
struct Told {
    bool cut = false;
    bool kept = false;
    QRect doubt;
};

Told tellByGeometry(const InkGeometry::Placed& text, QSize screen);

} // namespace pismolot
