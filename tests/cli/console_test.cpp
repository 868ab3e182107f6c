// Console output goes in pieces that never split a character in two.
#include "console.h"

#include <gtest/gtest.h>

using namespace pismolot::cli;

namespace {

struct PieceCase {
    const char* name;
    const char16_t* text;
    qsizetype from;
    qsizetype most;
    qsizetype end;
};

void PrintTo(const PieceCase& c, std::ostream* os) {
    *os << c.name;
}

class Pieces : public testing::TestWithParam<PieceCase> {};

TEST_P(Pieces, EndBesideAWholeCharacter) {
    const QString text = QString::fromUtf16(GetParam().text);
    EXPECT_EQ(console::pieceEnd(text, GetParam().from, GetParam().most), GetParam().end);
}

// U+1F600 is the pair D83D DE00; "żółw" is four single units.
INSTANTIATE_TEST_SUITE_P(
    Table, Pieces,
    testing::Values(PieceCase{"all_fits", u"żółw", 0, 8, 4},
                    PieceCase{"cut_between_letters", u"żółw", 0, 3, 3},
                    PieceCase{"from_the_middle", u"żółw", 1, 2, 3},
                    PieceCase{"pair_would_be_split", u"ab\U0001F600c", 0, 3, 2},
                    PieceCase{"pair_ends_the_piece", u"ab\U0001F600c", 0, 4, 4},
                    PieceCase{"cut_after_the_pair", u"\U0001F600\U0001F600", 0, 3, 2},
                    PieceCase{"pair_at_the_end_of_text", u"ab\U0001F600", 0, 3, 2},
                    PieceCase{"pair_whole_where_one_fits", u"\U0001F600x", 0, 1, 2},
                    PieceCase{"pair_whole_from_the_middle", u"a\U0001F600", 1, 1, 3},
                    PieceCase{"lone_high_half_at_the_cut", u"a\xD83D" u"bc", 0, 2, 2},
                    PieceCase{"lone_low_half_at_the_cut", u"a\xDE00" u"bc", 0, 1, 1},
                    PieceCase{"at_the_end", u"abc", 3, 8, 3},
                    PieceCase{"nothing_asked", u"abc", 0, 0, 1}));

TEST(Pieces, CoverTheTextWithoutSplittingAPair) {
    // Walked as the console writer walks it, pieces of 3: every piece ends
    // beside a whole character and together they are the text.
    const QString text = QString::fromUtf16(u"a\U0001F600b\U0001F600\U0001F600cd\U0001F600");
    QString joined;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype end = console::pieceEnd(text, at, 3);
        ASSERT_GT(end, at);
        EXPECT_FALSE(text[end - 1].isHighSurrogate()) << "piece ends at " << end;
        joined += QStringView(text).sliced(at, end - at);
        at = end;
    }
    EXPECT_EQ(joined, text);
}

} // namespace
