#include "cutletters.h"

#include "fonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPaintDevice>

#include <algorithm>
#include <cmath>

namespace pismolot {

namespace {

// Faces whose ink their glyph boxes may not hold.
bool trustedFace(const QRawFont& face) {
    // Qt's stand-in for characters no font has (a box engine) has no font
    // file behind it, and no family name to ask for.
    if (!face.isValid() || face.fontTable("name").isEmpty() || colourFace(face))
        return false;
    const QString family = face.familyName();
    const QString style = face.styleName();
    // QRawFont names the face drawn, but the weight and slant asked for; Qt
    // emboldens a face lighter than asked at some sizes and not at others.
    const bool slanted =
        face.style() != QFont::StyleNormal && !QFontDatabase::italic(family, style);
    const bool emboldened = face.weight() > QFontDatabase::weight(family, style);
    return !slanted && !emboldened;
}

} // namespace

InkGeometry::InkGeometry(const std::optional<GlyphLine>& line, const QFont& font,
                         const QPaintDevice* device) {
    if (!line)
        return;
    const QRawFont primary = QRawFont::fromFont(font);
    pixelsPerEm_ = primary.pixelSize();
    if (!primary.isValid() ||
        pixelsPerEm_ != drawnPixelsPerEm(font.pointSizeF(), device->logicalDpiY()))
        return;
    faces_.push_back(primary);
    ascent_ = QFontMetricsF(font, device).ascent();
    underline_ = font.underline();
    for (const QGlyphRun& run : line->runs) {
        const QRawFont face = run.rawFont();
        if (!trustedFace(face) || face.pixelSize() != pixelsPerEm_)
            return;
        int f = 0;
        while (f < int(faces_.size()) && faces_[std::size_t(f)] != face)
            ++f;
        if (f == int(faces_.size()))
            faces_.push_back(face);
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size(); ++i)
            glyphs_.push_back({f, indexes[i], positions[i] - QPointF(0, line->ascent), 0});
    }
    std::stable_sort(glyphs_.begin(), glyphs_.end(),
                     [](const Glyph& a, const Glyph& b) { return a.at.x() < b.at.x(); });
    for (std::size_t k = 0; k < glyphs_.size(); ++k) {
        Glyph& g = glyphs_[k];
        QPointF advance;
        faces_[std::size_t(g.face)].advancesForGlyphIndexes(&g.index, &advance, 1);
        const qreal next = k + 1 < glyphs_.size() ? glyphs_[k + 1].at.x() : g.at.x() + advance.x();
        g.shaped = next - g.at.x() - advance.x();
    }
    usable_ = true;
}

InkGeometry::Placed InkGeometry::placed(qreal pixelsPerEm) const {
    Placed result;
    if (!usable_)
        return result;
    const bool same = pixelsPerEm == pixelsPerEm_;
    const qreal scale = pixelsPerEm / pixelsPerEm_;
    std::vector<QRawFont> faces = faces_;
    if (!same)
        for (QRawFont& face : faces)
            face.setPixelSize(pixelsPerEm);
    // The baseline and the boxes' heights may round a pixel apart.
    const qreal ascent = same ? ascent_ : faces[0].ascent();
    const qreal slack = 2 + pixelsPerEm / 128 + (same ? 0 : 1);
    result.lineHeight = faces[0].ascent() + faces[0].descent();
    qreal x = glyphs_.empty() ? 0 : glyphs_.front().at.x() * scale;
    qreal drift = same ? 0 : 1; // how far x may be off
    qreal end = 0;
    for (const Glyph& g : glyphs_) {
        const QRawFont& face = faces[std::size_t(g.face)];
        const QPointF at = same ? g.at : QPointF(x, g.at.y() * scale);
        const qreal lift = same || g.at.y() == 0 ? 0 : 1;
        const QRectF box = face.boundingRect(g.index);
        if (!box.isEmpty()) {
            const QRectF outer =
                box.translated(at + QPointF(0, ascent))
                    .adjusted(-slack - drift, -slack - lift, slack + drift, slack + lift);
            const bool inks = pixelsPerEm >= 12 && box.width() >= 4 && box.height() >= 4;
            result.boxes.push_back({outer, inks});
        }
        QPointF advance;
        face.advancesForGlyphIndexes(&g.index, &advance, 1);
        end = std::max(end, at.x() + advance.x() + drift);
        if (!same) {
            x += advance.x() + g.shaped * scale;
            drift += g.shaped != 0 ? 1 : 0;
        }
    }
    if (underline_) {
        // Each face draws its own under the glyphs it gives.
        for (const QRawFont& face : faces) {
            const qreal y = ascent + face.underlinePosition();
            const qreal thick = std::max<qreal>(1, face.lineThickness());
            result.underline |=
                QRectF(-slack, y - thick - slack, end + 2 * slack, 2 * thick + 2 * slack + 1);
        }
    }
    return result;
}

Ink inkIn(const InkGeometry::Placed& text, const QRectF& region) {
    bool reaches = text.underline.intersects(region);
    for (const InkGeometry::Box& box : text.boxes) {
        if (!box.outer.intersects(region))
            continue;
        if (box.inks && region.contains(box.outer))
            return Ink::Some;
        reaches = true;
    }
    return reaches ? Ink::Unknown : Ink::None;
}

Told tellByGeometry(const InkGeometry::Placed& text, QSize screen) {
    const int right = std::clamp(screen.width(), 1, MaxInkWidth);
    const qreal rows = std::max(1, screen.height());
    const qreal lineBottom = text.lineHeight - 1;
    constexpr qreal Far = 1e9;
    Told told;
    told.cut =
        inkIn(text, QRectF(right, 0, MaxInkWidth - right, lineBottom)) == Ink::Some ||
        (lineBottom > rows && inkIn(text, QRectF(0, rows, right, lineBottom - rows)) == Ink::Some);
    told.kept = !told.cut && inkIn(text, QRectF(-Far, rows, 2 * Far, 2 * Far)) == Ink::None &&
                inkIn(text, QRectF(0, 0, right, std::min(rows, lineBottom))) == Ink::Some;
    if (told.kept) {
        QRectF reach = text.underline;
        for (const InkGeometry::Box& box : text.boxes)
            reach |= box.outer;
        const int end = int(std::min<qreal>(MaxInkWidth, std::ceil(reach.right()) + 1));
        if (end > right)
            told.doubt = QRect(right, 0, end - right, int(std::ceil(reach.bottom())) + 1);
    }
    return told;
}

} // namespace pismolot
