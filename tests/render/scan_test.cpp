#include "render/headless.h"
#include "render/scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace pismolot;

namespace {

std::vector<int> levelsOf(const ScanPlan& plan) {
    std::vector<int> levels;
    forEachRowLevel(plan, [&](int y, int level) {
        EXPECT_EQ(y, int(levels.size()) + 1);
        levels.push_back(level);
    });
    return levels;
}

TEST(RowLevels, WorkedExamples) {
    EXPECT_EQ(levelsOf(planScan(100, 300, 15, 15, 28800)),
              (std::vector<int>{12,  25,  38,  51,  63,  76,  89,  102, 114, 127,
                                140, 153, 165, 178, 191, 204, 216, 229, 242, 255}));
    EXPECT_EQ(levelsOf(planScan(100, 135, 15, 15, 28800)),
              (std::vector<int>{28, 56, 85, 113, 141, 170, 198, 226, 254}));
}

struct RowsCase {
    float heightTwips;
    int rows;
    int firstLevel;
    int lastLevel; // -1: either 254 or 255
};

class Rows : public testing::TestWithParam<RowsCase> {};

TEST_P(Rows, RoundHalfEvenAndFirstLevel) {
    const ScanPlan plan = planScan(150, GetParam().heightTwips, 15, 15, 28800);
    EXPECT_EQ(plan.rows, GetParam().rows);
    const auto levels = levelsOf(plan);
    ASSERT_EQ(int(levels.size()), GetParam().rows);
    if (!levels.empty()) {
        EXPECT_EQ(levels.front(), GetParam().firstLevel);
        if (GetParam().lastLevel < 0)
            EXPECT_GE(levels.back(), 254);
        else
            EXPECT_EQ(levels.back(), GetParam().lastLevel);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Rows,
                         testing::Values(RowsCase{307.5f, 20, 12, 248}, // q = 20.5: 20 rows
                                         RowsCase{322.5f, 22, 11, 255}, // q = 21.5: 22, clamped
                                         RowsCase{0, 0, 0, 0},          // zero height
                                         RowsCase{7.5f, 0, 0, 0},       // q = 0.5 rounds to 0
                                         RowsCase{10, 1, 255, 255},     // q below 1
                                         RowsCase{6000, 400, 0, -1}));  // taller than 255 px

TEST(Plan, WidthClampedToScreenHeightNot) {
    const ScanPlan plan = planScan(50000, 50000, 15, 15, 28800);
    EXPECT_FLOAT_EQ(plan.W, 28800);
    EXPECT_EQ(plan.cols, 1920);
    EXPECT_FLOAT_EQ(plan.H, 50000);
    EXPECT_EQ(plan.rows, 3333);
}

struct ColumnsCase {
    const char* name;
    int dpi;
    int pixels; // the picture's width
};

class Columns : public testing::TestWithParam<ColumnsCase> {};

// The scan covers every column of a picture W twips wide: cols comes from the
// screen's own twips per pixel, also where it is fractional (7.5 at 192 DPI
// used to be rounded to 8, leaving the right edge of wide pictures unscanned).
// The renderer's screen as wide as the picture: 1440 / dpi twips a pixel,
// pixels to twips and back unchanged, one more column clamped away.
TEST_P(Columns, EqualThePicturesWidth) {
    const ColumnsCase& c = GetParam();
    const float tpp = 1440.0f / float(c.dpi);
    const float width = float(c.pixels) * tpp;
    const ScanPlan plan = planScan(width, width, tpp, tpp, 1e9f);
    EXPECT_EQ(plan.cols, c.pixels);
    EXPECT_EQ(plan.rows, c.pixels);
    EXPECT_EQ(plan.cols, twipsToPixelCount(plan.W, tpp));

    const ScreenMetrics screen = screenAt(c.dpi, c.pixels);
    EXPECT_FLOAT_EQ(screen.tppx * float(c.dpi), 1440.0f);
    EXPECT_FLOAT_EQ(screen.tppy * float(c.dpi), 1440.0f);
    EXPECT_FLOAT_EQ(screen.widthTwips, width);
    const TextExtent wider = pixelsToTwips(screen, QSize(c.pixels + 1, c.pixels));
    const ScanPlan clamped =
        planScan(wider.width, wider.height, screen.tppx, screen.tppy, screen.widthTwips);
    EXPECT_EQ(QSize(clamped.cols, clamped.rows), QSize(c.pixels, c.pixels));
    EXPECT_EQ(twipsToPixels(screen, clamped.W, clamped.H), QSize(c.pixels, c.pixels));
}

INSTANTIATE_TEST_SUITE_P(
    Dpi, Columns,
    testing::Values(ColumnsCase{"dpi96", 96, 333}, ColumnsCase{"dpi100", 100, 10},
                    ColumnsCase{"dpi100_screen", 100, 1920}, ColumnsCase{"dpi110", 110, 1366},
                    ColumnsCase{"dpi120", 120, 401}, ColumnsCase{"dpi144", 144, 1920},
                    ColumnsCase{"dpi168_was_324", 168, 340},
                    ColumnsCase{"dpi192_was_366", 192, 390},
                    ColumnsCase{"dpi216_was_410", 216, 430}),
    [](const testing::TestParamInfo<ColumnsCase>& info) { return std::string(info.param.name); });

TEST(Plan, HalfColumnRoundsToEvenNoTwipsPerPixelNoColumns) {
    EXPECT_EQ(planScan(15 * 20.5f, 15, 15, 15, 1e6f).cols, 20);
    EXPECT_EQ(planScan(15 * 21.5f, 15, 15, 15, 1e6f).cols, 22);
    EXPECT_EQ(planScan(150, 150, 0, 15, 1e6f).cols, 0);
}

// A raster in memory with a stride wider than its width, so stride mistakes show.
struct TestRaster {
    int width, height;
    std::ptrdiff_t stride;
    std::vector<std::uint32_t> pixels;
    TestRaster(int w, int h, std::uint32_t fill)
        : width(w), height(h), stride(w + 3), pixels(std::size_t(stride * h), fill) {}
    RasterView view() { return {pixels.data(), stride, width, height}; }
    std::uint32_t& at(int x, int y) { return pixels[std::size_t(y * stride + x)]; }
};

constexpr std::uint32_t White = 0xFFFFFFFF;
constexpr std::uint32_t Black = 0xFF000000;
constexpr std::uint32_t Background = 0xFF123456;

struct HoldsCase {
    const char* name;
    std::uint32_t pixel;
    bool letter;
    bool coloured;
};

class Holds : public testing::TestWithParam<HoldsCase> {};

// One such pixel among white ones is found in any corner of the raster, and
// never in the stride's padding beyond its width.
TEST_P(Holds, OnePixelAnywhereNeverInThePadding) {
    const HoldsCase& c = GetParam();
    for (const QPoint at : {QPoint(0, 0), QPoint(36, 0), QPoint(0, 4), QPoint(36, 4)}) {
        TestRaster raster(37, 5, White);
        raster.at(at.x(), at.y()) = c.pixel;
        EXPECT_EQ(holdsLetterPixel(asConst(raster.view())), c.letter) << at.x() << "," << at.y();
        EXPECT_EQ(holdsColouredPixel(asConst(raster.view())), c.coloured)
            << at.x() << "," << at.y();
    }
    TestRaster padded(37, 5, c.pixel);
    for (int y = 0; y < padded.height; ++y)
        for (int x = 0; x < padded.width; ++x)
            padded.at(x, y) = White;
    EXPECT_FALSE(holdsLetterPixel(asConst(padded.view())));
    EXPECT_FALSE(holdsColouredPixel(asConst(padded.view())));
}

INSTANTIATE_TEST_SUITE_P(
    Pixels, Holds,
    testing::Values(HoldsCase{"black", Black, true, false},
                    HoldsCase{"black_without_alpha", 0x00000000u, true, false},
                    HoldsCase{"white_without_alpha", 0x00FFFFFFu, false, false},
                    HoldsCase{"near_black", 0xFF000001u, false, true},
                    HoldsCase{"near_white", 0xFFFFFEFFu, false, true},
                    HoldsCase{"emoji_orange", 0xFFFFA000u, false, true}),
    [](const testing::TestParamInfo<HoldsCase>& info) { return std::string(info.param.name); });

TEST(Scan, MatchesReferenceOnRandomRasters) {
    const unsigned seed = std::random_device{}();
    std::mt19937 rng(seed);
    for (int round = 0; round < 60; ++round) {
        std::uniform_int_distribution<int> size(0, 70);
        TestRaster scratch(size(rng), size(rng), White);
        for (auto& p : scratch.pixels) {
            const int kind = int(rng() % 4);
            p = kind == 0 ? Black : kind == 1 ? 0x00000000u : kind == 2 ? 0xFF010101u : White;
        }
        TestRaster fast(size(rng), size(rng), Background);
        TestRaster slow = fast;
        const float tpp = float(1 + rng() % 30);
        const ScanPlan plan =
            planScan(float(rng() % 1200), float(rng() % 1200), tpp, tpp, float(rng() % 1500));
        const int style = int(rng() % 13);
        StyleRandom r1, r2;
        scanLetters(asConst(scratch.view()), fast.view(), plan, style, r1);
        scanLettersReference(asConst(scratch.view()), slow.view(), plan, style, r2);
        ASSERT_EQ(fast.pixels, slow.pixels) << "seed " << seed << " round " << round;
        ASSERT_EQ(r1.next(), r2.next()) << "seed " << seed << ": both draw the same count";
    }
}

// The transparent picture keeps alpha exactly where the scan wrote: found by
// scanning onto an output whose untouched pixels have alpha 0.
TEST(Scan, UnwrittenAlphaClearedExactlyWhereTheScanDidNotWrite) {
    const unsigned seed = std::random_device{}();
    std::mt19937 rng(seed);
    for (int round = 0; round < 60; ++round) {
        std::uniform_int_distribution<int> size(0, 50);
        TestRaster scratch(size(rng), size(rng), White);
        for (auto& p : scratch.pixels)
            p = rng() % 3 == 0 ? Black : White;
        TestRaster output(size(rng), size(rng), 0x00ABCDEFu);
        const ScanPlan plan = planScan(float(rng() % 900), float(rng() % 900), 15, 15, 1e9f);
        StyleRandom random;
        scanLettersReference(asConst(scratch.view()), output.view(), plan, 3, random);
        TestRaster picture(size(rng), size(rng), 0xFF123456u);
        clearUnwrittenAlpha(asConst(scratch.view()), asConst(output.view()), plan.cols, plan.rows,
                            picture.view());
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                const bool written = output.view().contains(x, y) && output.at(x, y) >> 24 == 0xFF;
                ASSERT_EQ(picture.at(x, y), written ? 0xFF123456u : 0x00123456u)
                    << "seed " << seed << " round " << round << " at " << x << "," << y;
            }
        }
    }
}

