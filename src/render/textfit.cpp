#include "textfit.h"

#include "cutletters.h"
#include "fonts.h"
#include "scan.h"
#include "surfaces.h"
#include "textmeasure.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <optional>

namespace pismolot {

namespace {

// Whether any pixel of `image` is a letter pixel.
bool holdsInk(const QImage& image) {
    return holdsLetterPixel(rasterOf(image));
}

// Whether `text` fits `screen` at `points` as the measure and the kept
// surface tell it: no ink beyond the screen, and some on it.
bool fitsByDrawing(const QString& text, const FontChoice& choice, int dpi, QSize screen) {
    const MeasuredText m = measureDrawnText(text, choice, dpi, screen, true);
    return !m.inkBeyondScreen && holdsInk(m.surface);
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

} // namespace pismolot
