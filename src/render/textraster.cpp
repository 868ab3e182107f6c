#include "textraster.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace pismolot {

namespace {

int dotsPerMeter(int dpi) {
    return int(std::lround(dpi / 0.0254));
}

// The paint device metrics that fonts are scaled by.
QImage dpiProbe(int dpi) {
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(dotsPerMeter(dpi));
    probe.setDotsPerMeterY(dotsPerMeter(dpi));
    return probe;
}

// The glyphs of one line of text as QPainter lays it out when it draws the
// text at a point: left to right, unwrapped. Each run's positions are from
// the line's start, `ascent` above their baseline.
struct GlyphLine {
    QList<QGlyphRun> runs;
    qreal ascent = 0;
};

std::optional<GlyphLine> glyphLine(const QString& text, const QFont& font,
                                   const QPaintDevice* device) {
    // Tabs and breaks are laid out by rules of their own.
    if (std::any_of(text.begin(), text.end(), [](QChar c) {
            return c.unicode() < 0x20 || c == QChar::LineSeparator ||
                   c == QChar::ParagraphSeparator || c == QChar::ObjectReplacementCharacter;
        }))
        return std::nullopt;
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(Qt::LeftToRight);
    QTextLayout layout(text, font, const_cast<QPaintDevice*>(device));
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setLineWidth(1e6);
    layout.endLayout();
    if (!line.isValid())
        return std::nullopt;
    return GlyphLine{line.glyphRuns(), line.ascent()};
}

// Whether a face has glyphs in colours of their own (emoji).
bool colourFace(const QRawFont& face) {
    static constexpr std::array<const char*, 4> colourTables = {"CBLC", "COLR", "sbix", "SVG "};
    return std::any_of(colourTables.begin(), colourTables.end(),
                       [&](const char* table) { return !face.fontTable(table).isEmpty(); });
}

// Surfaces of at least this many pixels are worth laying the text out for,
// to know that they need no look for colour glyphs.
constexpr qsizetype BigSurface = qsizetype(1) << 16;

bool bigSurface(QSize size) {
    return qsizetype(size.width()) * size.height() >= BigSurface;
}

// Whether every glyph of a laid out line is drawn in one colour.
bool monochrome(const std::optional<GlyphLine>& line) {
    return line && std::none_of(line->runs.begin(), line->runs.end(),
                                [](const QGlyphRun& run) { return colourFace(run.rawFont()); });
}

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
               int left = 0, bool monochrome = false) {
    const auto draw = [&](QImage& target) {
        QPainter painter(&target);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(QFont(makeFont(choice), &target));
        painter.setPen(Qt::black);
        painter.drawText(QPointF(-left, baseline), text);
    };
    draw(surface);
    if (monochrome || !holdsColouredPixel(rasterOf(std::as_const(surface))))
        return;
    QImage layer(surface.size(), QImage::Format_ARGB32_Premultiplied);
    layer.setDotsPerMeterX(surface.dotsPerMeterX());
    layer.setDotsPerMeterY(surface.dotsPerMeterY());
    layer.fill(Qt::transparent);
    draw(layer);
    for (int y = 0; y < surface.height(); ++y) {
        const auto* cover = reinterpret_cast<const std::uint32_t*>(layer.constScanLine(y));
        auto* row = reinterpret_cast<std::uint32_t*>(surface.scanLine(y));
        for (int x = 0; x < surface.width(); ++x)
            row[x] = cover[x] >= 0x80000000u ? 0xFF000000u : 0xFFFFFFFFu;
    }
}

// Whether any pixel of `image` is a letter pixel.
bool holdsInk(const QImage& image) {
    return holdsLetterPixel(rasterOf(image));
}

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

// The pixels per em that Qt draws `points` at: rounded to whole pixels.
qreal drawnPixelsPerEm(qreal points, int dpi) {
    return qreal(qRound(std::floor((points * dpi * 100 + 50) / 72) / 100));
}

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

enum class Ink { None, Some, Unknown };

// Whether the placed text has ink in `region`, as far as the geometry tells:
// Some when a glyph that surely inks lies wholly inside, None when nothing
// can reach it.
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

enum class Memory { Plain, HugePages };

QImage allocate(QSize size, int dpi, QRgb fill, Memory memory);

// The most that one strip or chunk of a measuring drawing takes.
constexpr qsizetype StripBytes = qsizetype(32) << 20;

