#include "vectorpicture.h"

#include "textoutline.h"

#include <QPainter>

namespace pismolot {

std::vector<VectorPicture::Band> rowBands(const std::vector<std::uint32_t>& rowColours,
                                          int firstRow, int first, int last) {
    std::vector<VectorPicture::Band> bands;
    for (int y = std::max(first, firstRow); y <= last; ++y) {
        const std::size_t i = std::size_t(y - firstRow);
        if (i >= rowColours.size())
            break;
        if (!bands.empty() && bands.back().colour == rowColours[i] &&
            bands.back().top + bands.back().rows == y)
            ++bands.back().rows;
        else
            bands.push_back({y, 1, rowColours[i]});
    }
    return bands;
}

VectorPicture makeVectorPicture(const EffectSettings& settings, int dpi, QSize pictureSize,
                                const RenderOutcome& outcome, bool transparent) {
    VectorPicture picture;
    picture.size = pictureSize;
    picture.dpi = dpi;
    picture.title = settings.text;
    if (!transparent)
        picture.background = settings.background.toArgb();
    // Row 0 and column 0 keep the background, as the scan leaves them.
    picture.lettersArea = QRect(QPoint(1, 1), QPoint(outcome.reach.lastX, outcome.reach.lastY))
                              .intersected(QRect(QPoint(0, 0), pictureSize));
    if (picture.lettersArea.isEmpty())
        return picture;
    picture.letters =
        contoursReaching(textOutline(settings.text, settings.font, dpi), picture.lettersArea);
    // Spaces alone: no letter, nothing to fill.
    if (picture.letters.isEmpty())
        return picture;
    picture.bands =
        rowBands(outcome.rowColours, 1, picture.lettersArea.top(), picture.lettersArea.bottom());
    return picture;
}

void paintVectorPicture(QPainter& painter, const VectorPicture& picture) {
    if (picture.background)
        painter.fillRect(QRect(QPoint(0, 0), picture.size), QColor::fromRgb(*picture.background));
    if (picture.bands.empty())
        return;
    painter.save();
    painter.setClipPath(picture.letters, Qt::IntersectClip);
    for (const VectorPicture::Band& band : picture.bands)
        painter.fillRect(
            QRect(picture.lettersArea.left(), band.top, picture.lettersArea.width(), band.rows),
            QColor::fromRgb(band.colour));
    painter.restore();
}

} // namespace pismolot
