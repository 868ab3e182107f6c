#include "colour/colourmodel.h"

#include <gtest/gtest.h>

using pismolot::ColourValue;

namespace {

// One keystroke as the text box reports it: key down and key press with the
// old text, the change of the text, then key up.
void keystroke(ColourModel& m, int part, const QString& textAfter) {
    m.keyDown(part);
    m.keyPress(part);
    m.textChanged(part, textAfter);
    m.keyUp(part);
}

// Types text into a box whose contents are selected: each character is one
// keystroke; the first replaces the selection.
void typeOver(ColourModel& m, int part, const QString& text) {
    QString now;
    for (QChar c : text) {
        now += c;
        keystroke(m, part, now);
    }
}

} // namespace

TEST(ColourModel, StartsWithZerosAndTheStoredPreviewColours) {
    const ColourModel m;
    for (int part = 0; part < ColourModel::PartCount; ++part) {
        EXPECT_EQ(m.text(part), QStringLiteral("0"));
        EXPECT_EQ(m.value(part), 0);
    }
    EXPECT_EQ(m.previewBack(), pismolot::syscolour::MenuText);
    EXPECT_EQ(m.previewText(), pismolot::syscolour::HighlightText);
    // "OK" at once hands over the stored reference, not RGB(0, 0, 0).
    EXPECT_EQ(m.ok(), pismolot::syscolour::MenuText);
}

TEST(ColourModel, DraggingFollowsEveryValueLive) {
    ColourModel m;
    m.scrollChanged(ColourModel::Red, 10);
    m.scrollChanged(ColourModel::Blue, 20);
    for (int v : {1, 64, 127, 128}) {
        m.scrollDragged(ColourModel::Green, v);
        EXPECT_EQ(m.text(ColourModel::Green), QString::number(v));
    }
    EXPECT_EQ(m.value(ColourModel::Green), 128);
    EXPECT_EQ(m.previewBack(), ColourValue::rgb(10, 128, 20));
    EXPECT_EQ(m.previewText(), ColourValue::rgb(245, 127, 235));
    EXPECT_EQ(m.ok(), ColourValue::rgb(10, 128, 20));
}

TEST(ColourModel, TypingMovesTheScrollBarOnKeyUpAndThePreviewAtOnce) {
    ColourModel m;
    typeOver(m, ColourModel::Red, QStringLiteral("20"));
    ASSERT_EQ(m.value(ColourModel::Red), 20);

    m.keyDown(ColourModel::Red);
    m.keyPress(ColourModel::Red);
    EXPECT_EQ(m.value(ColourModel::Red), 20) << "key down and press see the old text";
    m.textChanged(ColourModel::Red, QStringLiteral("200"));
    EXPECT_EQ(m.previewBack(), ColourValue::rgb(200, 0, 0)) << "preview follows the text";
    EXPECT_EQ(m.value(ColourModel::Red), 20) << "scroll bar waits for the key";
    m.keyUp(ColourModel::Red);
    EXPECT_EQ(m.value(ColourModel::Red), 200);
    EXPECT_EQ(m.text(ColourModel::Red), QStringLiteral("200"));
}

TEST(ColourModel, EmptiedBoxCountsZeroAndShowsZeroOnKeyUp) {
    ColourModel m;
    m.scrollChanged(ColourModel::Blue, 90);
    m.keyDown(ColourModel::Blue);
    m.keyPress(ColourModel::Blue);
    m.textChanged(ColourModel::Blue, QString());
    EXPECT_EQ(m.previewBack(), ColourValue::rgb(0, 0, 0));
    EXPECT_EQ(m.text(ColourModel::Blue), QString());
    m.keyUp(ColourModel::Blue);
    EXPECT_EQ(m.value(ColourModel::Blue), 0);
    EXPECT_EQ(m.text(ColourModel::Blue), QStringLiteral("0"));
}

