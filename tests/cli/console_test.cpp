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
                    PieceCase{"pair_would_be_split", u"ab\U0001F600c", 0, 3, 2},
                    PieceCase{"pair_ends_the_piece", u"ab\U0001F600c", 0, 4, 4},
                    PieceCase{"cut_after_the_pair", u"\U0001F600\U0001F600", 0, 3, 2},
                    PieceCase{"pair_whole_where_one_fits", u"\U0001F600x", 0, 1, 2},
                    PieceCase{"pair_whole_from_the_middle", u"a\U0001F600", 1, 1, 3},
                    PieceCase{"lone_high_half_at_the_cut", u"a\xD83D-c", 0, 2, 2},
                    PieceCase{"lone_low_half_at_the_cut", u"a\xDE00-c", 0, 1, 1},
                    PieceCase{"nothing_asked", u"abc", 0, 0, 1}));

} // namespace