// Whether drawing `text` (its baseline `ascent` rows down) puts ink in
// columns `from` up to `to` of rows 0..height: in chunks that start narrow,
// since ink mostly lies right at the edge, and double up to the strips' size.
//
// Each chunk is drawn with a lead of up to `lead` columns on its left, which
// are not looked at: Qt leaves out glyphs whose upright boxes lie left of
// the surface, and so lost the slant that it adds to a face itself.
bool inkInColumns(const QString& text, const FontChoice& choice, int dpi, qreal ascent, int from,
                  int to, int height, int lead, bool monochrome) {
    const qsizetype widest = std::max<qsizetype>(64, StripBytes / (qsizetype(height) * 4));
    qsizetype chunk = 64;
    for (int left = from; left < to; left += int(chunk), chunk = std::min(widest, chunk * 2)) {
        const int before = std::min(left, lead);
        const int columns = int(std::min<qsizetype>(chunk, to - left));
        QImage strip = allocate(QSize(before + columns, height), dpi, 0xFFFFFFFF, Memory::Plain);
        paintText(strip, text, choice, ascent, left - before, monochrome);
        ConstRasterView looked = rasterOf(std::as_const(strip));
        looked.pixels += before;
        looked.width = columns;
        if (holdsLetterPixel(looked))
            return true;
    }
    return false;
}

} // namespace

bool fontSizeDrawable(float points, int dpi) {
    if (!(points > 0.0f && points <= MaxFontPoints) || dpi <= 0)
        return false;
    return double(points) * dpi / 72.0 <= double(MaxPixelsPerEm);
}

QFont makeFont(const FontChoice& choice) {
    QFont font(platformDrawsFamily(choice.name) ? choice.name : defaultSansFamily());
    if (choice.size > 0)
        font.setPointSizeF(choice.size);
    font.setBold(choice.bold);
    font.setItalic(choice.italic);
    font.setUnderline(choice.underline);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setKerning(true);
    return font;
}

