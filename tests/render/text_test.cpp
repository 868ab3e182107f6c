#include "render/fonts.h"
#include "render/headless.h"
#include "render/surfaces.h"
#include "render/textfit.h"
#include "render/textline.h"
#include "render/textmeasure.h"

#include <gtest/gtest.h>

#include "platformskip.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QRawFont>

#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

using namespace pismolot;

namespace {

// Every exactly black pixel of `surface`, and whether any lies outside `box`.
struct Ink {
    int pixels = 0;
    int grey = 0; // neither black nor white
    QPoint outside{-1, -1};
};

Ink inkOf(const QImage& surface, QSize box) {
    Ink ink;
    for (int y = 0; y < surface.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(surface.constScanLine(y));
        for (int x = 0; x < surface.width(); ++x) {
            if ((row[x] & 0xFFFFFF) == 0xFFFFFF)
                continue;
            if ((row[x] & 0xFFFFFF) != 0) {
                ++ink.grey;
                continue;
            }
            ++ink.pixels;
            if ((x >= box.width() || y >= box.height()) && ink.outside.x() < 0)
                ink.outside = QPoint(x, y);
        }
    }
    return ink;
}

std::string testName(QString name) {
    for (QChar& c : name)
        if (!c.isLetterOrNumber() || c.unicode() > 127)
            c = QLatin1Char('_');
    return name.toStdString();
}

struct FaceCase {
    QString family;
    bool bold;
    bool italic;
};

std::vector<FaceCase> everyFace() {
    std::vector<FaceCase> faces;
    for (const QString& family : sortedFontFamilies())
        for (int style = 0; style < 4; ++style)
            faces.push_back({family, (style & 1) != 0, (style & 2) != 0});
    return faces;
}

class EveryFace : public testing::TestWithParam<FaceCase> {};

// The measured rectangle holds every pixel that drawing the text inks, for
// every installed family with synthetic italic and bold included (fonts
// without an italic face slant beyond their metrics), at every DPI. Drawn
// with room to spare on all sides that can matter (right and below). The
// same drawing is the reference for letters cut at a screen's edge.
TEST_P(EveryFace, MeasuredRectangleHoldsTheInk) {
    const FaceCase& face = GetParam();
    const QString text = QStringLiteral("Wolf/ fgjyQ ąę");
    for (const int dpi : {96, 120, 144, 168, 192}) {
        for (const float size : {7.5f, 24.0f, 61.5f, 150.0f}) {
            for (const bool underline : {false, true}) {
                const FontChoice choice{face.family, size, face.bold, face.italic, underline};
                const QSize box = measureText(text, choice, dpi);
                const int room = int(std::ceil(size * dpi / 72.0f)) * 2;
                QImage surface = makeSurface(box + QSize(room, room), dpi);
                drawText(surface, text, choice);
                const Ink ink = inkOf(surface, box);
                const std::string where = "size " + std::to_string(size) + " dpi " +
                                          std::to_string(dpi) + (underline ? " underline" : "");
                EXPECT_GT(ink.pixels, 0) << where;
                EXPECT_EQ(ink.grey, 0) << where << ": no smoothing, letters exactly black";
                EXPECT_EQ(ink.outside, QPoint(-1, -1))
                    << where << ": ink outside the measured " << box.width() << "x" << box.height();
                // A screen's edge through the text: letters cut as the drawing
                // shows, and the size that fits as drawing every size finds.
                const QSize screen(std::max(1, box.width() * 2 / 3), box.height() * 3 / 4);
                const bool cut = inkOf(surface, screen).outside.x() >= 0;
                EXPECT_EQ(measureDrawnText(text, choice, dpi, screen, false).inkBeyondScreen, cut)
                    << where;
                if (size == 150.0f && dpi == 120) {
                    EXPECT_EQ(largestFittingSize(text, choice, dpi, screen),
                              largestFittingSizeByDrawing(text, choice, dpi, screen))
                        << where;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Installed, EveryFace, testing::ValuesIn(everyFace()),
                         [](const testing::TestParamInfo<FaceCase>& info) {
                             return testName(info.param.family) + (info.param.bold ? "_bold" : "") +
                                    (info.param.italic ? "_italic" : "");
                         });

struct NoInkCase {
    const char* name;
    const char16_t* text;
    float size;
    bool hasAdvance; // a blank picture as wide as the advance, or none at all
};

class NothingToShow : public testing::TestWithParam<NoInkCase> {};

// Text without ink used to be measured by Qt's placeholder rectangle at
// (100000, 100000): a picture the screen's width and 100,000 rows tall.
TEST_P(NothingToShow, IsMeasuredByItsAdvanceNotAPlaceholder) {
    const NoInkCase& c = GetParam();
    EffectSettings settings;
    settings.text = QString::fromUtf16(c.text);
    settings.font = FontChoice{QStringLiteral("DejaVu Sans"), c.size};
    settings.background = ColourValue::rgb(0, 0, 128);
    const QSize extent = measureText(settings.text, settings.font, 96, QSize(1920, 1080));
    EXPECT_LT(extent.width(), 200);
    EXPECT_LT(extent.height(), 100);
    StyleRandom random;
    const QImage picture = renderHeadless(settings, {1920, 1080}, 96, random);
    if (!c.hasAdvance) {
        EXPECT_TRUE(picture.isNull()) << picture.width() << "x" << picture.height();
        return;
    }
    ASSERT_FALSE(picture.isNull());
    EXPECT_LT(picture.height(), 100);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ASSERT_EQ(picture.pixel(x, y), qRgb(0, 0, 128)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NothingToShow,
    testing::Values(NoInkCase{"zero_width_space", u"\u200B", 24, false},
                    NoInkCase{"soft_hyphen", u"\u00AD", 24, false},
                    NoInkCase{"combining_acute", u"\u0301", 24, false},
                    NoInkCase{"combining_dot_below", u"\u0323", 24, false},
                    NoInkCase{"zero_width_joiners", u"\u200D\u200C\u2060", 24, false},
                    NoInkCase{"lone_tab", u"\t", 24, true}, NoInkCase{"blanks", u"   ", 24, true},
                    NoInkCase{"size_0_01", u"Text", 0.01f, false},
                    NoInkCase{"size_0_2", u"Text", 0.2f, false},
                    NoInkCase{"size_0_35", u"Text", 0.35f, false}),
    [](const testing::TestParamInfo<NoInkCase>& info) { return std::string(info.param.name); });

// Every lone combining mark: none is measured as a placeholder, and what it
// inks right of and below the origin stays inside the measure.
TEST(NothingToShow, LoneCombiningMarks) {
    const FontChoice choice{QStringLiteral("DejaVu Sans"), 24};
    for (char16_t mark = 0x0300; mark <= 0x036F; ++mark) {
        const QString text(QChar{mark});
        const QSize box = measureText(text, choice, 96);
        EXPECT_LE(box.width(), 40) << std::hex << int(mark);
        EXPECT_LE(box.height(), 60) << std::hex << int(mark);
        QImage surface = makeSurface(QSize(100, 100), 96);
        drawText(surface, text, choice);
        EXPECT_EQ(inkOf(surface, box).outside, QPoint(-1, -1)) << std::hex << int(mark);
    }
}

// Below a pixel per em the glyphs vanish but an underline may still ink a
// pixel some rows below the (empty) line.
TEST(NothingToShow, TinySizesHoldWhatTheyInk) {
    for (const QString& family : sortedFontFamilies()) {
        for (const float size : {0.01f, 0.2f, 0.35f, 1.0f, 2.5f}) {
            for (int attributes = 0; attributes < 8; ++attributes) {
                const FontChoice choice{family, size, (attributes & 1) != 0, (attributes & 2) != 0,
                                        (attributes & 4) != 0};
                for (const int dpi : {81, 96, 192}) {
                    const QSize box = measureText(QStringLiteral("Text"), choice, dpi);
                    ASSERT_LT(box.height(), 100) << family.toStdString() << " " << size;
                    QImage surface = makeSurface(QSize(64, 64), dpi);
                    drawText(surface, QStringLiteral("Text"), choice);
                    ASSERT_EQ(inkOf(surface, box).outside, QPoint(-1, -1))
                        << family.toStdString() << " " << size << " pt, " << dpi << " dpi, "
                        << attributes;
                }
            }
        }
    }
}

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

TEST(Measure, WidthStopsAtTheScreensWidthHeightDoesNot) {
    const FontChoice choice{QStringLiteral("DejaVu Sans"), 200};
    const QString text(40, QLatin1Char('W'));
    const QSize free = measureText(text, choice, 96);
    const QSize screen = measureText(text, choice, 96, QSize(640, 100));
    EXPECT_GT(free.width(), 5000);
    EXPECT_GE(screen.width(), 640);
    EXPECT_EQ(screen.height(), free.height());
}

// The headless renderer keeps the measuring drawing as its scratch surface:
// it must be the same drawing that drawText makes.
TEST(Measure, KeptSurfaceIsTheDrawing) {
    const FontChoice choice{QStringLiteral("DejaVu Serif"), 40, true, true, true};
    const QString text = QStringLiteral("Ągj W");
    const MeasuredText m = measureDrawnText(text, choice, 120, QSize(1920, 1080), true);
    ASSERT_FALSE(m.surface.isNull());
    EXPECT_GE(m.surface.width(), m.extent.width());
    EXPECT_GE(m.surface.height(), m.extent.height());
    QImage expected = makeSurface(m.surface.size(), 120);
    drawText(expected, text, choice);
    EXPECT_EQ(m.surface, expected);
    EXPECT_EQ(m.extent, measureText(text, choice, 120, QSize(1920, 1080)));
}

// Taller than the first strip (the screen's height): the strips below still
// find the ink, as one big drawing does.
TEST(Measure, StripsFindTheSameInkAsOneDrawing) {
    const FontChoice choice{QStringLiteral("DejaVu Sans"), 300, false, true, true};
    const QString text = QStringLiteral("gjpqy");
    const QSize whole = measureText(text, choice, 96, QSize(4000, 4000));
    const QSize strips = measureText(text, choice, 96, QSize(4000, 7));
    EXPECT_EQ(strips, whole);
}

// Whether one big drawing of `text` has ink right of or below `screen`: the
// reference for the measure's cut-letters check.
bool inkBeyond(const QString& text, const FontChoice& choice, int dpi, QSize screen) {
    const QSize extent = measureText(text, choice, dpi, QSize(MaxInkWidth, 100000));
    QImage drawing = makeSurface(extent + QSize(64, 64), dpi);
    drawText(drawing, text, choice);
    return inkOf(drawing, screen).outside.x() >= 0;
}

struct CutCase {
    const char* name;
    QString text;
    FontChoice font;
};

class CutLetters : public testing::TestWithParam<CutCase> {};

// Across the sizes where the ink crosses the screen's right or bottom edge
// the measure tells the loss exactly as one big drawing shows it, and the
// renderer passes it on; the largest fitting size fits and the next does not,
// and is the size that drawing every size tried finds.
TEST_P(CutLetters, ToldExactlyWhereInkLeavesTheScreen) {
    const CutCase& c = GetParam();
    if (std::string_view(c.name) == "Emoji")
        SKIP_ON_WINDOWS("Wine draws emoji from the host's colour bitmap font, on which Qt's GDI "
                        "engine faults; Windows' own emoji font has outlines");
    // A second screen where 1440 / dpi is no whole number.
    for (const auto& [screen, dpi] : {std::pair{QSize(400, 300), 96}, {QSize(460, 345), 110}}) {
        SCOPED_TRACE(std::to_string(dpi) + " dpi");
        int cut = 0, kept = 0;
        for (int points = 60; points <= 420; points += 9) {
            FontChoice font = c.font;
            font.size = float(points);
            const bool expected = inkBeyond(c.text, font, dpi, screen);
            const MeasuredText m = measureDrawnText(c.text, font, dpi, screen, false);
            ASSERT_EQ(m.inkBeyondScreen, expected) << points << " pt";
            StyleRandom random;
            bool lettersCut = !expected;
            renderHeadless({c.text, font, 0, ColourValue::rgb(0, 0, 0)}, screen, dpi, random, {},
                           &lettersCut);
            EXPECT_EQ(lettersCut, expected) << points << " pt";
            (expected ? cut : kept) += 1;
        }
        EXPECT_GT(cut, 0);
        EXPECT_GT(kept, 0);

        FontChoice font = c.font;
        font.size = 420;
        const int fits = largestFittingSize(c.text, font, dpi, screen);
        ASSERT_GT(fits, 0);
        EXPECT_EQ(fits, largestFittingSizeByDrawing(c.text, font, dpi, screen));
        font.size = float(fits);
        EXPECT_FALSE(inkBeyond(c.text, font, dpi, screen)) << fits;
        font.size = float(fits + 1);
        EXPECT_TRUE(inkBeyond(c.text, font, dpi, screen)) << fits + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CutLetters,
    testing::Values(
        // "Text": the right edge goes first; "Ag": the descent; the italic
        // slant and the underline reach beyond the advance and the glyphs.
        CutCase{"Text", QStringLiteral("Text"), {QStringLiteral("DejaVu Sans"), 0}},
        CutCase{"Ag", QStringLiteral("Ag"), {QStringLiteral("DejaVu Serif"), 0}},
        CutCase{"ItalicF", QStringLiteral("f"), {QStringLiteral("DejaVu Serif"), 0, true, true}},
        CutCase{"Underline",
                QStringLiteral("ao"),
                {QStringLiteral("DejaVu Sans"), 0, false, false, true}},
        // Spaces beyond the screen lose no letter.
        CutCase{"TrailingSpaces",
                QStringLiteral("o") + QString(12, QLatin1Char(' ')),
                {QStringLiteral("DejaVu Sans"), 0}},
        // Where the glyphs' boxes and the pixels could disagree: a slant that
        // Qt makes itself (whose ink beyond the edge was once missed), colour
        // glyphs, ink that is only the underline, a last glyph without ink,
        // and kerning, which the boxes take from another size.
        CutCase{"SyntheticItalicW",
                QStringLiteral("W"),
                {QStringLiteral("DejaVu Math TeX Gyre"), 0, false, true}},
        CutCase{"Emoji",
                QStringLiteral("A") + QString::fromUcs4(U"\U0001F680"),
                {QStringLiteral("DejaVu Sans"), 0}},
        CutCase{"UnderlineOnlyBeyond",
                QStringLiteral("o") + QString(12, QLatin1Char(' ')),
                {QStringLiteral("DejaVu Sans"), 0, false, false, true}},
        CutCase{"LastGlyphWithoutInk",
                QStringLiteral("Tx\u200B"),
                {QStringLiteral("DejaVu Serif"), 0, true}},
        CutCase{"KernedLine", QStringLiteral("AVAWAY"), {QStringLiteral("DejaVu Sans"), 0}},
        CutCase{"SyntheticBold",
                QStringLiteral("Ag"),
                {QStringLiteral("DejaVu Math TeX Gyre"), 0, true}},
        // Laid out in ways of their own: right to left, marks placed on their
        // letters, ligatures, glyphs that another face gives.
        CutCase{"RightToLeft", QStringLiteral("שלום"), {QStringLiteral("DejaVu Sans"), 0}},
        CutCase{"CombiningMarks", QStringLiteral("Ţ̈ę̃x̧t̊"), {QStringLiteral("DejaVu Serif"), 0}},
        CutCase{"Ligatures", QStringLiteral("ﬁ ﬂ"), {QStringLiteral("DejaVu Serif"), 0}},
        CutCase{"FallbackFace",
                QStringLiteral("Wolf ąę"),
                {QStringLiteral("DejaVu Math TeX Gyre"), 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CutLetters, NoSizeFitsATextLongerThanTheScreenAtOnePoint) {
    const QString text(3000, QLatin1Char('W'));
    const FontChoice font{QStringLiteral("DejaVu Sans"), 24};
    EXPECT_TRUE(measureDrawnText(text, font, 96, QSize(400, 300), false).inkBeyondScreen);
    EXPECT_EQ(largestFittingSize(text, font, 96, QSize(400, 300)), 0);
}

// An emoji that the installed faces give only in colour (Noto Color Emoji,
// scripts/deps) is drawn as a letter: its picture has the style's colours
// where the glyph is, not a gap. Monochrome letters stay as they were.
TEST(ColourGlyphs, EmojiOnlyInColourBecomesALetter) {
    SKIP_ON_WINDOWS("Wine's GDI draws no colour fonts");
    const QString rocket = QString::fromUcs4(U"\U0001F680");
    const FontChoice font{QStringLiteral("DejaVu Sans"), 60};
    ASSERT_TRUE(QFontDatabase::families().contains(QStringLiteral("Noto Color Emoji")))
        << "fonts-noto-color-emoji is missing";
    ASSERT_FALSE(QRawFont::fromFont(makeFont(font)).supportsCharacter(U'\U0001F680'))
        << "the test needs a glyph the text's own face lacks";

    const MeasuredText alone = measureDrawnText(rocket, font, 96, QSize(1920, 1080), true);
    const Ink ink = inkOf(alone.surface, alone.extent);
    EXPECT_GT(ink.pixels, 500) << "a 60 pt rocket in black";
    EXPECT_EQ(ink.grey, 0) << "no colour is left on the scratch surface";

    StyleRandom random;
    const ColourValue background = ColourValue::rgb(0, 0, 128);
    const QImage picture = renderHeadless({rocket, font, 0, background}, {1920, 1080}, 96, random);
    int letters = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            letters += picture.pixel(x, y) != background.toArgb();
    EXPECT_GT(letters, 500);
}

struct DrawableCase {
    const char* name;
    float points;
    int dpi;
    bool drawable;
};

class SizeLimit : public testing::TestWithParam<DrawableCase> {};

TEST_P(SizeLimit, PixelsPerEmWithinTheEngine) {
    const DrawableCase& c = GetParam();
    EXPECT_EQ(fontSizeDrawable(c.points, c.dpi), c.drawable);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, SizeLimit,
    testing::Values(DrawableCase{"largest_at_96", 2048, 96, true},
                    DrawableCase{"largest_at_576_is_the_limit", 2048, 576, true},
                    DrawableCase{"largest_at_577", 2048, 577, false},
                    DrawableCase{"largest_at_720", 2048, 720, false},
                    DrawableCase{"limit_at_192", 6144, 192, false},
                    DrawableCase{"just_below_limit_at_720", 1638.3f, 720, true},
                    DrawableCase{"just_above_limit_at_720", 1638.5f, 720, false},
                    DrawableCase{"above_largest_points", 2048.5f, 72, false},
                    DrawableCase{"smallest_positive", 1e-30f, 96, true},
                    DrawableCase{"zero", 0, 96, false}, DrawableCase{"negative", -12, 96, false},
                    DrawableCase{"not_a_number", std::numeric_limits<float>::quiet_NaN(), 96,
                                 false},
                    DrawableCase{"no_dpi", 12, 0, false}),
    [](const testing::TestParamInfo<DrawableCase>& info) { return std::string(info.param.name); });

// Whether the stem of an "I" drawn at `pixelsPerEm` inks a small tile where
// it meets the baseline (the whole glyph would need hundreds of megabytes).
bool stemDrawn(const QString& family, bool bold, int pixelsPerEm) {
    const int dpi = 576;
    const FontChoice choice{family, float(pixelsPerEm) * 72.0f / float(dpi), bold};
    QImage tile = makeSurface(QSize(32, 32), dpi);
    const QFont font(makeFont(choice), &tile);
    const QFontMetricsF fm(font, &tile);
    const QRectF glyph = fm.boundingRect(QLatin1Char('I'));
    const int left = int(glyph.center().x()) - 16;
    const int top = int(fm.ascent()) - 24; // the baseline stays inside the tile
    QPainter painter(&tile);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(-left, fm.ascent() - top), QStringLiteral("I"));
    painter.end();
    return inkOf(tile, QSize()).pixels > 0;
}

// At the limit the font engine still draws; a little beyond it its metrics
// overflow (the ascent reaches 16384 pixels and turns negative, so the text
// lands above the surface and nothing shows), and the measure then says there
// is nothing to show rather than something made of garbage.
TEST(SizeLimit, DrawnAtTheLimitNotBeyond) {
    SKIP_ON_WINDOWS("the limit is FreeType's; Qt's GDI font engine draws beyond it");
    for (const char* family : {"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono"}) {
        for (const bool bold : {false, true}) {
            const QString name = QString::fromUtf8(family);
            EXPECT_TRUE(stemDrawn(name, bold, MaxPixelsPerEm)) << family << (bold ? " bold" : "");
            QFont font = makeFont(FontChoice{name, 12, bold});
            font.setPixelSize(17700);
            EXPECT_LE(QFontMetricsF(font).ascent(), 0) << family << (bold ? " bold" : "");
        }
    }
    const FontChoice beyond{QStringLiteral("DejaVu Sans"), 17700.0f * 72 / 720};
    EXPECT_FALSE(fontSizeDrawable(beyond.size, 720));
    EXPECT_EQ(measureText(QStringLiteral("I"), beyond, 720, QSize(64, 100)), QSize(0, 0));
}

// Every installed family measures sanely at the limit, in little memory: the
// measure never looks beyond the screen.
TEST(SizeLimit, EveryFamilyMeasuresAtTheLimit) {
    const int dpi = 576;
    const float points = float(MaxPixelsPerEm) * 72.0f / float(dpi);
    ASSERT_TRUE(fontSizeDrawable(points, dpi));
    for (const QString& family : sortedFontFamilies()) {
        // Symbol fonts (Marlett, Webdings) have no letters to measure.
        if (!QFontDatabase::writingSystems(family).contains(QFontDatabase::Latin))
            continue;
        for (const bool bold : {false, true}) {
            const QSize extent = measureText(QStringLiteral("Ig"), FontChoice{family, points, bold},
                                             dpi, QSize(64, 64));
            EXPECT_GE(extent.width(), 64) << family.toStdString();
            EXPECT_GT(extent.height(), MaxPixelsPerEm * 9 / 10) << family.toStdString();
        }
    }
}

struct FamiliesCase {
    const char* name;
    std::vector<const char*> raw;
    std::vector<const char*> families;
};

QStringList fromUtf8(const std::vector<const char*>& names) {
    QStringList list;
    for (const char* name : names)
        list << QString::fromUtf8(name);
    return list;
}

class Families : public testing::TestWithParam<FamiliesCase> {};

TEST_P(Families, OneEachByItsOwnNameAliasesOut) {
    EXPECT_EQ(familyList(fromUtf8(GetParam().raw)), fromUtf8(GetParam().families));
}

INSTANTIATE_TEST_SUITE_P(
    Lists, Families,
    testing::Values(
        FamiliesCase{"foundries_stripped_once_each",
                     {"Nimbus Sans [urw]", "C059 [UKWN]", "Nimbus Sans [UKWN]", "C059 [urw]",
                      "D050000L [URW ]", "Nimbus Sans [URW ]"},
                     {"C059", "D050000L", "Nimbus Sans"}},
        FamiliesCase{"aliases_left_out",
                     {"Serif", "DejaVu Sans", "Sans Serif", "Monospace", "DejaVu Serif"},
                     {"DejaVu Sans", "DejaVu Serif"}},
        FamiliesCase{
            "one_case_insensitive_order",
            {"bitstream Charter", "Zapf Dingbats", "abyssinica SIL", "URW Bookman", "Ubuntu"},
            {"abyssinica SIL", "bitstream Charter", "Ubuntu", "URW Bookman", "Zapf Dingbats"}},
        FamiliesCase{"names_with_brackets_inside_kept",
                     {"Foo [Bar] Sans", "Foo [Bar] Sans [xyz]", "Ąbc", "Äbc"},
                     {"Foo [Bar] Sans", "Äbc", "Ąbc"}},
        FamiliesCase{"nothing", {}, {}}),
    [](const testing::TestParamInfo<FamiliesCase>& info) { return std::string(info.param.name); });

// The listed names select their own font through QFont, also where Qt lists
// one family under several foundries.
TEST(Families, EveryListedNameSelectsItself) {
    const QStringList families = sortedFontFamilies();
    ASSERT_FALSE(families.isEmpty());
    for (const QString& family : families)
        EXPECT_EQ(resolvedFamily(family), family);
    EXPECT_FALSE(families.contains(QStringLiteral("Sans Serif")));
    EXPECT_NE(resolvedFamily(QStringLiteral("No Such Family 123")),
              QStringLiteral("No Such Family 123"));
    const FontChoice unknown{QStringLiteral("No Such Family 123"), 24};
    EXPECT_GT(measureText(QStringLiteral("Text"), unknown, 96).width(), 0);
}

} // namespace
