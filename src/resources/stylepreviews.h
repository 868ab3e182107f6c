#pragma once

#include "render/styles.h"

#include <QImage>

#include <array>

// The thirteen style samples beside the editor's style list: the word "Text"
// on white, its letter pixels coloured row by row with the letter style's
// rule, as a rendering about 88 pixels high would colour them.
namespace previews {

inline constexpr int Width = 104;
inline constexpr int Height = 65;
// Where the word's ink lies in every sample but the grey one.
inline constexpr int InkLeft = 0;
inline constexpr int InkTop = 13;
inline constexpr int InkHeight = 46; // rows 13 to 58: the capital height
inline constexpr int InkWidth = 97;  // columns 0 to 96
// The grey sample ("Szary") shows the word 2 pixels right and 3 pixels up.
inline constexpr int GreyStyle = 3;
inline constexpr int GreyShiftX = 2;
inline constexpr int GreyShiftY = -3;

// A channel reduced to the 32 levels of the samples: v shows as level
// k = v div 8, whose value is 8k + k div 4.
constexpr int toLevel32(int v) {
    const int k = v / 8;
    return 8 * k + k / 4;
}

// The row level of style `style`'s letter row `inkRow` (0 = the top row of
// the letters), rising steadily by about 2.9 per row from about 42 at the top
// row to about 173 at the bottom row (row InkHeight - 1).
int rowLevel(int style, int inkRow);

// The face the letters are drawn in and how its outline is shaped to the
// samples' letters: family and style, and how much wider the outline is
// drawn than the face's own (pixels).
struct SampleFace {
    const char* family;
    const char* style;
    double embolden;
};
SampleFace sampleFace();

// The letter shapes alone: a Width x Height Format_RGB32 image, black letter
// pixels on white, ink in exactly InkWidth x InkHeight pixels from (InkLeft,
// InkTop), no antialiasing.
QImage wordShape();

// Sample of `style` from the word shape. Random stripes draw from `random`,
// one row colour per letter row.
QImage makeStylePreview(int style, const QImage& shape, pismolot::StyleRandom& random);

// All thirteen, made once on the first call. The stripes draw from a
// generator of their own, so making them leaves the render job's sequence
// untouched.
const std::array<QImage, pismolot::StyleCount>& stylePreviews();

} // namespace previews
