#include "textinput.h"

#include <gtest/gtest.h>

using namespace pismolot;
using namespace pismolot::cli;

namespace {

struct Utf8Case {
    const char* name;
    QByteArray bytes;
    std::optional<qsizetype> offset;
};

class Utf8Validation : public testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Validation, FirstBadByte) {
    EXPECT_EQ(invalidUtf8Offset(GetParam().bytes), GetParam().offset);
    // Where Qt's decoder finds no fault either, the two agree.
    if (!GetParam().offset) {
        EXPECT_FALSE(QString::fromUtf8(GetParam().bytes).contains(QChar::ReplacementCharacter));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Utf8Validation,
    testing::Values(Utf8Case{"empty", QByteArray(), std::nullopt},
                    Utf8Case{"ascii", QByteArray("Text"), std::nullopt},
                    Utf8Case{"polish", QByteArray("Zażółć"), std::nullopt},
                    Utf8Case{"fourBytes", QByteArray("a\xF0\x9F\x98\x80"), std::nullopt},
                    Utf8Case{"highest", QByteArray("\xF4\x8F\xBF\xBF"), std::nullopt},
                    Utf8Case{"lone0xFF", QByteArray("ab\xFF"), 2},
                    Utf8Case{"loneContinuation", QByteArray("\x80"), 0},
                    Utf8Case{"overlongSlash", QByteArray("x\xC0\xAF"), 1},
                    Utf8Case{"overlongThree", QByteArray("\xE0\x80\xAF"), 0},
                    Utf8Case{"surrogate", QByteArray("ok\xED\xA0\x80"), 2},
                    Utf8Case{"aboveUnicode", QByteArray("\xF4\x90\x80\x80"), 0},
                    Utf8Case{"truncatedAtEnd", QByteArray("abc\xC5"), 3},
                    Utf8Case{"truncatedBeforeAscii", QByteArray("\xE2\x82z"), 0},
                    Utf8Case{"afterGoodLetters", QByteArray("\xC5\xBC\xC3\xB3\xFE"), 4}),
    [](const testing::TestParamInfo<Utf8Case>& info) { return std::string(info.param.name); });

struct TextFileCase {
    const char* name;
    QByteArray bytes;
    std::optional<QString> text;
    const char* errorPart;
};

class TextFiles : public testing::TestWithParam<TextFileCase> {};

TEST_P(TextFiles, DecodedAsOneLine) {
    const TextResult r = decodeTextFile(GetParam().bytes);
    EXPECT_EQ(r.text, GetParam().text);
    if (!GetParam().text) {
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(GetParam().errorPart)))
            << r.error.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextFiles,
    testing::Values(
        TextFileCase{"plain", QByteArray("Dzień dobry"), QStringLiteral("Dzień dobry"), ""},
        TextFileCase{"trailingLineFeed", QByteArray("Hi\n"), QStringLiteral("Hi"), ""},
        TextFileCase{"trailingCrLf", QByteArray("Hi\r\n"), QStringLiteral("Hi"), ""},
        TextFileCase{"byteOrderMark", QByteArray("\xEF\xBB\xBFHi\n"), QStringLiteral("Hi"), ""},
        TextFileCase{"onlyTheFirstMark", QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFHi"),
                     QStringLiteral("\uFEFFHi"), ""},
        TextFileCase{"emptyFile", QByteArray(), QString(), ""},
        TextFileCase{"onlyLineFeed", QByteArray("\n"), QString(), ""},
        TextFileCase{"spacesKept", QByteArray("  a \t\n"), QStringLiteral("  a \t"), ""},
        TextFileCase{"twoLines", QByteArray("one\ntwo\n"), std::nullopt, "line break"},
        TextFileCase{"twoTrailingBreaks", QByteArray("one\n\n"), std::nullopt, "line break"},
        TextFileCase{"carriageReturnInside", QByteArray("a\rb"), std::nullopt, "line break"},
        TextFileCase{"nul", QByteArray("a\0b", 3), std::nullopt, "NUL"},
        TextFileCase{"invalidAfterMark", QByteArray("\xEF\xBB\xBFok\xFF"), std::nullopt,
                     "invalid UTF-8 at byte offset 5"},
        TextFileCase{"latin1", QByteArray("Gr\xFC\xDF"), std::nullopt,
                     "invalid UTF-8 at byte offset 2"}),
    [](const testing::TestParamInfo<TextFileCase>& info) { return std::string(info.param.name); });