TEST(Scan, OnlyExactlyBlackFromRowOneColumnOneUpToColsAndRows) {
    TestRaster scratch(12, 12, Black);
    scratch.at(3, 3) = 0xFF010000; // dark grey edge pixel: not a letter
    scratch.at(4, 4) = 0xFF808080;
    TestRaster out(12, 12, Background);
    const ScanPlan plan = planScan(15 * 8, 15 * 8, 15, 15, 1e6f); // cols = rows = 8
    StyleRandom random;
    scanLetters(asConst(scratch.view()), out.view(), plan, 3, random);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool written =
                x >= 1 && y >= 1 && x <= 8 && y <= 8 && !(x == 3 && y == 3) && !(x == 4 && y == 4);
            EXPECT_EQ(out.at(x, y) != Background, written) << x << "," << y;
        }
    }
    // Style 3 at row 8 of 8: level floor(8 * 31.875) = 255, black.
    EXPECT_EQ(out.at(5, 8), 0xFF000000u);
    EXPECT_EQ(out.at(5, 1), 0xFFE0E0E0u); // level 31: 224 grey
}

TEST(Scan, ZeroHeightWritesNothingEmptySurfacesAreSafe) {
    TestRaster scratch(10, 10, Black);
    TestRaster out(10, 10, Background);
    StyleRandom random;
    scanLetters(asConst(scratch.view()), out.view(), planScan(150, 0, 15, 15, 1e6f), 0, random);
    EXPECT_EQ(out.pixels, TestRaster(10, 10, Background).pixels);
    scanLetters(ConstRasterView{}, RasterView{}, planScan(150, 150, 15, 15, 1e6f), 7, random);
}

TEST(Scan, RowsBelowTheScratchStillDrawTheirRandomNumbers) {
    TestRaster scratch(5, 5, Black);
    TestRaster out(5, 5, Background);
    const ScanPlan plan = planScan(60, 15 * 40, 15, 15, 1e6f); // 40 rows, surfaces of 5
    StyleRandom used, expected;
    scanLetters(asConst(scratch.view()), out.view(), plan, RandomStripesStyle, used);
    for (int i = 0; i < 3 * 40; ++i)
        expected.next();
    EXPECT_EQ(used.next(), expected.next());
}

} // namespace
