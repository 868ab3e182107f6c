#include "resources/icons.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

// The drawing the SVG file describes, read back with its own attributes.
struct SvgDrawing {
    QString viewBox;
    QPainterPath path;
    QPen pen;
    QColor fill;
};

QPainterPath parsePathData(const QString& d) {
    static const QRegularExpression token(QStringLiteral("[MLCZ]|-?[0-9.]+(e-?[0-9]+)?"));
    QPainterPath path;
    QChar command;
    QList<qreal> numbers;
    auto flush = [&] {
        if (command == QLatin1Char('M') && numbers.size() == 2)
            path.moveTo(numbers[0], numbers[1]);
        else if (command == QLatin1Char('L') && numbers.size() == 2)
            path.lineTo(numbers[0], numbers[1]);
        else if (command == QLatin1Char('C') && numbers.size() == 6)
            path.cubicTo(numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5]);
        else if (command == QLatin1Char('Z') && numbers.isEmpty())
            path.closeSubpath();
        else if (!command.isNull())
            ADD_FAILURE() << "malformed path command " << command.toLatin1() << " with "
                          << numbers.size() << " numbers";
        numbers.clear();
    };
    for (auto it = token.globalMatch(d); it.hasNext();) {
        const QString t = it.next().captured();
        if (t.front().isLetter()) {
            flush();
            command = t.front();
        } else {
            numbers << t.toDouble();
        }
    }
    flush();
    return path;
}

SvgDrawing parseSvg(const QByteArray& svg) {
    SvgDrawing drawing;
    QXmlStreamReader xml(svg);
    int paths = 0;
    while (xml.readNextStartElement()) {
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QStringLiteral("svg")) {
            drawing.viewBox = a.value(QStringLiteral("viewBox")).toString();
            continue; // into its children
        }
        EXPECT_EQ(xml.name(), QStringLiteral("path"));
        ++paths;
        drawing.path = parsePathData(a.value(QStringLiteral("d")).toString());
        drawing.path.setFillRule(a.value(QStringLiteral("fill-rule")) == QStringLiteral("evenodd")
                                     ? Qt::OddEvenFill
                                     : Qt::WindingFill);
        drawing.fill = QColor(a.value(QStringLiteral("fill")).toString());
        drawing.pen = QPen(
            QColor(a.value(QStringLiteral("stroke")).toString()),
            a.value(QStringLiteral("stroke-width")).toDouble(), Qt::SolidLine,
            a.value(QStringLiteral("stroke-linecap")) == QStringLiteral("round") ? Qt::RoundCap
                                                                                 : Qt::FlatCap,
            a.value(QStringLiteral("stroke-linejoin")) == QStringLiteral("round") ? Qt::RoundJoin
                                                                                  : Qt::MiterJoin);
        xml.skipCurrentElement();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(paths, 1);
    return drawing;
}

QImage blank(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

int channelDifference(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
}

// The installed SVG icon and the windows' icon are one drawing: the SVG, read
// back and painted, matches what the windows paint.
TEST(ProgramIcon, SvgFileDrawsWhatTheWindowsDraw) {
    const SvgDrawing svg = parseSvg(icons::programIconSvg());
    ASSERT_EQ(svg.viewBox, QStringLiteral("0 0 32 32"));
    ASSERT_FALSE(svg.path.isEmpty());

    constexpr int Size = 128;
    QImage fromSvg = blank(Size);
    {
        QPainter p(&fromSvg);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(Size / 32.0, Size / 32.0);
        p.setPen(svg.pen);
        p.setBrush(svg.fill);
        p.drawPath(svg.path);
    }
    QImage fromCode = blank(Size);
    {
        QPainter p(&fromCode);
        icons::paintProgramIcon(p, QRectF(0, 0, Size, Size));
    }
    int differing = 0;
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x)
            differing += channelDifference(fromSvg.pixel(x, y), fromCode.pixel(x, y)) > 8;
    EXPECT_LT(differing, Size) << differing << " of " << Size * Size << " pixels differ";
}

struct IconSize {
    const char* name;
    int pixels;
};

void PrintTo(const IconSize& size, std::ostream* out) {
    *out << size.name;
}

class ProgramIconAtSize : public testing::TestWithParam<IconSize> {};

// The icon is scaled to the size asked for, not drawn at 32 px in a corner,
// and the pixmap is transparent where nothing is drawn.
TEST_P(ProgramIconAtSize, FillsTheSizeAskedFor) {
    const int size = GetParam().pixels;
    const QImage image = icons::common().pixmap(size, size).toImage();
    ASSERT_EQ(image.size(), QSize(size, size));
    auto at = [&](qreal gridX, qreal gridY) {
        return image.pixelColor(int(gridX * size / 32), int(gridY * size / 32));
    };
    EXPECT_EQ(at(1, 1).alpha(), 0) << "the corner is not transparent";
    EXPECT_EQ(at(30, 15).alpha(), 0) << "right of the letter is not transparent";
    const QColor stroke = at(20, 15); // the middle of the thick right stroke
    EXPECT_EQ(stroke.alpha(), 255);
    EXPECT_GT(stroke.red(), 230);
    EXPECT_GT(stroke.green(), 230);
    EXPECT_LT(stroke.blue(), 40) << "the stroke is not yellow";
    const QColor edge = at(22.5, 15); // its right edge
    EXPECT_GT(edge.alpha(), 150) << "no outline";
    EXPECT_LT(edge.green(), 180) << "the outline is not dark";
}

INSTANTIATE_TEST_SUITE_P(Sizes, ProgramIconAtSize,
                         testing::Values(IconSize{"px22", 22}, IconSize{"px32", 32},
                                         IconSize{"px64", 64}, IconSize{"px256", 256}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