struct BatchLineCase {
    const char* name;
    QByteArray bytes;
    bool first;
    BatchLine::Kind kind;
    const char* output;
    const char* textOrError;
};

class BatchLines : public testing::TestWithParam<BatchLineCase> {};

TEST_P(BatchLines, Parsed) {
    const BatchLineCase& c = GetParam();
    const BatchLine line = parseBatchLine(c.bytes, c.first);
    EXPECT_EQ(line.kind, c.kind);
    if (c.kind == BatchLine::Kind::Picture) {
        EXPECT_EQ(line.text, fromUtf8(c.textOrError));
        EXPECT_EQ(encodeFileName(line.output), QByteArray(c.output));
        EXPECT_EQ(line.text.toUtf8(), QByteArray(c.textOrError));
    } else if (c.kind == BatchLine::Kind::Bad) {
        EXPECT_TRUE(line.error.contains(QString::fromUtf8(c.textOrError)))
            << line.error.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, BatchLines,
    testing::Values(
        BatchLineCase{"plain", "a.png\tEtykieta 001", false, BatchLine::Kind::Picture, "a.png",
                      "Etykieta 001"},
        BatchLineCase{"crlf", "a.png\tHi\r", false, BatchLine::Kind::Picture, "a.png", "Hi"},
        BatchLineCase{"markOnFirst",
                      "\xEF\xBB\xBF"
                      "a\tHi",
                      true, BatchLine::Kind::Picture, "a", "Hi"},
        BatchLineCase{"markOnLaterLineStays",
                      "\xEF\xBB\xBF"
                      "a\t\xEF\xBB\xBFHi",
                      false, BatchLine::Kind::Picture,
                      "\xEF\xBB\xBF"
                      "a",
                      "\xEF\xBB\xBFHi"},
        BatchLineCase{"tabsInText", "a\tb\tc", false, BatchLine::Kind::Picture, "a", "b\tc"},
        BatchLineCase{"polish", "żółw.png\tŻółw", false, BatchLine::Kind::Picture, "żółw.png",
                      "Żółw"},
        BatchLineCase{"empty", "", false, BatchLine::Kind::Skip, "", ""},
        BatchLineCase{"onlyCarriageReturn", "\r", false, BatchLine::Kind::Skip, "", ""},
        BatchLineCase{"comment", "# a.png\tx", false, BatchLine::Kind::Skip, "", ""},
        BatchLineCase{"commentAfterMark", "\xEF\xBB\xBF# x", true, BatchLine::Kind::Skip, "", ""},
        BatchLineCase{"indentedHashIsNoComment", " # x", false, BatchLine::Kind::Bad, "", "no tab"},
        BatchLineCase{"noTab", "a.png Hi", false, BatchLine::Kind::Bad, "", "no tab"},
        BatchLineCase{"emptyOutput", "\tHi", false, BatchLine::Kind::Bad, "", "empty OUTPUT"},
        BatchLineCase{"emptyText", "a.png\t", false, BatchLine::Kind::Bad, "", "empty TEXT"},
        BatchLineCase{"emptyTextCrlf", "a.png\t\r", false, BatchLine::Kind::Bad, "", "empty TEXT"},
        BatchLineCase{"carriageReturnInside", "a.png\tx\ry", false, BatchLine::Kind::Bad, "",
                      "line break"},
        BatchLineCase{"invalidUtf8", "a.png\tx\xFF", false, BatchLine::Kind::Bad, "",
                      "invalid UTF-8 at byte offset 7 of the line"},
        BatchLineCase{"outputIsBytes", "a\xFF.png\tx", false, BatchLine::Kind::Picture, "a\xFF.png",
                      "x"},
        BatchLineCase{"noTabNotUtf8", "a\xFFx", false, BatchLine::Kind::Bad, "",
                      "invalid UTF-8 at byte offset 1"}),
    [](const testing::TestParamInfo<BatchLineCase>& info) { return std::string(info.param.name); });

TEST(Quoting, OneLineWhateverTheName) {
    EXPECT_EQ(quoted(QStringLiteral("a b.png")), QStringLiteral("\"a b.png\""));
    EXPECT_EQ(quoted(QStringLiteral("a\nb.bmp")), QStringLiteral("\"a\\nb.bmp\""));
    EXPECT_EQ(quoted(QStringLiteral("say \"hi\"\\")), QStringLiteral("\"say \\\"hi\\\"\\\\\""));
    EXPECT_EQ(quoted(QStringLiteral("\x1b[31m\t\r")), QStringLiteral("\"\\u001b[31m\\t\\r\""));
    EXPECT_EQ(quoted(QStringLiteral("x\u2028y\u0085")), QStringLiteral("\"x\\u2028y\\u0085\""));
    EXPECT_EQ(quoted(QStringLiteral("żółw")), QStringLiteral("\"żółw\""));
    // What quoted() made passes oneLine() unchanged.
    const QString q = quoted(QStringLiteral("a\\b\n"));
    EXPECT_EQ(oneLine(q), q);
    EXPECT_EQ(oneLine(QStringLiteral("x\ny")), QStringLiteral("x\\ny"));
}

// Arguments are decoded as file names: any bytes come back unchanged, and
// those that are no UTF-8 are shown as \xNN and found by their offset.
struct ArgumentCase {
    const char* name;
    QByteArray bytes;
    const char* shown;
    std::optional<qsizetype> badOffset;
};

class Arguments : public testing::TestWithParam<ArgumentCase> {};

TEST_P(Arguments, KeepTheirBytes) {
    const ArgumentCase& c = GetParam();
    const char* argv[] = {"pismolot-render", c.bytes.constData()};
    const QStringList decoded = decodeArguments(2, argv);
    ASSERT_EQ(decoded.size(), 1);
    EXPECT_EQ(encodeFileName(decoded.constFirst()), c.bytes);
    EXPECT_EQ(quoted(decoded.constFirst()), QString::fromUtf8(c.shown));
    EXPECT_EQ(argumentUtf8Offset(decoded.constFirst()), c.badOffset);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Arguments,
    testing::Values(ArgumentCase{"polish", "żółw.bmp", "\"żółw.bmp\"", std::nullopt},
                    ArgumentCase{"latin1Byte", "x\xFF.bmp", "\"x\\xff.bmp\"", 1},
                    ArgumentCase{"cutSequence", "\xC5", "\"\\xc5\"", 0},
                    // The UTF-8 form of the surrogate that carries 0x80: three bytes.
                    ArgumentCase{"encodedSurrogate", "a\xED\xB2\x80", "\"a\\xed\\xb2\\x80\"", 1},
                    // U+10080 is the pair D800 DC80: a character, not a byte.
                    ArgumentCase{"pairEndingInAnEscape", "\xF0\x90\x82\x80\xFE",
                                 "\"\xF0\x90\x82\x80\\xfe\"", 4},
                    ArgumentCase{"markKept",
                                 "\xEF\xBB\xBF"
                                 "a",
                                 "\"\xEF\xBB\xBF"
                                 "a\"",
                                 std::nullopt}),
    [](const testing::TestParamInfo<ArgumentCase>& info) { return std::string(info.param.name); });

} // namespace
