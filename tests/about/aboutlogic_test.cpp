#include "about/aboutlogic.h"

#include <gtest/gtest.h>

using about::ButtonColours;
using about::Spot;
using pismolot::ColourValue;

namespace {
constexpr ColourValue G = about::NormalColour;
constexpr ColourValue M = about::HighlightColour;
} // namespace

TEST(AboutGradient, BandHeightRoundsHalfToEven) {
    struct Case {
        float scaleHeight;
        int band;
    };
    const Case cases[] = {
        {3060.0f, 12}, // the stored client height
        {3000.0f, 12}, // 11.76
        {3187.5f, 12}, // 12.5 -> even 12
        {3442.5f, 14}, // 13.5 -> even 14
        {127.0f, 0},   // 0.498
        {0.0f, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(about::bandHeight(c.scaleHeight), c.band) << c.scaleHeight;
}

TEST(AboutGradient, BandsAtTheStoredSize) {
    const std::vector<about::Band> bands = about::gradientBands(3060.0f);
    ASSERT_EQ(bands.size(), 256u);
    EXPECT_EQ(bands.front().top, 0);
    EXPECT_EQ(bands.front().colour, ColourValue::rgb(255, 11, 255));
    EXPECT_EQ(bands.back().top, 3060) << "the last band starts at the bottom edge";
    EXPECT_EQ(bands.back().colour, ColourValue::rgb(0, 11, 0));
    for (std::size_t i = 1; i < bands.size(); ++i) {
        ASSERT_EQ(bands[i].top, bands[i - 1].top + 12) << i;
        ASSERT_EQ(bands[i].height, 12) << i;
        ASSERT_EQ(bands[i].colour, ColourValue::rgb(255 - int(i), 11, 255 - int(i))) << i;
    }
}

TEST(AboutHover, MouseMoveRules) {
    struct Case {
        const char* name;
        ButtonColours before;
        Spot spot;
        ButtonColours after;
    };
    const Case cases[] = {
        {"onto OK", {G, G, G}, Spot::Command1, {M, G, G}},
        {"OK straight onto WWW", {M, G, G}, Spot::Command2, {G, M, G}},
        {"onto Mail", {G, M, G}, Spot::Command3, {G, G, M}},
        {"staying on Mail", {G, G, M}, Spot::Command3, {G, G, M}},
        {"Label1 changes nothing", {G, M, G}, Spot::Label1, {G, M, G}},
        {"Label2 changes nothing", {M, G, G}, Spot::Label2, {M, G, G}},
        {"Label3 clears", {G, G, M}, Spot::Label3, {G, G, G}},
        {"background clears", {M, G, G}, Spot::Background, {G, G, G}},
        {"odd colours reset", {ColourValue::rgb(1, 2, 3), G, M}, Spot::Command1, {M, G, G}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(about::afterMouseMove(c.before, c.spot), c.after) << c.name;
}

TEST(AboutCentre, CentredFromTheOuterSizeHalvesToEven) {
    struct Case {
        QRect screen;
        QSize outer;
        QPoint topLeft;
    };
    const Case cases[] = {
        {{0, 0, 1280, 1024}, {320, 230}, {480, 397}},
        {{0, 0, 1280, 1024}, {321, 231}, {480, 396}}, // 479.5 -> 480, 396.5 -> 396
        {{100, 50, 800, 600}, {200, 100}, {400, 300}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(about::centredTopLeft(c.screen, c.outer), c.topLeft);
}