// How the text is measured. Fonts' metrics do not hold their ink (synthetic
// italic and bold reach past the advance, some glyphs below the descent), and
// Qt's tight bounding rectangle of a text without ink is a placeholder at
// (100000, 100000). So the text is drawn, exactly as the scratch surface
// draws it, and its black pixels are looked for outside the label's
// rectangle (advance x line height); only ink right of or below that can
// change the extent.
//
// The drawn area is the label's rectangle joined with Qt's own ink estimate
// and the underline's place when it has them, plus a margin (half a line to
// the right for the slant of synthetic italic, a little below: the ink estimate
// already holds the glyphs' depth), at
// most the screen's width.
// Ink touching the area's far edge makes it grow and draw again.
//
// Ink below the screen's height is found in the strips below the first one,
// whose rows are scanned whole. Ink beyond the screen's width is looked for
// only when the drawn area reached that width: the glyphs' boxes tell it
// where they can (a letter wholly beyond the edge, or none near it), and
// otherwise chunks of columns right of it are drawn, the first chunk that
// holds ink ending the search.
//
// Cost and memory: a picture that fits the screen is one drawing on one
// surface, and the headless renderer keeps that surface as its scratch
// surface, so measuring costs no second drawing. Taller areas (huge sizes,
// up to MaxPixelsPerEm) are drawn in strips of bounded size: the first
// strip is the screen's height; further strips are moved up by whole pixels,
// never so far that the baseline leaves the strip's top (Qt's positions
// round differently at negative coordinates), so the last strip holds the
// descent and the margin whole. Memory stays within about the screen's width
// times the larger of the screen's height and the descent.
MeasuredText measureDrawnText(const QString& text, const FontChoice& choice, int dpi, QSize screen,
                              bool keepSurface) {
    const QImage probe = dpiProbe(dpi);
    const QFont font(makeFont(choice), &probe);
    const QFontMetricsF fm(font, &probe);
    const qreal ascent = fm.ascent();
    const qreal lineHeight = fm.height();
    const qreal advance = text.isEmpty() ? 0.0 : fm.horizontalAdvance(text);
    // Metrics that overflowed (a size beyond the engine) draw nothing.
    if (!(ascent >= 0 && lineHeight >= 0 && advance >= 0 && lineHeight < 1e6))
        return {QSize(0, 0), false, QImage()};
    // Widths beyond the screen are clamped by the scan anyway.
    const int labelW = int(std::min(std::ceil(advance), 1e9));
    const int labelH = int(std::ceil(lineHeight));
    MeasuredText result{QSize(labelW, labelH), false, QImage()};
    if (text.isEmpty())
        return result;

    const int maxWidth = std::clamp(screen.width(), 1, MaxInkWidth);
    int hintRight = labelW;
    int hintBottom = labelH;
    const QRectF tight = fm.tightBoundingRect(text).translated(0, ascent);
    if (tight.width() > 0 && tight.height() > 0 && tight.right() < 1e6 && tight.bottom() < 1e6) {
        hintRight = std::max(hintRight, int(std::ceil(tight.right())));
        hintBottom = std::max(hintBottom, std::min(int(std::ceil(tight.bottom())), 5 * labelH));
    }
    if (choice.underline) {
        // Drawn apart from the glyphs, so it may lie beyond a gap below them.
        const qreal line = ascent + fm.underlinePos() + fm.lineWidth();
        hintBottom = std::max(hintBottom, std::min(int(std::ceil(line)) + 1, 5 * labelH + 8));
    }
    const int marginX = labelH / 2 + 4;
    const int marginY = labelH / 32 + 4;
    int width = std::min(maxWidth, hintRight + marginX);
    int height = hintBottom + marginY;
    const int baseRow = std::max(0, int(std::floor(ascent)));
    const int firstRows = std::max(1, screen.height());
    // The glyphs as laid out, once, when a big surface or the cut check asks:
    // whether they are all in one colour spares looking at every pixel.
    std::optional<GlyphLine> glyphs;
    bool laidOut = false;
    const auto line = [&]() -> const std::optional<GlyphLine>& {
        if (!laidOut)
            glyphs = glyphLine(text, font, &probe);
        laidOut = true;
        return glyphs;
    };
    const auto oneColour = [&](QSize area) { return bigSurface(area) && monochrome(line()); };

    int right = -1, bottom = -1;
    bool below = false; // ink in a row below the screen
    // Scans rows of a strip whose top row is `top`: inside the label's
    // rectangle only the columns right of it, below it (or below the screen)
    // every column.
    const auto scanStrip = [&](const QImage& strip, int top) {
        for (int y = 0; y < strip.height(); ++y) {
            const int row = top + y;
            const int from = row < labelH && row < firstRows ? labelW : 0;
            const auto* pixels = reinterpret_cast<const std::uint32_t*>(strip.constScanLine(y));
            for (int x = strip.width() - 1; x >= from; --x) {
                if (isLetterPixel(pixels[x])) {
                    right = std::max(right, x);
                    bottom = row;
                    below = below || row >= firstRows;
                    break;
                }
            }
        }
    };
    for (int round = 0;; ++round) {
        right = bottom = -1;
        below = false;
        const int first = std::min(height, firstRows);
        QImage strip = allocate(QSize(width, first), dpi, 0xFFFFFFFF,
                                keepSurface ? Memory::HugePages : Memory::Plain);
        paintText(strip, text, choice, ascent, 0, oneColour(strip.size()));
        scanStrip(strip, 0);
        if (keepSurface)
            result.surface = strip;
        int covered = first;
        const int stripRows = int(std::max<qsizetype>(1, StripBytes / (qsizetype(width) * 4)));
        while (covered < height) {
            const int top = std::min(covered, baseRow);
            const int end = top < baseRow ? std::min({height, baseRow, top + stripRows}) : height;
            strip = allocate(QSize(width, end - top), dpi, 0xFFFFFFFF, Memory::Plain);
            paintText(strip, text, choice, ascent - top, 0, oneColour(strip.size()));
            scanStrip(strip, top);
            covered = end;
        }
        const bool growRight = right == width - 1 && width < maxWidth;
        const bool growDown = bottom == height - 1;
        if ((!growRight && !growDown) || round == 6)
            break;
        if (growRight)
            width = std::min(maxWidth, width + std::max(marginX, width / 2));
        if (growDown)
            height += std::max(marginY, height / 2);
    }
    result.extent = QSize(std::max(labelW, right + 1), std::max(labelH, bottom + 1));
    const int reach =
        int(std::min<qint64>(MaxInkWidth, qint64(std::max(hintRight, width)) + marginX));
    bool beyondRight = false;
    if (!below && width == maxWidth && reach > maxWidth) {
        // The glyphs' boxes mostly tell; only where they cannot is it drawn.
        const InkGeometry geometry(line(), font, &probe);
        const Ink ink = geometry.usable() ? inkIn(geometry.placed(),
                                                  QRectF(maxWidth, 0, reach - maxWidth, height))
                                          : Ink::Unknown;
        beyondRight = ink == Ink::Some || (ink == Ink::Unknown &&
                                           inkInColumns(text, choice, dpi, ascent, maxWidth, reach,
                                                        height, marginX, monochrome(line())));
    }
    result.inkBeyondScreen = below || beyondRight;
    return result;
}

