#pragma once

#include "raster.h"
#include "styles.h"

namespace pismolot {

// The geometry of one render: how the measured text maps to pixel rows and
// columns. Twips are 1/1440 inch.
struct ScanPlan {
    float W = 0;    // text width in twips, clamped to the screen width
    float H = 0;    // text height in twips, never clamped
    float q = 0;    // H / tppy, text height in pixels
    float step = 0; // 255 / q, the row level increment
    int rows = 0;   // q rounded half to even
    int cols = 0;   // W / tppxI in double precision, rounded half to even
    int tppxI = 0;  // twips per pixel horizontally, rounded half to even
};

ScanPlan planScan(float widthTwips, float heightTwips, float tppx, float tppy,
                  float screenWidthTwips);

// Row levels 1..rows of a plan, by the single-precision running sum of step,
// floored and clamped to 0..255. levels[0] belongs to pixel row 1.
template <class Out> void forEachRowLevel(const ScanPlan& plan, Out&& out) {
    float acc = 0;
    for (int y = 1; y <= plan.rows; ++y) {
        acc += plan.step;
        int level = acc >= 255.0f ? 255 : acc <= 0.0f ? 0 : int(acc);
        out(y, level);
    }
}

// Paints every exactly black pixel of `scratch` in rows 1..rows and columns
// 1..cols onto `output` at the same place, in its row's style colour.
// Scan starts at 1: row 0 and column 0 keep the background. The row colour is
// computed for every row, so "Losowe kreski" draws 3 numbers per row.
void scanLetters(ConstRasterView scratch, RasterView output, const ScanPlan& plan, int style,
                 StyleRandom& random);

// The plain per-pixel version of scanLetters, kept as the reference that
// tests compare the fast one with.
void scanLettersReference(ConstRasterView scratch, RasterView output, const ScanPlan& plan,
                          int style, StyleRandom& random);

} // namespace pismolot