TEST(ColourModel, PastedTextUpdatesThePreviewButNotTheScrollBar) {
    ColourModel m;
    m.textChanged(ColourModel::Green, QStringLiteral("77"));
    EXPECT_EQ(m.previewBack(), ColourValue::rgb(0, 77, 0));
    EXPECT_EQ(m.value(ColourModel::Green), 0);
    EXPECT_EQ(m.text(ColourModel::Green), QStringLiteral("77"));
    m.keyUp(ColourModel::Green); // the next key event in that box
    EXPECT_EQ(m.value(ColourModel::Green), 77);
}

// How one text is read: the part and the complement's part the preview shows
// for it, and the scroll value after the next key event.
struct ReadingCase {
    const char* name;
    const char16_t* text;
    int part;
    int complement;
};

class ColourModelReading : public testing::TestWithParam<ReadingCase> {};

TEST_P(ColourModelReading, GivesPartComplementAndScrollValue) {
    const ReadingCase& c = GetParam();
    ColourModel m;
    m.scrollChanged(ColourModel::Green, 40);
    m.scrollChanged(ColourModel::Blue, 255);
    // Checked before key up: a changed value writes its digits back, and the
    // preview then shows those.
    m.textChanged(ColourModel::Red, QString::fromUtf16(c.text));
    EXPECT_EQ(m.previewBack(), ColourValue::rgb(c.part, 40, 255));
    EXPECT_EQ(m.previewText(), ColourValue::rgb(c.complement, 215, 0));
    m.keyUp(ColourModel::Red);
    EXPECT_EQ(m.value(ColourModel::Red), c.part);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ColourModelReading,
    testing::Values(ReadingCase{"plain", u"200", 200, 55},
                    ReadingCase{"half_down_to_even", u"12.5", 12, 242},          // 242.5 -> 242
                    ReadingCase{"half_up_to_even", u"13.5", 14, 242},            // 241.5 -> 242
                    ReadingCase{"complement_before_rounding", u"12.4", 12, 243}, // 242.6
                    ReadingCase{"hexadecimal", u"&HFF", 255, 0},
                    ReadingCase{"blank_inside_digits", u"3 7", 37, 218},
                    ReadingCase{"letters_end_the_number", u"9abc", 9, 246},
                    ReadingCase{"empty", u"", 0, 255},
                    ReadingCase{"above_range_held_at_255", u"300", 255, 0},
                    ReadingCase{"negative_held_at_0", u"-1", 0, 255},
                    ReadingCase{"beyond_16_bits", u"99999999", 255, 0},
                    ReadingCase{"overflow_to_infinity", u"1e400", 255, 0}),
    [](const testing::TestParamInfo<ReadingCase>& info) { return std::string(info.param.name); });

// What the box holds after one keystroke, given the value it held before.
struct NormalisationCase {
    const char* name;
    int valueBefore;
    const char16_t* typed;
    const char16_t* textAfter;
};

class ColourModelNormalisation : public testing::TestWithParam<NormalisationCase> {};

TEST_P(ColourModelNormalisation, TextAfterKeyUp) {
    const NormalisationCase& c = GetParam();
    ColourModel m;
    m.scrollChanged(ColourModel::Red, c.valueBefore);
    keystroke(m, ColourModel::Red, QString::fromUtf16(c.typed));
    EXPECT_EQ(m.text(ColourModel::Red), QString::fromUtf16(c.textAfter));
}

INSTANTIATE_TEST_SUITE_P(
    Keystrokes, ColourModelNormalisation,
    testing::Values(NormalisationCase{"leading_zero_dropped", 0, u"07", u"7"},
                    NormalisationCase{"fraction_rounded", 12, u"12.6", u"13"},
                    NormalisationCase{"same_value_left_as_typed", 7, u"007", u"007"},

                    NormalisationCase{"too_large_shows_255", 0, u"300", u"255"},
                    NormalisationCase{"too_large_at_255_left", 255, u"300", u"300"},
                    NormalisationCase{"negative_shows_0", 5, u"-1", u"0"},
                    NormalisationCase{"hexadecimal_shows_digits", 0, u"&H10", u"16"}),
    [](const testing::TestParamInfo<NormalisationCase>& info) {
        return std::string(info.param.name);
    });