namespace {

// Whether `text` fits `screen` at `points` as the measure and the kept
// surface tell it: no ink beyond the screen, and some on it.
bool fitsByDrawing(const QString& text, const FontChoice& choice, int dpi, QSize screen) {
    const MeasuredText m = measureDrawnText(text, choice, dpi, screen, true);
    return !m.inkBeyondScreen && holdsInk(m.surface);
}

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

// The largest whole size up to `top` that `fits`, by bisection.
template <class Fits> int largestFitting(int top, Fits fits) {
    if (top >= 1 && fits(top))
        return top;
    int fitting = 0, tooLarge = std::max(top, 1);
    while (tooLarge - fitting > 1) {
        const int middle = fitting + (tooLarge - fitting) / 2;
        (fits(middle) ? fitting : tooLarge) = middle;
    }
    return fitting;
}

int topSize(const FontChoice& choice) {
    return int(std::floor(std::min(choice.size, MaxFontPoints)));
}

} // namespace

int largestFittingSize(const QString& text, const FontChoice& choice, int dpi, QSize screen) {
    const int top = topSize(choice);
    // Measured once, at the largest size; placed at each size tried.
    const QImage probe = dpiProbe(dpi);
    std::optional<InkGeometry> geometry;
    if (top >= 1 && fontSizeDrawable(float(top), dpi)) {
        FontChoice font = choice;
        font.size = float(top);
        const QFont topFont(makeFont(font), &probe);
        geometry.emplace(glyphLine(text, topFont, &probe), topFont, &probe);
    }
    // A size too small to draw any letter keeps none either: it does not fit.
    return largestFitting(top, [&](int points) {
        FontChoice font = choice;
        font.size = float(points);
        if (!fontSizeDrawable(font.size, dpi))
            return false;
        // Below 16 pixels per em fonts may be hinted by other rules, and
        // drawing costs little.
        const qreal em = drawnPixelsPerEm(points, dpi);
        if (geometry && geometry->usable() && em >= 16) {
            const Told told = tellByGeometry(geometry->placed(em), screen);
            if (told.cut || (told.kept && told.doubt.isEmpty()))
                return !told.cut;
            if (told.kept) {
                // Only the columns in doubt are drawn.
                const QFontMetricsF fm(QFont(makeFont(font), &probe), &probe);
                const int lead = int(std::ceil(fm.height())) / 2 + 4;
                // A usable geometry has no colour faces.
                return !inkInColumns(text, font, dpi, fm.ascent(), told.doubt.left(),
                                     told.doubt.right() + 1, told.doubt.height(), lead, true);
            }
        }
        return fitsByDrawing(text, font, dpi, screen);
    });
}

int largestFittingSizeByDrawing(const QString& text, const FontChoice& choice, int dpi,
                                QSize screen) {
    return largestFitting(topSize(choice), [&](int points) {
        FontChoice font = choice;
        font.size = float(points);
        return fontSizeDrawable(font.size, dpi) && fitsByDrawing(text, font, dpi, screen);
    });
}

QSize measureText(const QString& text, const FontChoice& choice, int dpi, QSize screen) {
    return measureDrawnText(text, choice, dpi, screen, false).extent;
}

void drawText(QImage& surface, const QString& text, const FontChoice& choice) {
    const QFont font(makeFont(choice), &surface);
    const QFontMetricsF fm(font, &surface);
    paintText(surface, text, choice, fm.ascent(), 0,
              bigSurface(surface.size()) && monochrome(glyphLine(text, font, &surface)));
}

