#include "render/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using pismolot::readNumber;
using pismolot::roundHalfEven;

namespace {

struct NumberCase {
    const char16_t* text;
    double expected;
};

class ReadNumber : public testing::TestWithParam<NumberCase> {};

TEST_P(ReadNumber, Reads) {
    const NumberCase c = GetParam();
    EXPECT_DOUBLE_EQ(readNumber(c.text), c.expected) << "text: " << std::u16string(c.text).size();
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadNumber,
    testing::Values(NumberCase{u"12.5", 12.5}, NumberCase{u"3 7", 37}, NumberCase{u"9abc", 9},
                    NumberCase{u"&HFF", 255}, NumberCase{u"&hff", 255}, NumberCase{u"&O17", 15},
                    NumberCase{u"&H", 0}, NumberCase{u"&X12", 0}, NumberCase{u"", 0},
                    NumberCase{u"abc", 0}, NumberCase{u"-", 0}, NumberCase{u".", 0},
                    NumberCase{u".5", 0.5}, NumberCase{u"-12", -12}, NumberCase{u"+7", 7},
                    NumberCase{u"\t 1\n2 ", 12}, NumberCase{u"- 3", -3}, NumberCase{u"1.2.3", 1.2},
                    NumberCase{u"1e3", 1000}, NumberCase{u"1D2", 100}, NumberCase{u"2E-1", 0.2},
                    NumberCase{u"5e", 5}, NumberCase{u"5e+", 5}, NumberCase{u"07", 7},
                    NumberCase{u"1,5", 1}, NumberCase{u"12.6", 12.6}, NumberCase{u"\r5", 0},
                    NumberCase{u"&H 1 0", 16}, NumberCase{u"&O9", 0},
                    // Each base's digits, just inside and just outside.
                    NumberCase{u"&O7", 7}, NumberCase{u"&O8", 0}, NumberCase{u"&O18", 1},
                    NumberCase{u"&O0", 0}, NumberCase{u"&O1/", 1}, NumberCase{u"&o777", 511},
                    NumberCase{u"&H9", 9}, NumberCase{u"&H1:", 1}, NumberCase{u"&Haf", 175},
                    NumberCase{u"&HAF", 175}, NumberCase{u"&H1G", 1}, NumberCase{u"&H1g", 1},
                    NumberCase{u"&H1@", 1}, NumberCase{u"&H1`", 1}, NumberCase{u"9/", 9},
                    NumberCase{u"9:", 9}));

TEST(ReadNumberOverflow, GivesDefinedResults) {
    EXPECT_EQ(readNumber(u"1e400"), HUGE_VAL);
    EXPECT_EQ(readNumber(u"-1e400"), -HUGE_VAL);
    EXPECT_EQ(readNumber(u"1e-400"), 0.0);
    EXPECT_EQ(readNumber(u"0." + std::u16string(400, u'0') + u"1"), 0.0);
    EXPECT_EQ(readNumber(u"-0." + std::u16string(400, u'0') + u"1e5"), 0.0);
    const std::u16string hundredDigits(100, u'9');
    EXPECT_NEAR(readNumber(hundredDigits) / 1e100, 1.0, 1e-12);
    EXPECT_EQ(readNumber(std::u16string(400, u'9')), HUGE_VAL);
    EXPECT_EQ(readNumber(u"1e99999999999999999999"), HUGE_VAL);
    EXPECT_EQ(readNumber(u"1e-99999999999999999999"), 0.0);
}

struct RoundCase {
    double value;
    int expected;
};

class RoundHalfEven : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfEven, Rounds) {
    EXPECT_EQ(roundHalfEven<int>(GetParam().value), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Table, RoundHalfEven,
                         testing::Values(RoundCase{20.5, 20}, RoundCase{21.5, 22},
                                         RoundCase{2.5, 2}, RoundCase{3.5, 4}, RoundCase{12.6, 13},
                                         RoundCase{-0.5, 0}, RoundCase{-1.5, -2},
                                         RoundCase{-2.5, -2}, RoundCase{0.49999999999999994, 0},
                                         RoundCase{7, 7}, RoundCase{1e30, 2147483647},
                                         RoundCase{-1e30, -2147483647 - 1},
                                         RoundCase{HUGE_VAL, 2147483647}, RoundCase{NAN, 0}));

TEST(RoundHalfEven16, SaturatesAtSixteenBits) {
    EXPECT_EQ(roundHalfEven<std::int16_t>(40000.0), 32767);
    EXPECT_EQ(roundHalfEven<std::int16_t>(-40000.0), -32768);
    EXPECT_EQ(roundHalfEven<std::int16_t>(32766.5), 32766);
}

} // namespace
