#include "editor/editormodel.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct KeyCase {
    const char* name;
    int code;
    bool passes;
};

class SizeKeyFilter : public testing::TestWithParam<KeyCase> {};

TEST_P(SizeKeyFilter, OnlyDigitsPass) {
    const KeyCase& c = GetParam();
    int code = c.code;
    EXPECT_EQ(editor::filterSizeKey(code), c.passes);
    EXPECT_EQ(code, c.passes ? c.code : 0) << "a refused character is set to 0";
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SizeKeyFilter,
    testing::Values(KeyCase{"zero", '0', true}, KeyCase{"five", '5', true},
                    KeyCase{"nine", '9', true}, KeyCase{"slash_below_zero", '/', false},
                    KeyCase{"colon_above_nine", ':', false}, KeyCase{"backspace", 8, false},
                    KeyCase{"enter", 13, false}, KeyCase{"escape", 27, false},
                    KeyCase{"ctrl_v", 22, false}, KeyCase{"blank", ' ', false},
                    KeyCase{"minus", '-', false}, KeyCase{"point", '.', false},
                    KeyCase{"comma", ',', false}, KeyCase{"letter_a", 'a', false},
                    KeyCase{"letter_E", 'E', false}, KeyCase{"arabic_indic_digit", 0x0663, false}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

struct SizeCase {
    const char* name;
    const char16_t* text;
    std::optional<float> size;
    int dpi = 96;
};

class PreviewSize : public testing::TestWithParam<SizeCase> {};

TEST_P(PreviewSize, AcceptsAboveZeroUpTo2048) {
    const SizeCase& c = GetParam();
    EXPECT_EQ(editor::previewSize(QStringView(c.text), c.dpi), c.size);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PreviewSize,
    testing::Values(
        SizeCase{"preset", u"24", 24.0f}, SizeCase{"smallest_preset", u"8", 8.0f},
        SizeCase{"largest_preset", u"480", 480.0f}, SizeCase{"upper_bound", u"2048", 2048.0f},
        SizeCase{"above_bound", u"2049", std::nullopt}, SizeCase{"empty", u"", std::nullopt},
        SizeCase{"zero", u"0", std::nullopt},
        SizeCase{"design_text_reads_zero", u"Combo1", std::nullopt},
        SizeCase{"negative", u"-5", std::nullopt}, SizeCase{"blanks_skipped", u" 1 2", 12.0f},
        SizeCase{"trailing_junk_ignored", u"12pt", 12.0f}, SizeCase{"fraction", u"10.5", 10.5f},
        SizeCase{"forty_digits", u"1234567890123456789012345678901234567890", std::nullopt},
        SizeCase{"leading_zeros", u"0036", 36.0f}, SizeCase{"hex", u"&H20", 32.0f},
        SizeCase{"largest_at_576_dpi", u"2048", 2048.0f, 576},
        SizeCase{"largest_beyond_the_engine_at_720_dpi", u"2048", std::nullopt, 720},
        SizeCase{"within_the_engine_at_720_dpi", u"1638", 1638.0f, 720}),
    [](const testing::TestParamInfo<SizeCase>& info) { return std::string(info.param.name); });

pismolot::FontChoice styled() {
    return {QStringLiteral("Nimbus Sans"), 36.0f, true, false, true};
}

TEST(ApplyFontChoice, TakesNameAndSizeKeepsAttributes) {
    const pismolot::FontChoice next =
        editor::applyFontChoice(styled(), QStringLiteral("DejaVu Serif"), u"72", 96);
    EXPECT_EQ(next,
              (pismolot::FontChoice{QStringLiteral("DejaVu Serif"), 72.0f, true, false, true}));
}

TEST(ApplyFontChoice, RefusedStepKeepsItsValueOtherStepStillRuns) {
    const pismolot::FontChoice badSize =
        editor::applyFontChoice(styled(), QStringLiteral("DejaVu Serif"), u"", 96);
    EXPECT_EQ(badSize.name, QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(badSize.size, 36.0f);

    const pismolot::FontChoice noName = editor::applyFontChoice(styled(), QString(), u"12", 96);
    EXPECT_EQ(noName.name, QStringLiteral("Nimbus Sans"));
    EXPECT_EQ(noName.size, 12.0f);
}

} // namespace