namespace {

#if defined(__linux__)
// Huge pages for the renderer's big one-shot surfaces: a 1920 x 1080 surface
// is 2,025 small pages, each a page fault on first touch, or 4 huge ones.
constexpr std::size_t HugePage = std::size_t(2) << 20;

void freeSurface(void* memory) {
    std::free(memory);
}

QImage allocateHuge(QSize size) {
    const qsizetype bytesPerLine = qsizetype(size.width()) * 4;
    const std::size_t bytes = std::size_t(bytesPerLine) * std::size_t(size.height());
    if (bytes < HugePage)
        return QImage(size, QImage::Format_RGB32);
    const std::size_t rounded = (bytes + HugePage - 1) / HugePage * HugePage;
    void* memory = std::aligned_alloc(HugePage, rounded);
    if (!memory)
        return QImage(size, QImage::Format_RGB32);
#ifdef MADV_HUGEPAGE
    madvise(memory, rounded, MADV_HUGEPAGE);
#endif
    return QImage(static_cast<uchar*>(memory), size.width(), size.height(), bytesPerLine,
                  QImage::Format_RGB32, freeSurface, memory);
}
#endif

QImage allocate(QSize size, int dpi, QRgb fill, Memory memory) {
    size = size.expandedTo(QSize(0, 0));
#if defined(__linux__)
    QImage image =
        memory == Memory::HugePages ? allocateHuge(size) : QImage(size, QImage::Format_RGB32);
#else
    (void)memory;
    QImage image(size, QImage::Format_RGB32);
#endif
    image.setDotsPerMeterX(dotsPerMeter(dpi));
    image.setDotsPerMeterY(dotsPerMeter(dpi));
    image.fill(fill);
    return image;
}

} // namespace

QImage makeSurface(QSize size, int dpi, QRgb fill) {
    return allocate(size, dpi, fill, Memory::Plain);
}

QImage makeRendererSurface(QSize size, int dpi, QRgb fill) {
    return allocate(size, dpi, fill, Memory::HugePages);
}

namespace {

// Qt names the maker in brackets when two ship the same family.
QString withoutFoundry(QString name) {
    if (name.endsWith(QLatin1Char(']'))) {
        const qsizetype open = name.lastIndexOf(QLatin1Char('['));
        if (open > 0)
            name.truncate(open);
    }
    return name.trimmed();
}

} // namespace

QStringList familyList(const QStringList& raw) {
    // fontconfig's generic names, which Qt lists as if they were fonts.
    static const std::array<QLatin1String, 3> aliases = {
        QLatin1String("Sans Serif"), QLatin1String("Serif"), QLatin1String("Monospace")};
    QStringList families;
    for (const QString& rawName : raw) {
        const QString name = withoutFoundry(rawName);
        const bool alias = std::any_of(aliases.begin(), aliases.end(), [&](QLatin1String a) {
            return name.compare(a, Qt::CaseInsensitive) == 0;
        });
        if (!name.isEmpty() && !alias)
            families << name;
    }
    std::sort(families.begin(), families.end(), [](const QString& a, const QString& b) {
        const int byCase = QString::compare(a, b, Qt::CaseInsensitive);
        return byCase != 0 ? byCase < 0 : a < b;
    });
    families.erase(std::unique(families.begin(), families.end()), families.end());
    return families;
}

QStringList sortedFontFamilies() {
    QStringList families = familyList(QFontDatabase::families());
    families.removeIf([](const QString& family) { return !platformDrawsFamily(family); });
    return families;
}

QString resolvedFamily(const QString& requested) {
    return withoutFoundry(QFontInfo(makeFont(FontChoice{requested, 24})).family());
}

QString defaultSansFamily() {
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setFamily(QStringLiteral("sans-serif"));
    return QFontInfo(font).family();
}

RasterView rasterOf(QImage& image) {
    Q_ASSERT(image.format() == QImage::Format_RGB32 || image.isNull());
    if (image.isNull())
        return {};
    return {reinterpret_cast<std::uint32_t*>(image.bits()),
            std::ptrdiff_t(image.bytesPerLine() / 4), image.width(), image.height()};
}

ConstRasterView rasterOf(const QImage& image) {
    if (image.isNull())
        return {};
    return {reinterpret_cast<const std::uint32_t*>(image.constBits()),
            std::ptrdiff_t(image.bytesPerLine() / 4), image.width(), image.height()};
}

} // namespace pismolot
