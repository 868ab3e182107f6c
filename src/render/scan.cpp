#include "scan.h"

#include "numbers.h"

#include <algorithm>

namespace pismolot {

ScanPlan planScan(float widthTwips, float heightTwips, float tppx, float tppy,
                  float screenWidthTwips) {
    ScanPlan plan;
    plan.W = widthTwips > screenWidthTwips ? screenWidthTwips : widthTwips;
    plan.H = heightTwips;
    plan.tppxI = roundHalfEven<int>(tppx);
    plan.q = plan.H / tppy;
    plan.step = 255.0f / plan.q;
    plan.rows = plan.q > 0 ? roundHalfEven<int>(plan.q) : 0;
    // A screen finer than half a twip per pixel would divide by zero.
    const double divisor = plan.tppxI > 0 ? double(plan.tppxI) : 1.0;
    plan.cols = std::max(0, roundHalfEven<int>(double(plan.W) / divisor));
    return plan;
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

void scanLetters(ConstRasterView scratch, RasterView output, const ScanPlan& plan, int style,
                 StyleRandom& random) {
    // Reads outside the scratch surface are never letters and writes outside
    // the output are dropped, so only the overlap of both needs visiting.
    const int lastX = std::min({plan.cols, scratch.width - 1, output.width - 1});
    const int lastY = std::min({plan.rows, scratch.height - 1, output.height - 1});
    forEachRowLevel(plan, [&](int y, int level) {
        const std::uint32_t colour = styleColour(style, level, random).toArgb();
        if (y > lastY || lastX < 1)
            return;
        paintRow(scratch.row(y), output.row(y), lastX, colour);
    });
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
