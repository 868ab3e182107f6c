#include "textmeasure.h"

#include "cutletters.h"
#include "fonts.h"
#include "scan.h"
#include "surfaces.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

namespace pismolot {

namespace {

// The most that one strip or chunk of a measuring drawing takes.
constexpr qsizetype StripBytes = qsizetype(32) << 20;

} // namespace

bool inkInColumns(const QString& text, const FontChoice& choice, int dpi, qreal ascent, int from,
                  int to, int height, int lead, bool monochrome) {
    const qsizetype widest = std::max<qsizetype>(64, StripBytes / (qsizetype(height) * 4));
    qsizetype chunk = 64;
    for (int left = from; left < to; left += int(chunk), chunk = std::min(widest, chunk * 2)) {
        const int before = std::min(left, lead);
        const int columns = int(std::min<qsizetype>(chunk, to - left));
        QImage strip = makeSurface(QSize(before + columns, height), dpi);
        paintText(strip, text, choice, ascent, left - before, monochrome);
        ConstRasterView looked = rasterOf(std::as_const(strip));
        looked.pixels += before;
        looked.width = columns;
        if (holdsLetterPixel(looked))
            return true;
    }
    return false;
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
        QImage strip = keepSurface ? makeRendererSurface(QSize(width, first), dpi)
                                   : makeSurface(QSize(width, first), dpi);
        paintText(strip, text, choice, ascent, 0, oneColour(strip.size()));
        scanStrip(strip, 0);
        if (keepSurface)
            result.surface = strip;
        int covered = first;
        const int stripRows = int(std::max<qsizetype>(1, StripBytes / (qsizetype(width) * 4)));
        while (covered < height) {
            const int top = std::min(covered, baseRow);
            const int end = top < baseRow ? std::min({height, baseRow, top + stripRows}) : height;
            strip = makeSurface(QSize(width, end - top), dpi);
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

QSize measureText(const QString& text, const FontChoice& choice, int dpi, QSize screen) {
    return measureDrawnText(text, choice, dpi, screen, false).extent;
}

} // namespace pismolot
