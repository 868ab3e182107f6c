#include "scan.h"

#include "numbers.h"

#include <algorithm>
#include <cassert>

namespace pismolot {

int twipsToPixelCount(float twips, float twipsPerPixel) {
    if (!(twipsPerPixel > 0.0f))
        return 0;
    return std::max(0, roundHalfEven<int>(double(twips) / double(twipsPerPixel)));
}

int rowsOf(float heightTwips, float tppy) {
    const float q = heightTwips / tppy;
    return q > 0 ? roundHalfEven<int>(q) : 0;
}

ScanPlan planScan(float widthTwips, float heightTwips, float tppx, float tppy,
                  float screenWidthTwips) {
    ScanPlan plan;
    plan.W = widthTwips > screenWidthTwips ? screenWidthTwips : widthTwips;
    plan.H = heightTwips;
    plan.q = plan.H / tppy;
    plan.step = 255.0f / plan.q;
    plan.rows = rowsOf(plan.H, tppy);
    // The picture is W twips wide: the columns come from the screen's own
    // twips per pixel, not a rounded one, or a fractional one (7.5 at 192 DPI)
    // would leave the picture's right edge unscanned.
    plan.cols = twipsToPixelCount(plan.W, tppx);
    return plan;
}

ScanReach scanReach(ConstRasterView scratch, ConstRasterView output, int cols, int rows) {
    return {std::min({cols, scratch.width - 1, output.width - 1}),
            std::min({rows, scratch.height - 1, output.height - 1})};
}

namespace {

// Branch-free so that the compiler turns it into vector selects: letters and
// background alternate too often for a branch to predict.
void paintRow(const std::uint32_t* __restrict src, std::uint32_t* __restrict dst, int lastX,
              std::uint32_t colour) {
    for (int x = 1; x <= lastX; ++x) {
        const std::uint32_t letter = 0u - std::uint32_t((src[x] & 0x00FFFFFFu) == 0);
        dst[x] = (colour & letter) | (dst[x] & ~letter);
    }
}

} // namespace

namespace {

// Whether two rows' spans [1, lastX] share memory.
[[maybe_unused]] bool rowsOverlap(const std::uint32_t* a, const std::uint32_t* b, int lastX) {
    const auto lo = [](const std::uint32_t* p) { return reinterpret_cast<std::uintptr_t>(p); };
    const std::uintptr_t bytes = std::uintptr_t(lastX + 1) * sizeof(std::uint32_t);
    return lo(a) < lo(b) + bytes && lo(b) < lo(a) + bytes;
}

} // namespace

void scanLetters(ConstRasterView scratch, RasterView output, const ScanPlan& plan, int style,
                 StyleRandom& random) {
    const ScanReach reach = scanReach(scratch, asConst(output), plan.cols, plan.rows);
    forEachRowLevel(plan, [&](int y, int level) {
        const std::uint32_t colour = styleColour(style, level, random).toArgb();
        if (y > reach.lastY || reach.lastX < 1)
            return;
        assert(!rowsOverlap(scratch.row(y), output.row(y), reach.lastX));
        paintRow(scratch.row(y), output.row(y), reach.lastX, colour);
    });
}

void clearUnwrittenAlpha(ConstRasterView scratch, ConstRasterView output, int cols, int rows,
                         RasterView picture) {
    const ScanReach reach = scanReach(scratch, output, cols, rows);
    for (int y = 0; y < picture.height; ++y) {
        std::uint32_t* __restrict row = picture.row(y);
        int x = 0;
        if (y >= 1 && y <= reach.lastY && reach.lastX >= 1) {
            const std::uint32_t* __restrict src = scratch.row(y);
            row[0] &= 0x00FFFFFFu;
            const int last = std::min(reach.lastX, picture.width - 1);
            // Branch-free, as in paintRow: keep the alpha of letters only.
            for (x = 1; x <= last; ++x) {
                const std::uint32_t letter = 0u - std::uint32_t((src[x] & 0x00FFFFFFu) == 0);
                row[x] &= 0x00FFFFFFu | (letter & 0xFF000000u);
            }
        }
        for (; x < picture.width; ++x)
            row[x] &= 0x00FFFFFFu;
    }
}

namespace {

// Whether `test` holds for any pixel, row by row: no early exit inside a
// row, which would keep the loop from being vectorised.
template <class Test> bool anyPixel(ConstRasterView raster, Test test) {
    for (int y = 0; y < raster.height; ++y) {
        const std::uint32_t* __restrict row = raster.row(y);
        std::uint32_t found = 0;
        for (int x = 0; x < raster.width; ++x)
            found |= std::uint32_t(test(row[x]));
        if (found)
            return true;
    }
    return false;
}

} // namespace

bool holdsLetterPixel(ConstRasterView raster) {
    return anyPixel(raster, isLetterPixel);
}

bool holdsColouredPixel(ConstRasterView raster) {
    // Neither 0x..000000 nor 0x..FFFFFF.
    return anyPixel(raster, [](std::uint32_t p) { return ((p + 1) & 0x00FFFFFFu) > 1; });
}

void scanLettersReference(ConstRasterView scratch, RasterView output, const ScanPlan& plan,
                          int style, StyleRandom& random) {
    forEachRowLevel(plan, [&](int y, int level) {
        const ColourValue colour = styleColour(style, level, random);
        for (int x = 1; x <= plan.cols; ++x) {
            const bool letter = scratch.contains(x, y) && isLetterPixel(scratch.row(y)[x]);
            if (letter && output.contains(x, y))
                output.row(y)[x] = colour.toArgb();
        }
    });
}

} // namespace pismolot
