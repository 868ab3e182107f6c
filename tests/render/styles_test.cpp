#include "render/styles.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <vector>

using namespace pismolot;

namespace {

struct Rgb {
    int r, g, b;
};

struct EndCase {
    int style;
    Rgb at0;
    Rgb at255;
};

class StyleEnds : public testing::TestWithParam<EndCase> {};

void expectColour(ColourValue c, Rgb rgb, const char* where) {
    EXPECT_EQ(c.red(), rgb.r) << where;
    EXPECT_EQ(c.green(), rgb.g) << where;
    EXPECT_EQ(c.blue(), rgb.b) << where;
    EXPECT_FALSE(c.isSystem()) << where;
}

TEST_P(StyleEnds, EndColours) {
    StyleRandom random;
    const EndCase c = GetParam();
    expectColour(styleColour(c.style, 0, random), c.at0, "g = 0");
    expectColour(styleColour(c.style, 255, random), c.at255, "g = 255");
}

INSTANTIATE_TEST_SUITE_P(
    Table, StyleEnds,
    testing::Values(EndCase{0, {255, 11, 100}, {0, 11, 100}}, EndCase{1, {0, 0, 255}, {0, 0, 0}},
                    EndCase{2, {255, 41, 200}, {0, 41, 200}},
                    EndCase{3, {255, 255, 255}, {0, 0, 0}}, EndCase{4, {128, 0, 255}, {1, 0, 0}},
                    EndCase{5, {255, 33, 130}, {0, 33, 2}}, EndCase{6, {255, 255, 97}, {0, 0, 97}},
                    EndCase{8, {255, 100, 14}, {0, 100, 14}},
                    EndCase{9, {40, 255, 44}, {40, 0, 44}}, EndCase{10, {0, 40, 12}, {255, 40, 12}},
                    EndCase{11, {0, 255, 60}, {255, 0, 60}},
                    EndCase{12, {255, 0, 255}, {0, 255, 0}}),
    [](const testing::TestParamInfo<EndCase>& info) {
        return "style" + std::to_string(info.param.style);
    });

TEST(StyleHalvings, FourFloorsFirstFiveSubtractsFirst) {
    StyleRandom random;
    EXPECT_EQ(styleColour(4, 1, random).red(), 128);
    EXPECT_EQ(styleColour(4, 3, random).red(), 127);
    EXPECT_EQ(styleColour(4, 255, random).red(), 1);
    EXPECT_EQ(styleColour(5, 1, random).blue(), 129);
    EXPECT_EQ(styleColour(5, 3, random).blue(), 128);
    EXPECT_EQ(styleColour(5, 255, random).blue(), 2);
}

TEST(StyleGradients, EveryComponentStaysInRangeAndIgnoresNothingButG) {
    for (int style = 0; style < StyleCount; ++style) {
        if (style == RandomStripesStyle)
            continue;
        for (int g = 0; g <= 255; ++g) {
            StyleRandom a, b;
            const ColourValue c = styleColour(style, g, a);
            EXPECT_EQ(c, styleColour(style, g, b));
            EXPECT_EQ(a.next(), b.next()) << "gradient styles must not draw";
            EXPECT_EQ(c.raw() >> 24, 0u) << style << " " << g;
        }
    }
}

TEST(RandomStripes, ThreeDrawsPerCallRedGreenBlueNever255) {
    StyleRandom stripes, draws;
    std::set<std::uint32_t> seen;
    for (int row = 0; row < 2000; ++row) {
        const ColourValue c = styleColour(RandomStripesStyle, row % 256, stripes);
        EXPECT_EQ(c.red(), int(255.0f * draws.next()));
        EXPECT_EQ(c.green(), int(255.0f * draws.next()));
        EXPECT_EQ(c.blue(), int(255.0f * draws.next()));
        EXPECT_LT(c.red(), 255);
        EXPECT_LT(c.green(), 255);
        EXPECT_LT(c.blue(), 255);
        seen.insert(c.raw());
    }
    EXPECT_GT(seen.size(), 1900u) << "stripes should look random";
}

TEST(RandomStripes, EveryStartRepeatsTheSameSequence) {
    StyleRandom first, second;
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(styleColour(7, 0, first), styleColour(7, 200, second));
}

TEST(StyleRandomSource, UniformInUnitInterval) {
    StyleRandom random;
    int buckets[10] = {};
    const int n = 100000;
    for (int i = 0; i < n; ++i) {
        const float u = random.next();
        ASSERT_GE(u, 0.0f);
        ASSERT_LT(u, 1.0f);
        ++buckets[int(u * 10)];
    }
    for (int count : buckets)
        EXPECT_NEAR(count, n / 10, n / 100);
}

TEST(ColourValues, SystemReferencesResolveAsTheSystemShowsThem) {
    EXPECT_TRUE(syscolour::CaptionText.isSystem());
    EXPECT_EQ(syscolour::CaptionText.raw(), 0x80000009u);
    EXPECT_EQ(syscolour::ButtonFace.raw(), 0x8000000Fu);
    const int references[] = {
        syscolour::CaptionText.systemIndex(), syscolour::MenuText.systemIndex(),
        syscolour::HighlightText.systemIndex(), syscolour::ButtonFace.systemIndex()};
    const ColourValue standard[] = {ColourValue::rgb(255, 255, 255), ColourValue::rgb(0, 0, 0),
                                    ColourValue::rgb(255, 255, 255),
                                    ColourValue::rgb(192, 192, 192)};
    for (std::size_t i = 0; i < std::size(references); ++i) {
        EXPECT_EQ(standardSystemColour(references[i]), standard[i]) << references[i];
        // Read from the system when asked: Linux has the standard scheme,
        // Windows the user's own (tests/windows checks a changed scheme).
        EXPECT_EQ(ColourValue::system(references[i]).toRgb(), resolveSystemColour(references[i]));
#ifndef _WIN32
        EXPECT_EQ(resolveSystemColour(references[i]), standard[i]) << references[i];
#endif
    }
    EXPECT_EQ(ColourValue::system(200).toRgb(), ColourValue::rgb(0, 0, 0));
    EXPECT_EQ(standardSystemColour(-1), ColourValue::rgb(0, 0, 0));
    EXPECT_EQ(ColourValue::rgb(1, 2, 3).raw(), 0x030201u);
    EXPECT_EQ(ColourValue::rgb(1, 2, 3).toArgb(), 0xFF010203u);
}

} // namespace
