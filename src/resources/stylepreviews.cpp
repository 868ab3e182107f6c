#include "resources/stylepreviews.h"

#include "render/numbers.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace previews {

namespace {

// Where the samples' rows start and end on the row level scale. The stored
// samples are not all one scale: their end colours, read back through each
// style's rule, put the top row at level 40..47 for most styles but 48..55
// for styles 2, 6, 8 and 9, and the bottom row at 168..175 for styles 1, 3
// and 10 but 176..183 (178.. for style 4) for the others. Each style takes
// the level nearest 42 and 173 that gives its stored colours; the middle
// rows then match as well.
struct LevelRange {
    int top;
    int bottom;
};
constexpr std::array<LevelRange, pismolot::StyleCount> SampleLevels = {{
    {42, 176}, // 0 Różowo granatowy
    {42, 173}, // 1 Niebieski
    {48, 176}, // 2 Różowo błękitny
    {42, 173}, // 3 Szary
    {42, 178}, // 4 Fioletowy
    {42, 176}, // 5 Czerwony
    {48, 176}, // 6 Żółty
    {42, 173}, // 7 Losowe kreski (its colours do not depend on the level)
    {48, 176}, // 8 Pomarańczowo - zielony
    {48, 176}, // 9 Zielony
    {42, 173}, // 10 Śmieszny - czerwony
    {42, 176}, // 11 Zielono - pomarańczowy
    {42, 176}, // 12 Fioletowo - zielony
}};

QPainterPath wordOutline(const SampleFace& face) {
    QFont font =
        QFontDatabase::font(QString::fromLatin1(face.family), QString::fromLatin1(face.style), 12);
    font.setPixelSize(200);
    QPainterPath path;
    path.addText(0, 0, font, QStringLiteral("Text"));
    path.setFillRule(Qt::WindingFill);
    return path;
}

// The outline scaled by (sx, sy), grown by `embolden` pixels, drawn aliased
// with its box's top-left corner at (8, 8) of `scratch`.
void drawScaled(QImage& scratch, const QPainterPath& outline, double sx, double sy,
                double embolden) {
    const QRectF box = outline.boundingRect();
    QTransform toScratch;
    toScratch.translate(8, 8);
    toScratch.scale(sx, sy);
    toScratch.translate(-box.left(), -box.top());
    QPainterPath shape = toScratch.map(outline);
    if (embolden > 0) {
        QPainterPathStroker stroker;
        stroker.setWidth(embolden);
        stroker.setJoinStyle(Qt::MiterJoin);
        shape = shape.united(stroker.createStroke(shape));
    }
    scratch.fill(Qt::white);
    QPainter p(&scratch);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPath(shape);
}

QRect inkBounds(const QImage& image) {
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(row[x]) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

int rowLevel(int style, int inkRow) {
    const LevelRange range = (style >= 0 && style < pismolot::StyleCount)
                                 ? SampleLevels[std::size_t(style)]
                                 : SampleLevels[7];
    return pismolot::roundHalfEven<int>(range.top + inkRow * double(range.bottom - range.top) /
                                                        (InkHeight - 1));
}

// The samples' letters measure 1499 pixels, stems 6 pixels wide, the T's bar
// 28 x 6, lower case 31 rows, in 97 x 46 pixels. Of the faces every machine
// of ours has (DejaVu), scaled to that box, the condensed sans comes closest
// and is squeezed least (to 0.88 of its width); its outline grown by half a
// pixel gives 6-pixel stems and about 1540 pixels (the face as it is: 5 and
// 1400). Its bar (30 x 5) and lower case (34 rows) are the face's own
// proportions, which no scale changes. (Found once by measuring every DejaVu
// face and style at growths of 0 to 2 pixels in steps of a quarter.)
SampleFace sampleFace() {
    return {"DejaVu Sans", "Condensed", 0.5};
}

QImage wordShape() {
    const SampleFace face = sampleFace();
    const QPainterPath outline = wordOutline(face);
    const QRectF box = outline.boundingRect();

    QImage shape(Width, Height, QImage::Format_RGB32);
    shape.fill(Qt::white);
    if (box.isEmpty())
        return shape;

    // Scale the outline to the ink box; the raster may come out a row or a
    // column off, so correct the scales and draw again. Its ink then moves
    // to the exact place.
    double sy = InkHeight / box.height();
    double sx = InkWidth / box.width();
    QImage scratch(Width + 32, Height + 32, QImage::Format_RGB32);
    QRect ink;
    for (int attempt = 0; attempt < 8; ++attempt) {
        drawScaled(scratch, outline, sx, sy, face.embolden);
        ink = inkBounds(scratch);
        if (ink.isEmpty())
            return shape;
        if (ink.height() == InkHeight && ink.width() == InkWidth)
            break;
        if (ink.height() != InkHeight)
            sy *= (InkHeight + (ink.height() < InkHeight ? 0.5 : -0.5)) / ink.height();
        if (ink.width() != InkWidth)
            sx *= (InkWidth + (ink.width() < InkWidth ? 0.5 : -0.5)) / ink.width();
    }
    ink.setHeight(std::min(ink.height(), InkHeight));
    ink.setWidth(std::min(ink.width(), InkWidth));
    QPainter p(&shape);
    p.drawImage(QPoint(InkLeft, InkTop), scratch, ink);
    return shape;
}

QImage makeStylePreview(int style, const QImage& shape, pismolot::StyleRandom& random) {
    const bool grey = style == GreyStyle;
    const int dx = grey ? GreyShiftX : 0;
    const int dy = grey ? GreyShiftY : 0;

    QImage picture(Width, Height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 0; y < Height; ++y) {
        const int sourceY = y - dy;
        if (sourceY < InkTop || sourceY >= InkTop + InkHeight)
            continue;
        const pismolot::ColourValue c =
            pismolot::styleColour(style, rowLevel(style, sourceY - InkTop), random);
        const QRgb colour = qRgb(toLevel32(c.red()), toLevel32(c.green()), toLevel32(c.blue()));
        const auto* in = reinterpret_cast<const QRgb*>(shape.constScanLine(sourceY));
        auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < Width; ++x) {
            const int sourceX = x - dx;
            if (sourceX >= 0 && sourceX < Width && qGray(in[sourceX]) < 128)
                out[x] = colour;
        }
    }
    return picture;
}

const std::array<QImage, pismolot::StyleCount>& stylePreviews() {
    static const std::array<QImage, pismolot::StyleCount> pictures = [] {
        std::array<QImage, pismolot::StyleCount> made;
        const QImage shape = wordShape();
        pismolot::StyleRandom stripes;
        for (int i = 0; i < pismolot::StyleCount; ++i)
            made[std::size_t(i)] = makeStylePreview(i, shape, stripes);
        return made;
    }();
    return pictures;
}

} // namespace previews
