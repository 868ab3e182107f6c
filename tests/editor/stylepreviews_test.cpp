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
}

// The row level rises steadily, about 2.9 per row, from about 42 to about 173.
TEST(StylePreviews, RowLevelRisesSteadily) {
    for (int style = 0; style < pismolot::StyleCount; ++style) {
        EXPECT_NEAR(previews::rowLevel(style, 0), 42, 6) << "style " << style;
        EXPECT_NEAR(previews::rowLevel(style, previews::InkHeight - 1), 173, 5)
            << "style " << style;
        for (int row = 1; row < previews::InkHeight; ++row) {
            const int step = previews::rowLevel(style, row) - previews::rowLevel(style, row - 1);
            ASSERT_TRUE(step >= 2 && step <= 4) << "style " << style << " row " << row;
        }
    }
}

bool isInk(const QImage& shape, int x, int y) {
    return shape.pixel(x, y) == 0xFF000000u;
}

// The first run of ink in row y from the left: [start, end).
std::pair<int, int> firstRun(const QImage& shape, int y) {
    int x = 0;
    while (x < shape.width() && !isInk(shape, x, y))
        ++x;
    const int start = x;
    while (x < shape.width() && isInk(shape, x, y))
        ++x;
    return {start, x};
}

// Groups of ink columns separated by empty columns, left to right.
QList<QRect> columnGroups(const QImage& shape) {
    QList<QRect> groups;
    QRect current;
    for (int x = 0; x < shape.width(); ++x) {
        QRect column;
        for (int y = 0; y < shape.height(); ++y)
            if (isInk(shape, x, y))
                column |= QRect(x, y, 1, 1);
        if (column.isNull()) {
            if (!current.isNull())
                groups.append(current);
            current = QRect();
        } else {
            current |= column;
        }
    }
    if (!current.isNull())
        groups.append(current);
    return groups;
}

// The samples' letters are "Text" in 97 x 46 pixels at columns 0 to 96 and
// rows 13 to 58, 1499 letter pixels, stems 6 wide, the T's bar 28 x 6, lower
// case 31 rows high. The box is met exactly (the shape is scaled to it); the
// rest within what the face's own proportions allow (see each check).
TEST(StylePreviews, WordShapeHasTheSamplesMeasurements) {
    const QImage shape = previews::wordShape();
    ASSERT_EQ(shape.size(), QSize(previews::Width, previews::Height));
    EXPECT_EQ(inkOf(shape), QRect(QPoint(0, 13), QPoint(96, 58)));
    int inkPixels = 0;
    for (int y = 0; y < shape.height(); ++y)
        for (int x = 0; x < shape.width(); ++x) {
            const QRgb p = shape.pixel(x, y);
            ASSERT_TRUE(p == 0xFF000000u || p == 0xFFFFFFFFu) << "antialiased at " << x << "," << y;
            inkPixels += p == 0xFF000000u;
        }
    // Within 5 %: the face's strokes are not the samples' to the pixel.
    EXPECT_NEAR(inkPixels, 1499, 75);

    // The T: its stem below the bar is the first ink from the left.
    const auto [stemStart, stemEnd] = firstRun(shape, 13 + 30);
    EXPECT_EQ(stemEnd - stemStart, 6) << "stem width";
    int stemBottom = 13 + 30;
    while (stemBottom + 1 < shape.height() && isInk(shape, stemStart, stemBottom + 1))
        ++stemBottom;
    // One row short at most: round letters reach a row below the baseline
    // (the overshoot), and the ink box is the samples'.
    EXPECT_NEAR(stemBottom - 13 + 1, 46, 1) << "capital height";
    const auto [barStart, barEnd] = firstRun(shape, 13);
    EXPECT_EQ(barStart, 0);
    // The face's T is a little wider and its bar a row thinner than the
    // samples': 28 x 6 within 2 columns and 1 row.
    EXPECT_NEAR(barEnd - barStart, 28, 2) << "bar width";
    int barRows = 0;
    while (firstRun(shape, 13 + barRows).second - firstRun(shape, 13 + barRows).first > 8)
        ++barRows;
    EXPECT_NEAR(barRows, 6, 1) << "bar height";

    // The x stands alone between the e and the t. The face's lower case is
    // three quarters of its capital height, the samples' two thirds: 31 rows
    // and up to 3 more.
    const QList<QRect> groups = columnGroups(shape);
    ASSERT_GE(groups.size(), 3);
    const int lowerCase = groups[groups.size() - 2].height();
    EXPECT_GE(lowerCase, 31);
    EXPECT_LE(lowerCase, 34);
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

// The stored samples' colours at the top, middle and bottom rows of their
// letters, exactly. ("Losowe kreski" has random colours.)
class PreviewColours : public testing::TestWithParam<RowColours> {};

TEST_P(PreviewColours, MatchTheStoredSamplesAtTopMiddleAndBottom) {
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
        EXPECT_EQ(QColor(found), QColor(expected[i])) << "row " << rows[i];
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
