#include "options.h"
#include "render/filename.h"

#include <gtest/gtest.h>

using namespace pismolot;
using namespace pismolot::cli;

namespace {

QStringList split(const char* line) {
    return QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool everyFormat(ImageFormat) {
    return true;
}

bool noWebp(ImageFormat format) {
    return format != ImageFormat::Webp;
}

struct BadCase {
    const char* name;
    QStringList args;
    const char* errorPart;
};

class BadArguments : public testing::TestWithParam<BadCase> {};

TEST_P(BadArguments, RefusedWithOneLine) {
    const ParseResult r = parseArguments(GetParam().args, everyFormat);
    EXPECT_FALSE(r.options.has_value());
    EXPECT_TRUE(r.error.contains(QString::fromUtf8(GetParam().errorPart))) << r.error.toStdString();
    EXPECT_FALSE(r.error.contains(QLatin1Char('\n')));
    EXPECT_FALSE(r.error.contains(QLatin1Char('\r')));
    // One style for every message, Qt's parser's too: no capital to start
    // (but a placeholder such as TEXT), no full stop to end.
    const QString first = r.error.section(QLatin1Char(' '), 0, 0);
    EXPECT_TRUE(!first.front().isUpper() || first == first.toUpper()) << r.error.toStdString();
    EXPECT_FALSE(r.error.endsWith(QLatin1Char('.'))) << r.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadArguments,
    testing::Values(
        BadCase{"unknown", split("--sparkle Text"), "unknown option 'sparkle'"},
        BadCase{"unknownWithLineFeed",
                {QStringLiteral("--a\nb"), QStringLiteral("T")},
                "unknown option"},
        BadCase{"flagWithValue", split("--bold=no T"), "unexpected value after '--bold'"},
        BadCase{"flagWithFalse", split("--italic=false T"), "unexpected value"},
        BadCase{"helpWithValue", split("--help=foo"), "unexpected value after '--help'"},
        BadCase{
            "textNotUtf8", {decodeFileName("T\xFF")}, "TEXT is not valid UTF-8 (byte offset 1)"},
        BadCase{"fontNotUtf8",
                {QStringLiteral("--font"), decodeFileName("\xC3("), QStringLiteral("T")},
                "the value of --font is not valid UTF-8 (byte offset 0)"},
        BadCase{"missingText", split("--bold"), "missing TEXT"},
        BadCase{"twoTexts", split("a b"), "only one TEXT"},
        BadCase{"style13", split("--style 13 T"), "unknown style"},
        BadCase{"styleMinus", split("--style -1 T"), "unknown style"},
        BadCase{"styleNameCase", split("--style Szare T"), "unknown style"},
        BadCase{"styleLineFeed",
                {QStringLiteral("--style"), QStringLiteral("7\n"), QStringLiteral("T")},
                "unknown style: \"7\\n\""},
        BadCase{"colourShort", split("--background #12345 T"), "malformed colour"},
        BadCase{"colourWord", split("--background red T"), "malformed colour"},
        BadCase{"colourLineFeed",
                {QStringLiteral("--background"), QStringLiteral("123456\n"), QStringLiteral("T")},
                "malformed colour: \"123456\\n\""},
        BadCase{"sizeZero", split("--size 0 T"), "size not accepted"},
        BadCase{"sizeBelowFloat", split("--size 1e-50 T"), "size not accepted"},
        BadCase{"sizeNegative", split("--size=-3 T"), "size not accepted"},
        BadCase{"sizeHuge", split("--size 2048.5 T"), "size not accepted"},
        BadCase{"sizeNan", split("--size nan T"), "size not accepted"},
        BadCase{"sizeInfinity", split("--size inf T"), "size not accepted"},
        BadCase{"sizeWord", split("--size big T"), "size not accepted"},
        BadCase{"sizeSpace",
                {QStringLiteral("--size"), QStringLiteral(" 24"), QStringLiteral("T")},
                "size not accepted"},
        BadCase{"sizeLineFeed",
                {QStringLiteral("--size"), QStringLiteral("24\n"), QStringLiteral("T")},
                "size not accepted"},
        BadCase{"sizeNotDrawable", split("--size 2048 --dpi 720 T"),
                "size 2048 pt is too large at 720 dpi: the font engine draws at most 16384 pixels "
                "per em (size x dpi / 72), that is 1638.39 pt here"},
        BadCase{"sizeNotDrawableDpiFirst", split("--dpi 1440 --size 820 T"),
                "that is 819.19 pt here"},
        BadCase{"screenForm", split("--screen 100 T"), "malformed --screen"},
        BadCase{"screenZero", split("--screen 0x10 T"), "malformed --screen"},
        BadCase{"screenHuge", split("--screen 16385x10 T"), "malformed --screen"},
        BadCase{"screenTall", split("--screen 10x16385 T"), "malformed --screen"},
        BadCase{"screenNoHeight", split("--screen 10x0 T"), "malformed --screen"},
        BadCase{"screenLineFeed",
                {QStringLiteral("--screen"), QStringLiteral("100x100\n"), QStringLiteral("T")},
                "malformed --screen: \"100x100\\n\""},
        BadCase{"screenArabicDigits",
                {QStringLiteral("--screen"), QStringLiteral("١٠٠x100"), QStringLiteral("T")},
                "malformed --screen"},
        BadCase{"dpiWord", split("--dpi x T"), "malformed --dpi"},
        BadCase{"dpiHuge", split("--dpi 100000 T"), "malformed --dpi"},
        BadCase{"dpiLow", split("--dpi 23 T"), "malformed --dpi"},
        BadCase{"dpiHigh", split("--dpi 1441 T"), "malformed --dpi"},
        BadCase{"jobsZero", split("--jobs 0 --batch b"), "malformed --jobs"},
        BadCase{"jobsMany", split("--jobs 257 --batch b"), "malformed --jobs"},
        BadCase{"noValue", split("T --output"), "missing value after '--output'"},
        BadCase{"emptyOutput",
                {QStringLiteral("-o"), QString(), QStringLiteral("T")},
                "option --output needs a file name"},
        BadCase{"emptyFont",
                {QStringLiteral("--font="), QStringLiteral("T")},
                "option --font needs a font family name"},
        BadCase{"lineBreak", {QStringLiteral("a\nb")}, "line break"},
        BadCase{"carriageReturn", {QStringLiteral("a\rb")}, "line break"},
        BadCase{"unknownFormat", split("--format gif T"), "unknown --format: \"gif\""},
        BadCase{"textAndTextFile", split("--text-file t.txt T"),
                "TEXT and --text-file cannot be used together"},
        BadCase{"batchAndText", split("--batch b T"), "--batch takes no TEXT"},
        BadCase{"batchAndTextFile", split("--batch b --text-file t"),
                "--batch and --text-file cannot be used together"},
        BadCase{"batchAndOutput", split("--batch b -o x.bmp"), "--batch takes no --output"},
        BadCase{"batchTransparentBmp", split("--batch b --transparent --format bmp"),
                "--transparent needs PNG, WebP, SVG or PDF"},
        BadCase{"transparentBmp", split("--transparent -o x.bmp T"),
                "--transparent needs PNG, WebP, SVG or PDF, and \"x.bmp\" is BMP"},
        BadCase{"transparentJpeg", split("--transparent -o x.jpg T"), "is JPEG"},
        BadCase{"transparentPpm", split("--transparent --format ppm -o x.png T"), "is PPM"},
        BadCase{"transparentNoExtension", split("--transparent -o picture T"), "is BMP"},
        BadCase{"transparentStandardOutput", split("--transparent -o - T"),
                "standard output is BMP"},
        BadCase{"unknownExtension", split("-o x.xyz T"), "unknown format .xyz; use --format"},
        BadCase{"gifExtension", split("-o x.GIF T"), "unknown format .GIF; use --format"}),
    [](const testing::TestParamInfo<BadCase>& info) { return std::string(info.param.name); });

struct FormatCase {
    const char* name;
    QStringList args;
    bool webpInstalled;
    std::optional<ImageFormat> format; // nothing: refused
};

class FormatSelection : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatSelection, ExtensionOrFormatOption) {
    const FormatCase& c = GetParam();
    const ParseResult r = parseArguments(c.args + QStringList{QStringLiteral("T")},
                                         c.webpInstalled ? everyFormat : noWebp);
    if (!c.format) {
        EXPECT_FALSE(r.options.has_value());
        EXPECT_TRUE(r.error.contains(QStringLiteral("cannot write WebP"))) << r.error.toStdString();
        return;
    }
    ASSERT_TRUE(r.options) << r.error.toStdString();
    EXPECT_EQ(r.options->format, *c.format);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatSelection,
    testing::Values(
        FormatCase{"default", {}, true, ImageFormat::Bmp},
        FormatCase{"bmp", split("-o x.bmp"), true, ImageFormat::Bmp},
        FormatCase{"noExtension", split("-o picture"), true, ImageFormat::Bmp},
        FormatCase{"dotInFolderOnly", split("-o a.d/picture"), true, ImageFormat::Bmp},
        FormatCase{"trailingDot", split("-o picture."), true, ImageFormat::Bmp},
        FormatCase{"png", split("-o x.png"), true, ImageFormat::Png},
        FormatCase{"pngUpper", split("-o x.PnG"), true, ImageFormat::Png},
        FormatCase{"jpg", split("-o x.jpg"), true, ImageFormat::Jpeg},
        FormatCase{"jpeg", split("-o x.JPEG"), true, ImageFormat::Jpeg},
        FormatCase{"ppm", split("-o x.ppm"), true, ImageFormat::Ppm},
        FormatCase{"webp", split("-o x.webp"), true, ImageFormat::Webp},
        FormatCase{"webpMissing", split("-o x.webp"), false, std::nullopt},
        FormatCase{"formatWebpMissing", split("--format webp -o x"), false, std::nullopt},
        FormatCase{"lastDotCounts", split("-o x.png.bmp"), true, ImageFormat::Bmp},
        FormatCase{"formatOverridesExtension", split("--format png -o x.bmp"), true,
                   ImageFormat::Png},
        FormatCase{"formatOverridesUnknown", split("--format jpg -o x.xyz"), true,
                   ImageFormat::Jpeg},
        FormatCase{"formatUpperCase", split("--format PPM -o x"), true, ImageFormat::Ppm},
        FormatCase{"formatJpegAlias", split("--format jpeg -o x"), true, ImageFormat::Jpeg},
        FormatCase{"standardOutput", split("-o -"), true, ImageFormat::Bmp},
        FormatCase{"standardOutputPng", split("--format png -o -"), true, ImageFormat::Png},
        FormatCase{"transparentPng", split("--transparent -o x.png"), true, ImageFormat::Png},
        FormatCase{"transparentWebp", split("--transparent -o x.webp"), true, ImageFormat::Webp},
        FormatCase{"svg", split("-o x.svg"), true, ImageFormat::Svg},
        FormatCase{"pdfUpper", split("-o X.PDF"), true, ImageFormat::Pdf},
        FormatCase{"standardOutputSvg", split("--format svg -o -"), true, ImageFormat::Svg},
        FormatCase{"pdfOverExtension", split("--format pdf -o x.png"), true, ImageFormat::Pdf},
        FormatCase{"transparentSvg", split("--transparent -o x.svg"), true, ImageFormat::Svg},
        FormatCase{"transparentPdf", split("--transparent --format pdf -o -"), true,
                   ImageFormat::Pdf}),
    [](const testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST(GoodArguments, EveryOptionLands) {
    const ParseResult r = parseArguments({QStringLiteral("-o"),
                                          QStringLiteral("x.PNG"),
                                          QStringLiteral("--font"),
                                          QStringLiteral("DejaVu Serif"),
                                          QStringLiteral("--size=12.5"),
                                          QStringLiteral("--bold"),
                                          QStringLiteral("--italic"),
                                          QStringLiteral("--underline"),
                                          QStringLiteral("--style"),
                                          QStringLiteral("Żółty"),
                                          QStringLiteral("--background"),
                                          QStringLiteral("#0a0B0c"),
                                          QStringLiteral("--screen"),
                                          QStringLiteral("800x600"),
                                          QStringLiteral("--dpi"),
                                          QStringLiteral("120"),
                                          QStringLiteral("--transparent"),
                                          QStringLiteral("--jobs"),
                                          QStringLiteral("3"),
                                          QStringLiteral("Zażółć gęślą")},
                                         everyFormat);
    ASSERT_TRUE(r.options) << r.error.toStdString();
    const Options& o = *r.options;
    EXPECT_EQ(o.action, Action::Render);
    EXPECT_EQ(o.output, QStringLiteral("x.PNG"));
    EXPECT_EQ(o.format, ImageFormat::Png);
    EXPECT_TRUE(o.transparent);
    EXPECT_EQ(o.jobs, 3);
    EXPECT_EQ(o.settings.font,
              (FontChoice{QStringLiteral("DejaVu Serif"), 12.5f, true, true, true}));
    EXPECT_TRUE(o.fontGiven);
    EXPECT_EQ(o.settings.styleIndex, 6);
    EXPECT_EQ(o.settings.background, ColourValue::rgb(10, 11, 12));
    EXPECT_EQ(o.screen, QSize(800, 600));
    EXPECT_EQ(o.dpi, 120);
    EXPECT_EQ(o.settings.text, QStringLiteral("Zażółć gęślą"));
}

TEST(GoodArguments, Defaults) {
    const ParseResult r = parseArguments({QStringLiteral("Text")}, everyFormat);
    ASSERT_TRUE(r.options);
    const Options& o = *r.options;
    EXPECT_EQ(o.output, QStringLiteral("pismolot.bmp"));
    EXPECT_EQ(o.format, ImageFormat::Bmp);
    EXPECT_FALSE(o.fontGiven);
    EXPECT_FALSE(o.transparent);
    EXPECT_EQ(o.jobs, 0);
    EXPECT_EQ(o.settings.background, syscolour::CaptionText);
    EXPECT_EQ(o.settings.font.size, 24.0f);
    EXPECT_EQ(o.settings.styleIndex, 0);
    EXPECT_EQ(o.screen, QSize(1920, 1080));
    EXPECT_EQ(o.dpi, 96);
}

TEST(GoodArguments, SizesAtTheEdges) {
    // 2048 pt is drawable up to 576 dpi; at 1440 dpi 819.19 pt is (819.2 as a
    // float is a hair above the limit).
    for (const QString& dpi : {QStringLiteral("576"), QStringLiteral("1440")}) {
        const QString largest =
            dpi == QLatin1String("576") ? QStringLiteral("2048") : QStringLiteral("819.19");
        const ParseResult r = parseArguments(
            {QStringLiteral("--dpi"), dpi, QStringLiteral("--size"), largest, QStringLiteral("T")},
            everyFormat);
        ASSERT_TRUE(r.options) << r.error.toStdString();
    }
    for (const char* size : {"0.01", "2048", "2048.0000001", "1e1", ".5", "7."}) {
        const ParseResult r = parseArguments(
            {QStringLiteral("--size"), QString::fromLatin1(size), QStringLiteral("T")},
            everyFormat);
        ASSERT_TRUE(r.options) << size << ": " << r.error.toStdString();
        EXPECT_EQ(r.options->settings.font.size, float(QString::fromLatin1(size).toDouble()))
            << size;
    }
}

// Just inside each bound of the numbers (the other side is refused above).
TEST(GoodArguments, NumbersAtTheirBounds) {
    struct Row {
        const char* args;
        QSize screen;
        int dpi;
        int jobs;
        int style;
    };
    for (const Row& row :
         {Row{"--screen 16384x16384 T", {16384, 16384}, 96, 0, 0},
          Row{"--screen 1x1 T", {1, 1}, 96, 0, 0}, Row{"--dpi 24 T", {1920, 1080}, 24, 0, 0},
          Row{"--dpi 1440 --size 8 T", {1920, 1080}, 1440, 0, 0},
          Row{"--jobs 1 --batch b", {1920, 1080}, 96, 1, 0},
          Row{"--jobs 256 --batch b", {1920, 1080}, 96, 256, 0},
          Row{"--style 12 T", {1920, 1080}, 96, 0, 12}}) {
        const ParseResult r = parseArguments(split(row.args), everyFormat);
        ASSERT_TRUE(r.options) << row.args << ": " << r.error.toStdString();
        EXPECT_EQ(r.options->screen, row.screen) << row.args;
        EXPECT_EQ(r.options->dpi, row.dpi) << row.args;
        EXPECT_EQ(r.options->jobs, row.jobs) << row.args;
        EXPECT_EQ(r.options->settings.styleIndex, row.style) << row.args;
    }
}

TEST(GoodArguments, TextsThatLookLikeOptionsOrAreOdd) {
    const ParseResult dash =
        parseArguments({QStringLiteral("--"), QStringLiteral("-5 stopni")}, everyFormat);
    ASSERT_TRUE(dash.options);
    EXPECT_EQ(dash.options->settings.text, QStringLiteral("-5 stopni"));
    // A lone dash is TEXT, as on any Unix tool; an empty TEXT is for the
    // renderer to refuse (nothing to draw), not a usage error.
    for (const QString& text : {QStringLiteral("-"), QString(), QStringLiteral("\t")}) {
        const ParseResult r = parseArguments({text}, everyFormat);
        ASSERT_TRUE(r.options) << r.error.toStdString();
        EXPECT_EQ(r.options->settings.text, text);
    }
}

TEST(GoodArguments, InformationWinsAndBatchCollectsNoText) {
    EXPECT_EQ(parseArguments(split("--list-styles --style 99"), everyFormat).options->action,
              Action::ListStyles);
    EXPECT_EQ(parseArguments(split("-h"), everyFormat).options->action, Action::Help);
    EXPECT_EQ(parseArguments(split("--list-formats"), everyFormat).options->action,
              Action::ListFormats);
    const ParseResult batch =
        parseArguments(split("--batch - --format webp --transparent --jobs 4"), everyFormat);
    ASSERT_TRUE(batch.options) << batch.error.toStdString();
    EXPECT_EQ(batch.options->action, Action::Batch);
    EXPECT_EQ(batch.options->batchFile, QStringLiteral("-"));
    EXPECT_EQ(batch.options->forcedFormat, ImageFormat::Webp);
    EXPECT_EQ(batch.options->jobs, 4);
    const ParseResult fromFile = parseArguments(split("--text-file - -o x.png"), everyFormat);
    ASSERT_TRUE(fromFile.options);
    EXPECT_EQ(fromFile.options->textFile, QStringLiteral("-"));
}

} // namespace
