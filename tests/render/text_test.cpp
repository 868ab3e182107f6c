#include "render/textraster.h"

#include <gtest/gtest.h>

#include <QFontInfo>

using namespace pismolot;

namespace {

struct InkCase {
    const char* text;
    float size;
    bool bold, italic, underline;
    int dpi;
};

class MeasuredRectangle : public testing::TestWithParam<InkCase> {};

// Everything drawText paints must fall inside what measureText reports, and
// with antialiasing off every painted pixel is exactly black.
TEST_P(MeasuredRectangle, HoldsEveryPaintedPixel) {
    const InkCase c = GetParam();
    for (const QString& family : {defaultSansFamily(), QStringLiteral("DejaVu Serif")}) {
        const FontChoice choice{family, c.size, c.bold, c.italic, c.underline};
        const QString text = QString::fromUtf8(c.text);
        const QSize box = measureText(text, choice, c.dpi);
        QImage surface = makeSurface(box + QSize(200, 200), c.dpi);
        drawText(surface, text, choice);
        int ink = 0;
        for (int y = 0; y < surface.height(); ++y) {
            for (int x = 0; x < surface.width(); ++x) {
                const QRgb p = surface.pixel(x, y);
                if (p == qRgb(255, 255, 255))
                    continue;
                ASSERT_EQ(p, qRgb(0, 0, 0)) << "antialiased pixel at " << x << "," << y;
                ++ink;
                ASSERT_LT(x, box.width()) << family.toStdString() << " " << c.text;
                ASSERT_LT(y, box.height()) << family.toStdString() << " " << c.text;
            }
        }
        EXPECT_GT(ink, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, MeasuredRectangle,
                         testing::Values(InkCase{"Text", 24, false, false, false, 96},
                                         InkCase{"fff", 40, false, true, false, 96},
                                         InkCase{"Wolf/", 30, true, true, true, 96},
                                         InkCase{"gjpqy_", 18, false, false, true, 96},
                                         InkCase{"Zażółć gęślą jaźń", 20, false, true, true, 120},
                                         InkCase{"Ąę ÿ", 72, true, false, true, 144},
                                         InkCase{"x", 8, false, false, false, 72}));

TEST(Measure, EmptyTextHasNoWidthButALineHeight) {
    const QSize box = measureText(QString(), FontChoice{defaultSansFamily(), 24}, 96);
    EXPECT_EQ(box.width(), 0);
    EXPECT_GT(box.height(), 20);
}

TEST(Measure, ScalesWithDpiAndSize) {
    const FontChoice choice{defaultSansFamily(), 24};
    const QSize at96 = measureText(QStringLiteral("Text"), choice, 96);
    const QSize at192 = measureText(QStringLiteral("Text"), choice, 192);
    EXPECT_NEAR(at192.height(), 2 * at96.height(), 3);
    EXPECT_NEAR(at192.width(), 2 * at96.width(), 4);
}

TEST(Fonts, FamiliesSortedCaseInsensitivelyUnknownFamilySubstituted) {
    const QStringList families = sortedFontFamilies();
    ASSERT_FALSE(families.isEmpty());
    for (qsizetype i = 1; i < families.size(); ++i)
        EXPECT_LE(QString::compare(families[i - 1], families[i], Qt::CaseInsensitive), 0);
    const FontChoice unknown{QStringLiteral("No Such Family 123"), 24};
    EXPECT_GT(measureText(QStringLiteral("Text"), unknown, 96).width(), 0);
}

} // namespace
