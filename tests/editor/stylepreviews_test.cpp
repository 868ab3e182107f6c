#include "app/forms.h"
#include "render/styles.h"
#include "resources/stylepreviews.h"
#include "resources/xdata.h"

#include <QLabel>
#include <QRect>

#include <gtest/gtest.h>

#include <set>

namespace {

QRect inkOf(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != 0xFFFFFFFFu)
                box |= QRect(x, y, 1, 1);
    return box;
}

// Runs first, before anything in this process has made the pictures.
TEST(StylePreviews, MakingThemLeavesTheRenderJobsRandomSequenceAlone) {
    pismolot::StyleRandom expected = pismolot::styleRandom();
    previews::stylePreviews();
    EXPECT_EQ(pismolot::styleRandom().next(), expected.next());
}

TEST(StylePreviews, LevelsAreThe32OfTheSamples) {
    EXPECT_EQ(previews::toLevel32(0), 0);
    EXPECT_EQ(previews::toLevel32(213), 214);
    EXPECT_EQ(previews::toLevel32(100), 99);
    EXPECT_EQ(previews::toLevel32(11), 8);
    EXPECT_EQ(previews::toLevel32(255), 255);
    EXPECT_EQ(previews::rowLevel(0), 42);
    EXPECT_EQ(previews::rowLevel(previews::InkHeight - 1), 173);
}

TEST(StylePreviews, WordShapeFillsItsPlace) {
    const QImage shape = previews::wordShape();
    ASSERT_EQ(shape.size(), QSize(previews::Width, previews::Height));
    const QRect ink = inkOf(shape);
    EXPECT_EQ(ink.top(), 13);
    EXPECT_EQ(ink.bottom(), 58);
    EXPECT_EQ(ink.left(), 0);
    EXPECT_LE(ink.right(), 96);
    EXPECT_GE(ink.right(), 70) << "the word is squeezed, not shrunk";
    int inkPixels = 0;
    for (int y = 0; y < shape.height(); ++y)
        for (int x = 0; x < shape.width(); ++x) {
            const QRgb p = shape.pixel(x, y);
            ASSERT_TRUE(p == 0xFF000000u || p == 0xFFFFFFFFu) << "antialiased at " << x << "," << y;
            inkPixels += p == 0xFF000000u;
        }
    EXPECT_GT(inkPixels, 900);
    EXPECT_LT(inkPixels, 2600);
}

TEST(StylePreviews, EveryPixelIsWhiteOrItsRowsColour) {
    const QImage shape = previews::wordShape();
    const auto& pictures = previews::stylePreviews();
    for (int style = 0; style < pismolot::StyleCount; ++style) {
        const QImage& picture = pictures[std::size_t(style)];
        ASSERT_EQ(picture.size(), QSize(104, 65)) << "style " << style;
        const int dx = style == 3 ? 2 : 0;
        const int dy = style == 3 ? -3 : 0;
        EXPECT_EQ(inkOf(picture), inkOf(shape).translated(dx, dy)) << "style " << style;
        for (int y = 0; y < picture.height(); ++y) {
            std::set<QRgb> colours;
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb p = picture.pixel(x, y);
                const int sx = x - dx, sy = y - dy;
                const bool letter =
                    sx >= 0 && sx < 104 && sy >= 0 && sy < 65 && shape.pixel(sx, sy) == 0xFF000000u;
                if (!letter) {
                    ASSERT_EQ(p, 0xFFFFFFFFu) << "style " << style << " at " << x << "," << y;
                    continue;
                }
                colours.insert(p);
                for (int channel : {qRed(p), qGreen(p), qBlue(p)})
                    EXPECT_EQ(previews::toLevel32(channel), channel)
                        << "style " << style << " row " << y;
            }
            EXPECT_LE(colours.size(), 1u) << "style " << style << " row " << y;
        }
    }
}

struct RowColours {
    int style;
    QRgb top, middle, bottom;
};

