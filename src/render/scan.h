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
    int cols = 0;   // W / tppx in double precision, rounded half to even
};

// Twips to whole pixels: twips / twipsPerPixel in double precision, rounded
// half to even; 0 for a screen finer than no twips per pixel. The scan's
// columns and the result picture's width both come from it, so the scan
// covers every column of the picture at any DPI.
int twipsToPixelCount(float twips, float twipsPerPixel);
// Rows of a height: H / tppy in single precision (the row levels' q), rounded
// half to even; 0 for no height.
int rowsOf(float heightTwips, float tppy);

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

// The last column and row that a scan of `plan` visits on these surfaces:
// reads outside the scratch surface are never letters and writes outside the
// output are dropped, so only the overlap of both needs visiting.
struct ScanReach {
    int lastX = 0;
    int lastY = 0;
};
ScanReach scanReach(ConstRasterView scratch, ConstRasterView output, int cols, int rows);

// Paints every exactly black pixel of `scratch` in rows 1..rows and columns
// 1..cols onto `output` at the same place, in its row's style colour.
// Scan starts at 1: row 0 and column 0 keep the background. The row colour is
// computed for every row, so "Losowe kreski" draws 3 numbers per row.
// `scratch` and `output` must not overlap in memory: each row is read and
// written as two separate arrays (checked in debug builds).
void scanLetters(ConstRasterView scratch, RasterView output, const ScanPlan& plan, int style,
                 StyleRandom& random);

// Makes every pixel of `picture` (the result picture, from (0, 0), in
// Format_ARGB32 layout) that a scan of cols x rows did not write fully
// transparent, keeping its colour: which pixels were written follows from the
// scratch surface, never from colours, since a letter may have the
// background's colour.
void clearUnwrittenAlpha(ConstRasterView scratch, ConstRasterView output, int cols, int rows,
                         RasterView picture);

// Whether any pixel of `raster` is a letter pixel; whether any is neither
// black nor white (drawn in a colour glyph's own colours). Whole rows at a
// time, so that the compiler vectorises them: they run over whole surfaces.
bool holdsLetterPixel(ConstRasterView raster);
bool holdsColouredPixel(ConstRasterView raster);

// The plain per-pixel version of scanLetters, kept as the reference that
// tests compare the fast one with.
void scanLettersReference(ConstRasterView scratch, RasterView output, const ScanPlan& plan,
                          int style, StyleRandom& random);

} // namespace pismolot
