#include "resources/stylepreviews.h"

#include "render/numbers.h"
#include "render/textraster.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace previews {

namespace {

// A narrow face keeps the letters' proportions closest to the samples' width
// budget; any sans-serif face serves, squeezed to fit.
QString sampleFamily() {
    const QStringList installed = QFontDatabase::families();
    for (const char* narrow : {"Arial Narrow", "Liberation Sans Narrow", "Nimbus Sans Narrow"}) {
        const QString name = QString::fromLatin1(narrow);
        if (installed.contains(name))
            return name;
    }
    return pismolot::defaultSansFamily();
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

int rowLevel(int inkRow) {
    return pismolot::roundHalfEven<int>(42.0 + inkRow * 131.0 / (InkHeight - 1));
}

QImage wordShape() {
    const QString word = QStringLiteral("Text");
    QFont font(sampleFamily());
    font.setPixelSize(100);
    QPainterPath path;
    path.addText(0, 0, font, word);
    path.setFillRule(Qt::WindingFill);
    const QRectF box = path.boundingRect();

    QImage shape(Width, Height, QImage::Format_RGB32);
    shape.fill(Qt::white);
    if (box.isEmpty())
        return shape;

    // Scale the outline so the word is InkHeight rows high and at most
    // InkMaxWidth columns wide, drawn aliased on a roomy scratch image; the
    // raster may come out a row or column off, so correct the scale and draw
    // again. Its ink then moves to the exact place.
    double scaleY = InkHeight / box.height();
    double scaleX = std::min(scaleY, InkMaxWidth / box.width());
    QImage scratch(Width + 32, Height + 32, QImage::Format_RGB32);
    QRect ink;
    for (int attempt = 0; attempt < 6; ++attempt) {
        QTransform toScratch;
        toScratch.translate(8, 8);
        toScratch.scale(scaleX, scaleY);
        toScratch.translate(-box.left(), -box.top());
        scratch.fill(Qt::white);
        {
            QPainter p(&scratch);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::black);
            p.drawPath(toScratch.map(path));
        }
        ink = inkBounds(scratch);
        if (ink.isEmpty())
            return shape;
        const bool heightOk = ink.height() == InkHeight;
        const bool widthOk = ink.width() <= InkMaxWidth;
        if (heightOk && widthOk)
            break;
        if (!heightOk)
            scaleY *= (InkHeight + (ink.height() < InkHeight ? 0.5 : -0.5)) / ink.height();
        if (!widthOk)
            scaleX *= (InkMaxWidth - 0.5) / ink.width();
    }
    ink.setHeight(std::min(ink.height(), InkHeight));
    ink.setWidth(std::min(ink.width(), Width - InkLeft));
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
            pismolot::styleColour(style, rowLevel(sourceY - InkTop), random);
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