// The stored samples' colours; ours may differ by one of the 32 levels.
class PreviewColours : public testing::TestWithParam<RowColours> {};

TEST_P(PreviewColours, MatchTheStyleRuleAtTopMiddleAndBottom) {
    const RowColours& c = GetParam();
    const QImage& picture = previews::stylePreviews()[std::size_t(c.style)];
    const QRect ink = inkOf(picture);
    const int rows[] = {ink.top(), (ink.top() + ink.bottom()) / 2, ink.bottom()};
    const QRgb expected[] = {c.top, c.middle, c.bottom};
    for (int i = 0; i < 3; ++i) {
        QRgb found = 0;
        for (int x = 0; x < picture.width() && !found; ++x)
            if (picture.pixel(x, rows[i]) != 0xFFFFFFFFu)
                found = picture.pixel(x, rows[i]);
        ASSERT_NE(found, 0u) << "row " << rows[i] << " has no letter pixel";
        EXPECT_NEAR(qRed(found), qRed(expected[i]), 9) << "row " << rows[i];
        EXPECT_NEAR(qGreen(found), qGreen(expected[i]), 9) << "row " << rows[i];
        EXPECT_NEAR(qBlue(found), qBlue(expected[i]), 9) << "row " << rows[i];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, PreviewColours,
    testing::Values(RowColours{0, qRgb(214, 8, 99), qRgb(148, 8, 99), qRgb(74, 8, 99)},
                    RowColours{1, qRgb(0, 0, 214), qRgb(0, 0, 148), qRgb(0, 0, 82)},
                    RowColours{2, qRgb(206, 41, 206), qRgb(148, 41, 206), qRgb(74, 41, 206)},
                    RowColours{3, qRgb(214, 214, 214), qRgb(148, 148, 148), qRgb(82, 82, 82)},
                    RowColours{4, qRgb(107, 0, 214), qRgb(74, 0, 148), qRgb(33, 0, 74)},
                    RowColours{5, qRgb(214, 33, 107), qRgb(148, 33, 74), qRgb(74, 33, 41)},
                    RowColours{6, qRgb(206, 206, 99), qRgb(148, 148, 99), qRgb(74, 74, 99)},
                    RowColours{8, qRgb(206, 99, 8), qRgb(148, 99, 8), qRgb(74, 99, 8)},
                    RowColours{9, qRgb(41, 206, 41), qRgb(41, 148, 41), qRgb(41, 74, 41)},
                    RowColours{10, qRgb(41, 41, 8), qRgb(107, 41, 8), qRgb(173, 41, 8)},
                    RowColours{11, qRgb(41, 214, 57), qRgb(107, 148, 57), qRgb(181, 74, 57)},
                    RowColours{12, qRgb(214, 41, 214), qRgb(148, 107, 148), qRgb(74, 181, 74)}));

TEST(StylePreviews, RandomStripesVaryFromRowToRow) {
    const QImage& picture = previews::stylePreviews()[pismolot::RandomStripesStyle];
    std::set<QRgb> rowColours;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != 0xFFFFFFFFu) {
                rowColours.insert(picture.pixel(x, y));
                break;
            }
    EXPECT_GT(rowColours.size(), 30u);
}

TEST(XDataStore, HandsOutTheSamplesAndNothingOutsideTheRange) {
    XData& store = forms::xdata();
    EXPECT_TRUE(store.picture(-1).isNull());
    EXPECT_TRUE(store.picture(13).isNull());
    for (int i = 0; i < pismolot::StyleCount; ++i) {
        EXPECT_EQ(store.picture(i), previews::stylePreviews()[std::size_t(i)]) << i;
        EXPECT_EQ(store.Image1[std::size_t(i)]->pixmap().toImage(), store.picture(i)) << i;
    }
    EXPECT_FALSE(store.isVisible());
    forms::unloadAll();
}

} // namespace
