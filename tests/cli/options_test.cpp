#include "options.h"

#include <gtest/gtest.h>

using namespace pismolot;
using namespace pismolot::cli;

namespace {

QStringList split(const char* line) {
    return QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

struct BadCase {
    const char* name;
    QStringList args;
    const char* errorPart;
};

class BadArguments : public testing::TestWithParam<BadCase> {};

TEST_P(BadArguments, RefusedWithOneClearLine) {
    const ParseResult r = parseArguments(GetParam().args);
    EXPECT_FALSE(r.options.has_value());
    EXPECT_TRUE(r.error.contains(QString::fromUtf8(GetParam().errorPart))) << r.error.toStdString();
    EXPECT_FALSE(r.error.contains(QLatin1Char('\n')));
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadArguments,
    testing::Values(BadCase{"unknown", split("--sparkle Text"), "unknown option"},
                    BadCase{"missingText", split("--bold"), "missing TEXT"},
                    BadCase{"twoTexts", split("a b"), "only one TEXT"},
                    BadCase{"style13", split("--style 13 T"), "unknown style"},
                    BadCase{"styleMinus", split("--style -1 T"), "unknown style"},
                    BadCase{"styleName", split("--style Szare T"), "unknown style"},
                    BadCase{"colourShort", split("--background #12345 T"), "malformed colour"},
                    BadCase{"colourWord", split("--background red T"), "malformed colour"},
                    BadCase{"sizeZero", split("--size 0 T"), "size not accepted"},
                    BadCase{"sizeHuge", split("--size 2048.5 T"), "size not accepted"},
                    BadCase{"sizeNan", split("--size nan T"), "size not accepted"},
                    BadCase{"sizeWord", split("--size big T"), "size not accepted"},
                    BadCase{"screenForm", split("--screen 100 T"), "malformed --screen"},
                    BadCase{"screenZero", split("--screen 0x10 T"), "malformed --screen"},
                    BadCase{"dpiWord", split("--dpi x T"), "malformed --dpi"},
                    BadCase{"dpiHuge", split("--dpi 100000 T"), "malformed --dpi"},
                    BadCase{"noValue", split("T --output"), "needs a value"},
                    BadCase{"lineBreak", QStringList{QStringLiteral("a\nb")}, "line break"}),
    [](const testing::TestParamInfo<BadCase>& info) { return std::string(info.param.name); });

TEST(GoodArguments, EveryOptionLands) {
    const ParseResult r = parseArguments(
        {QStringLiteral("-o"), QStringLiteral("x.PNG"), QStringLiteral("--font"),
         QStringLiteral("DejaVu Serif"), QStringLiteral("--size=12.5"), QStringLiteral("--bold"),
         QStringLiteral("--italic"), QStringLiteral("--underline"), QStringLiteral("--style"),
         QStringLiteral("Żółty"), QStringLiteral("--background"), QStringLiteral("#0a0B0c"),
         QStringLiteral("--screen"), QStringLiteral("800x600"), QStringLiteral("--dpi"),
         QStringLiteral("120"), QStringLiteral("Zażółć gęślą")});
    ASSERT_TRUE(r.options) << r.error.toStdString();
    const Options& o = *r.options;
    EXPECT_EQ(o.output, QStringLiteral("x.PNG"));
    EXPECT_TRUE(wantsPng(o.output));
    EXPECT_EQ(o.settings.font,
              (FontChoice{QStringLiteral("DejaVu Serif"), 12.5f, true, true, true}));
    EXPECT_EQ(o.settings.styleIndex, 6);
    EXPECT_EQ(o.settings.background, ColourValue::rgb(10, 11, 12));
    EXPECT_EQ(o.screen, QSize(800, 600));
    EXPECT_EQ(o.dpi, 120);
    EXPECT_EQ(o.settings.text, QStringLiteral("Zażółć gęślą"));
}

TEST(GoodArguments, Defaults) {
    const ParseResult r = parseArguments({QStringLiteral("Text")});
    ASSERT_TRUE(r.options);
    EXPECT_EQ(r.options->output, QStringLiteral("pismolot.bmp"));
    EXPECT_FALSE(wantsPng(r.options->output));
    EXPECT_EQ(r.options->settings.background, syscolour::CaptionText);
    EXPECT_EQ(r.options->settings.font.size, 24.0f);
    EXPECT_EQ(r.options->settings.styleIndex, 0);
    EXPECT_EQ(r.options->screen, QSize(1920, 1080));
    EXPECT_EQ(r.options->dpi, 96);
    EXPECT_FALSE(wantsPng(QStringLiteral("picture")));
    EXPECT_FALSE(wantsPng(QStringLiteral("picture.png.bmp")));
}

TEST(GoodArguments, TextMayStartWithADashAfterDoubleDash) {
    const ParseResult r = parseArguments({QStringLiteral("--"), QStringLiteral("-5 stopni")});
    ASSERT_TRUE(r.options);
    EXPECT_EQ(r.options->settings.text, QStringLiteral("-5 stopni"));
    EXPECT_EQ(parseArguments({QStringLiteral("--list-styles")}).options->action,
              Action::ListStyles);
}

} // namespace
