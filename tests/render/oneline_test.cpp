#include "render/oneline.h"

#include <gtest/gtest.h>

namespace {

struct OneLineCase {
    const char* name;
    QString text;
    int cursor;
    QString shown;
    int shownCursor;
};

class ShownOnOneLine : public testing::TestWithParam<OneLineCase> {};

TEST_P(ShownOnOneLine, BreaksBecomeOneSpaceAndTheCursorStaysInPlace) {
    const OneLineCase& c = GetParam();
    int cursor = c.cursor;
    EXPECT_EQ(pismolot::shownOnOneLine(c.text, &cursor), c.shown);
    EXPECT_EQ(cursor, c.shownCursor);
    EXPECT_EQ(pismolot::shownOnOneLine(c.text), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ShownOnOneLine,
    testing::Values(
        OneLineCase{"plain", QStringLiteral("Zażółć gęślą"), 3, QStringLiteral("Zażółć gęślą"), 3},
        OneLineCase{"lineFeed", QStringLiteral("linia\ndruga"), 11, QStringLiteral("linia druga"),
                    11},
        OneLineCase{"crLfIsOneSpace", QStringLiteral("linia\r\ndruga"), 12,
                    QStringLiteral("linia druga"), 11},
        OneLineCase{"cursorBetweenCrAndLf", QStringLiteral("a\r\nb"), 2, QStringLiteral("a b"), 1},
        OneLineCase{"cursorBeforeCrLf", QStringLiteral("a\r\nb"), 1, QStringLiteral("a b"), 1},
        OneLineCase{"lfCrIsTwo", QStringLiteral("a\n\rb"), 4, QStringLiteral("a  b"), 4},
        OneLineCase{"loneCr", QStringLiteral("a\rb"), 0, QStringLiteral("a b"), 0},
        OneLineCase{"tabVtFfNel", QStringLiteral("a\tb\vc\fd\u0085e"), 9,
                    QStringLiteral("a b c d e"), 9},
        OneLineCase{"unicodeSeparators", QStringLiteral("a\u2028b\u2029c"), 5,
                    QStringLiteral("a b c"), 5},
        OneLineCase{"trailingCrLfs", QStringLiteral("x\r\n\r\n"), 5, QStringLiteral("x  "), 3},
        OneLineCase{"noBreakSpaceKept", QStringLiteral("a\u00A0b"), 3, QStringLiteral("a\u00A0b"),
                    3}),
    [](const testing::TestParamInfo<OneLineCase>& info) { return std::string(info.param.name); });

} // namespace
