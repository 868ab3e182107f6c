// What Windows refuses in the name of a file to write: found before anything
// is written, on every system (the table runs on Linux too).
#include "render/filename.h"

#include <gtest/gtest.h>

#include <QString>

using namespace pismolot;

namespace {

struct NameCase {
    const char* name;
    const char16_t* path;
    WindowsName expected;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.name;
}

class WindowsNames : public testing::TestWithParam<NameCase> {};

TEST_P(WindowsNames, AreJudgedAsWindowsDoes) {
    EXPECT_EQ(checkWindowsName(QString::fromUtf16(GetParam().path)), GetParam().expected);
}

const QString longFolder = QString(240, u'a');

INSTANTIATE_TEST_SUITE_P(
    Table, WindowsNames,
    testing::Values(NameCase{"plain", u"C:\\Obrazy\\napis.bmp", WindowsName::Fine},
                    NameCase{"polish", u"C:\\Użytkownicy\\żółw.png", WindowsName::Fine},
                    NameCase{"forward_slashes", u"C:/Obrazy/napis.bmp", WindowsName::Fine},
                    NameCase{"unc", u"\\\\serwer\\udział\\napis.bmp", WindowsName::Fine},
                    NameCase{"dots_inside", u"C:\\a\\..\\b\\.napis.v2.bmp", WindowsName::Fine},
                    NameCase{"device_word_inside", u"C:\\a\\console.bmp", WindowsName::Fine},
                    NameCase{"com10_is_a_file", u"C:\\a\\COM10.bmp", WindowsName::Fine},
                    NameCase{"nul", u"C:\\a\\NUL", WindowsName::Device},
                    NameCase{"nul_lower_with_extension", u"C:\\a\\nul.bmp", WindowsName::Device},
                    NameCase{"con", u"C:\\a\\CON", WindowsName::Device},
                    NameCase{"aux_with_extension", u"C:\\a\\aux.bmp", WindowsName::Device},
                    NameCase{"prn_space_before_dot", u"C:\\a\\prn .txt", WindowsName::Device},
                    NameCase{"com1", u"C:\\a\\COM1", WindowsName::Device},
                    NameCase{"lpt9_mixed_case", u"C:\\a\\lPt9.png", WindowsName::Device},
                    NameCase{"com_superscript", u"C:\\a\\COM\u00B9", WindowsName::Device},
                    NameCase{"conout", u"C:\\a\\CONOUT$", WindowsName::Device},
                    NameCase{"conin_with_extension", u"C:\\a\\conin$.txt", WindowsName::Device},
                    NameCase{"con_with_extension", u"C:\\a\\con.png", WindowsName::Device},
                    NameCase{"com1_with_extension", u"C:\\a\\com1.bmp", WindowsName::Device},
                    NameCase{"lpt1_with_extension", u"C:\\a\\lpt1.x", WindowsName::Device},
                    NameCase{"com0", u"C:\\a\\com0.png", WindowsName::Device},
                    NameCase{"lpt_superscript_three", u"C:\\a\\lpt\u00B3.bmp", WindowsName::Device},
                    NameCase{"superscript_four_is_a_file", u"C:\\a\\COM\u2074.bmp",
                             WindowsName::Fine},
                    NameCase{"device_as_folder_only", u"C:\\nul\\a.bmp", WindowsName::Fine},
                    NameCase{"question_mark", u"C:\\a\\co?.bmp", WindowsName::BadCharacter},
                    NameCase{"colon_after_drive", u"C:\\a\\b:c.bmp", WindowsName::BadCharacter},
                    NameCase{"pipe_in_folder", u"C:\\a|b\\c.bmp", WindowsName::BadCharacter},
                    NameCase{"quote", u"C:\\a\\\"c\".bmp", WindowsName::BadCharacter},
                    NameCase{"control_character", u"C:\\a\\c\u0001.bmp", WindowsName::BadCharacter},
                    NameCase{"star_and_angle", u"C:\\a\\<*>.bmp", WindowsName::BadCharacter},
                    NameCase{"trailing_dot", u"C:\\a\\napis.", WindowsName::BadEnd},
                    NameCase{"trailing_space", u"C:\\a\\napis.bmp ", WindowsName::BadEnd},
                    NameCase{"folder_ending_in_separator", u"C:\\a\\b\\", WindowsName::Fine}));

TEST(WindowsNames, LongPathsStopAtTheLimitUnlessVerbatim) {
    // 259 characters is the most a path may have: 260 with its terminator.
    const QString base = QStringLiteral("C:\\") + longFolder + QStringLiteral("\\");
    const QString fits = base + QString(MaxWindowsPath - 1 - base.size(), u'b');
    EXPECT_EQ(checkWindowsName(fits), WindowsName::Fine);
    EXPECT_EQ(checkWindowsName(fits + u'b'), WindowsName::TooLong);
    EXPECT_EQ(checkWindowsName(QStringLiteral("\\\\?\\") + fits + QString(300, u'b')),
              WindowsName::Fine);
    // The verbatim form still refuses what no file may be called.
    EXPECT_EQ(checkWindowsName(QStringLiteral("\\\\?\\C:\\a\\aux.bmp")), WindowsName::Device);
}

} // namespace
