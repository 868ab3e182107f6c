#pragma once

#include "job.h"

#include <QPainterPath>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QIODevice;
class QPainter;

namespace pismolot {

// The result picture as shapes: the letters' outlines filled row band by row
// band in the colours the scan gave the bitmap's pixel rows, over a
// background rectangle. Rasterised at its own size without smoothing it
// gives the bitmap but along letter edges; at any larger size it stays sharp.
struct VectorPicture {
    // Consecutive pixel rows of one colour.
    struct Band {
        int top = 0;
        int rows = 0;
        std::uint32_t colour = 0; // 0xffRRGGBB
    };

    QSize size; // of the bitmap, in pixels
    int dpi = 96;
    QString title; // the text, which readers and search engines read
    // None with a transparent background.
    std::optional<std::uint32_t> background;
    // The pixels the scan painted: letters show only here, as in the bitmap.
    QRect lettersArea;
    // The letters' outlines, only the contours that reach lettersArea.
    QPainterPath letters;
    // Top to bottom, within lettersArea.
    std::vector<Band> bands;
};

// The vector form of a render of `settings` at `dpi` whose bitmap is
// `pictureSize` and whose scan went as `outcome` tells.
VectorPicture makeVectorPicture(const EffectSettings& settings, int dpi, QSize pictureSize,
                                const RenderOutcome& outcome, bool transparent);

// Consecutive rows of equal colour joined; `rowColours[i]` belongs to row
// `firstRow + i`, and only rows first..last are kept.
std::vector<VectorPicture::Band> rowBands(const std::vector<std::uint32_t>& rowColours,
                                          int firstRow, int first, int last);

// Draws the picture with `painter`, one picture pixel per painter unit.
void paintVectorPicture(QPainter& painter, const VectorPicture& picture);

// The picture as an SVG document / a one-page PDF, written to `out`. False
// when the device did not take it (or for an empty picture).
bool writeSvg(QIODevice& out, const VectorPicture& picture);
bool writePdf(QIODevice& out, const VectorPicture& picture);

} // namespace pismolot
