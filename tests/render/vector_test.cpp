// The vector picture against the bitmap of the same render: rasterised at its
// own size without smoothing it differs only along letter edges; at 4x every
// row keeps its colour; the SVG and PDF writers keep what it holds.
#include "render/headless.h"
#include "render/imagefile.h"
#include "render/vectorpicture.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <cstdio>
#include <ostream>
#include <string>

using namespace pismolot;

namespace {

struct Case {
    const char* name;
    const char* font;
    float size;
    bool bold, italic, underline;
    int style;
    int dpi;
    bool transparent = false;
    const char* text = "Pismolot: zażółć gęślą jaźń";
    QSize screen = QSize(1920, 1080);
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

struct Rendered {
    QImage bitmap;
    VectorPicture vector;
};

Rendered render(const Case& c) {
    EffectSettings settings;
    settings.text = QString::fromUtf8(c.text);
    settings.font = FontChoice{QString::fromLatin1(c.font), c.size, c.bold, c.italic, c.underline};
    settings.styleIndex = std::int16_t(c.style);
    settings.background = ColourValue::rgb(250, 240, 10);
    StyleRandom random;
    RenderOutcome outcome;
    Rendered r;
    r.bitmap = renderHeadless(settings, c.screen, c.dpi, random, RenderOptions{c.transparent},
                              nullptr, &outcome);
    r.vector = makeVectorPicture(settings, c.dpi, r.bitmap.size(), outcome, c.transparent);
    return r;
}

QImage rasterise(const VectorPicture& v, int scale, bool smooth) {
    QImage image(v.size * scale, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, smooth);
    painter.scale(scale, scale);
    paintVectorPicture(painter, v);
    painter.end();
    return image;
}

// The bitmap as the vector picture means it: a transparent picture's
// background pixels hold no colour.
QRgb meant(const QImage& bitmap, int x, int y) {
    const QRgb p = bitmap.pixel(x, y);
    return bitmap.hasAlphaChannel() && qAlpha(p) == 0 ? 0 : p;
}

// Whether the font engine draws the case's glyphs from hinted bitmaps.
bool hinted(const Case& c) {
    return c.size * float(c.dpi) / 72.0f <= 64.0f;
}

class VectorMatchesBitmap : public testing::TestWithParam<Case> {};

TEST_P(VectorMatchesBitmap, AlongLetterEdgesOnlyAndBandForBandAt4x) {
    const Case& c = GetParam();
    const Rendered r = render(c);
    ASSERT_FALSE(r.bitmap.isNull());
    ASSERT_EQ(r.vector.size, r.bitmap.size());
    ASSERT_FALSE(r.vector.bands.empty());

    const QImage same = rasterise(r.vector, 1, false);
    qint64 differing = 0, letters = 0;
    for (int y = 0; y < same.height(); ++y)
        for (int x = 0; x < same.width(); ++x) {
            differing += same.pixel(x, y) != meant(r.bitmap, x, y);
            letters += meant(r.bitmap, x, y) != meant(r.bitmap, 0, 0);
        }
    const double share = double(differing) / double(qint64(same.width()) * same.height());
    std::printf("%s: %.3f %% of pixels differ\n", c.name, share * 100);
    EXPECT_LT(share, hinted(c) ? 0.1 : 0.01)
        << differing << " of " << same.width() << "x" << same.height();
    // Not trivially equal: the picture holds letters in more than one band,
    // and a gradient taller than its 256 levels joins equal rows.
    EXPECT_GT(letters, 100);
    EXPECT_GT(r.vector.bands.size(), 1u);
    if (c.style != RandomStripesStyle && r.vector.lettersArea.height() > 256) {
        EXPECT_LT(r.vector.bands.size(), std::size_t(r.vector.lettersArea.height()));
    }

    // At 4x, the middle of every pixel whose whole neighbourhood has one
    // colour keeps that colour: rows keep their bands, the background stays.
    const QImage large = rasterise(r.vector, 4, true);
    qint64 checked = 0, wrong = 0;
    for (int y = 1; y + 1 < r.bitmap.height(); ++y)
        for (int x = 1; x + 1 < r.bitmap.width(); ++x) {
            const QRgb p = meant(r.bitmap, x, y);
            bool uniform = true;
            for (int dy = -1; dy <= 1 && uniform; ++dy)
                for (int dx = -1; dx <= 1 && uniform; ++dx)
                    uniform = meant(r.bitmap, x + dx, y + dy) == p;
            if (!uniform)
                continue;
            ++checked;
            wrong += large.pixel(4 * x + 2, 4 * y + 2) != p;
        }
    EXPECT_GT(checked, 1000);
    // A uniform neighbourhood beside an edge that the outline crosses
    // differently may still turn: far fewer than the edges themselves.
    EXPECT_LT(double(wrong) / double(checked), hinted(c) ? 0.05 : 0.002)
        << wrong << " of " << checked;
}

INSTANTIATE_TEST_SUITE_P(
    Table, VectorMatchesBitmap,
    testing::Values(
        Case{"SansPinkNavy96", "DejaVu Sans", 54, false, false, false, 0, 96},
        Case{"SansBold144", "DejaVu Sans", 36, true, false, false, 1, 144},
        Case{"SerifItalic96", "DejaVu Serif", 60, false, true, false, 5, 96},
        Case{"SerifBoldItalicUnderline144", "DejaVu Serif", 40, true, true, true, 9, 144},
        Case{"SansUnderline96", "DejaVu Sans", 72, false, false, true, 12, 96},
        Case{"RandomStripes96", "DejaVu Sans", 60, true, false, false, RandomStripesStyle, 96},
        Case{"RandomStripesUnderline144", "DejaVu Serif", 48, false, false, true,
             RandomStripesStyle, 144},
        Case{"NimbusRomanGrey96", "Nimbus Roman", 64, false, false, false, 3, 96},
        Case{"Transparent96", "DejaVu Sans", 50, false, false, true, 4, 96, true},
        // Letters cut at the screen's right and bottom edges.
        Case{"CutAtScreenEdge96", "DejaVu Sans", 200, true, false, true, 8, 96, false,
             "Pismolot gęś", QSize(700, 200)},
        // Taller than the gradient's 256 levels: equal rows join.
        Case{"TallGradient144", "DejaVu Sans", 200, false, false, false, 1, 144, false, "Ag"},
        // Up to 64 pixels per em the font engine draws glyphs from
        // its hinted bitmaps, which the outlines cannot follow: the
        // edges then differ more (the bound of this row is looser).
        Case{"SmallHinted96", "DejaVu Sans", 24, false, false, false, 10, 96}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

QByteArray svgOf(const VectorPicture& v) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(writeSvg(buffer, v));
    return buffer.data();
}

TEST(VectorSvg, HoldsSizeTitleAndOneRectPerBandOverTheBackground) {
    Case c{"", "DejaVu Sans", 30, false, false, true, RandomStripesStyle, 96};
    Rendered r = render(c);
    r.vector.title = QStringLiteral("A<&>\"B\u0001\uFFFE");
    const QByteArray svg = svgOf(r.vector);
    EXPECT_TRUE(svg.contains(QStringLiteral("width=\"%1\" height=\"%2\" viewBox=\"0 0 %1 %2\"")
                                 .arg(r.bitmap.width())
                                 .arg(r.bitmap.height())
                                 .toLatin1()));
    QXmlStreamReader xml(svg);
    QString title;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"title")
            title = xml.readElementText();
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    // Characters XML cannot hold become U+FFFD; the rest stay as typed.
    EXPECT_EQ(title, QStringLiteral("A<&>\"B\uFFFD\uFFFD"));
    EXPECT_TRUE(svg.contains("fill=\"#faf00a\""));
    // The random stripes draw a colour per row: a band, and a shape, per row
    // (and one for the letters' clip).
    EXPECT_EQ(r.vector.bands.size(), std::size_t(r.vector.lettersArea.height()));
    EXPECT_EQ(svg.count("<path"), qsizetype(r.vector.bands.size()) + 1);

    // Spaces alone, not underlined: the background, no bands.
    c.text = "   ";
    c.underline = false;
    EXPECT_FALSE(svgOf(render(c).vector).contains("<path"));
}

TEST(VectorSvg, LeavesOutContoursBeyondTheScreen) {
    Case c{"", "DejaVu Sans", 300, false, false, false, 0, 96};
    c.text = "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW";
    c.screen = QSize(800, 600);
    const Rendered r = render(c);
    const QString d =
        QRegularExpression(QStringLiteral(" d=\"([^\"]*)\"")).match(svgOf(r.vector)).captured(1);
    // Each W is one contour; about two reach into 800 pixels, not 32.
    EXPECT_GE(d.count(u'm'), 2);
    EXPECT_LE(d.count(u'm'), 4);
}

TEST(VectorPdf, IsOnePageOfThePicturesPointsWithItsTitle) {
    Case c{"", "DejaVu Sans", 30, false, false, false, 2, 144};
    c.text = "Gęś";
    const Rendered r = render(c);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(writePdf(buffer, r.vector));
    const QByteArray pdf = buffer.data();
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "),
              1);
    const QRegularExpression page(QStringLiteral("/MediaBox \\[0 0 %1(\\.0*)? %2(\\.0*)?\\]")
                                      .arg(r.bitmap.width())
                                      .arg(r.bitmap.height()));
    EXPECT_TRUE(page.match(QString::fromLatin1(pdf)).hasMatch());
    // No font: the letters are shapes.
    EXPECT_FALSE(pdf.contains("/FontFile"));
}

// Through the file layer: the format follows the extension, the shapes are
// required, and a failed write keeps the old file.
TEST(VectorFiles, GoThroughTheSafeWriteAndNeedTheirShapes) {
    Case c{"", "DejaVu Sans", 60, false, false, false, 6, 96};
    c.text = "Plik";
    const Rendered r = render(c);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"obraz.SVG", "obraz.pdf"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        const ImageFormat format = formatForFileName(path, ImageFormat::Bmp);
        ASSERT_TRUE(isVectorFormat(format)) << name;
        // Without shapes: refused before any file is made.
        EXPECT_EQ(writeImageFile(path, r.bitmap, format).error, WriteError::Other) << name;
        EXPECT_FALSE(QFile::exists(path)) << name;
        // Shapes of another picture are not this picture's.
        VectorPicture other = r.vector;
        other.size += QSize(1, 0);
        EXPECT_EQ(writeImageFile(path, r.bitmap, format, Commit::Fast, &other).error,
                  WriteError::Other);
        ASSERT_TRUE(writeImageFile(path, r.bitmap, format, Commit::Durable, &r.vector).ok());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(format == ImageFormat::Svg ? bytes.contains("<svg") : bytes.startsWith("%PDF"));
        // An empty picture is refused, the file kept as it was.
        EXPECT_EQ(writeImageFile(path, QImage(), format, Commit::Fast, &r.vector).error,
                  WriteError::EmptyPicture);
        file.seek(0);
        EXPECT_EQ(file.readAll(), bytes);
    }
}

} // namespace
