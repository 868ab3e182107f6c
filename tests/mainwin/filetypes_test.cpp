#include "mainwin/filetypes.h"

#include "mainwin/opensave.h"
#include "mainwin/output.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using opensave::FileType;

namespace {

struct TypesCase {
    const char* name;
    QString filter;
    QList<FileType> types;
};

class FileTypesTest : public testing::TestWithParam<TypesCase> {};

// The table Windows' save dialog gets: names as given, patterns without the
// spaces Windows would take as part of a name, and for each type the name
// filter the caller reads the picture's format from.
TEST_P(FileTypesTest, BuildsTheDialogsTable) {
    EXPECT_EQ(opensave::fileTypes(opensave::convertFilter(GetParam().filter)), GetParam().types);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, FileTypesTest,
    testing::Values(
        TypesCase{"ProgramsFormatsInOrder",
                  "Pliki BMP (*.bmp)|*.bmp|Pliki PNG (*.png)|*.png|Pliki JPEG (*.jpg *.jpeg)|"
                  "*.jpg;*.jpeg",
                  {{"Pliki BMP (*.bmp)", "*.bmp", "Pliki BMP (*.bmp)"},
                   {"Pliki PNG (*.png)", "*.png", "Pliki PNG (*.png)"},
                   {"Pliki JPEG (*.jpg *.jpeg)", "*.jpg;*.jpeg", "Pliki JPEG (*.jpg *.jpeg)"}}},
        TypesCase{"SpacesAroundPatternsDropped",
                  "Obrazy| *.bmp ; *.dib ;",
                  {{"Obrazy", "*.bmp;*.dib", "Obrazy (*.bmp *.dib)"}}},
        TypesCase{"BlankDescriptionShowsPatterns", "  |*.png", {{"(*.png)", "*.png", "(*.png)"}}},
        // The caller's filter is the one of the type at the same place in
        // the dialog's list, not in the filter.
        TypesCase{"BlankPatternsLeftOutWithoutShiftingFilters",
                  "Nic| ; |Pliki BMP (*.bmp)|*.bmp",
                  {{"Pliki BMP (*.bmp)", "*.bmp", "Pliki BMP (*.bmp)"}}},
        TypesCase{"DescriptionWithoutPatternDropped", "Tylko opis", {}},
        TypesCase{"EmptyFilterNoTypes", "", {}}),
    [](const testing::TestParamInfo<TypesCase>& info) { return std::string(info.param.name); });

// The program's own list: one type per format, BMP first, and a name typed
// without an extension gets the format of the type chosen.
TEST(FileTypes, ProgramsFilterGivesEachFormat) {
    const QList<FileType> types =
        opensave::fileTypes(opensave::convertFilter(output::saveFilter()));
    const QList<output::SaveFormat> formats = output::saveFormats();
    ASSERT_EQ(types.size(), formats.size());
    EXPECT_EQ(types.first(), (FileType{"Pliki BMP (*.bmp)", "*.bmp", "Pliki BMP (*.bmp)"}));
    for (qsizetype i = 0; i < types.size(); ++i) {
        EXPECT_EQ(types[i].name, formats[i].nameFilter);
        EXPECT_EQ(output::saveFormatFor("obraz", types[i].nameFilter), formats[i].format)
            << types[i].name.toStdString();
    }
}

// The create question comes only for a name that names nothing yet.
TEST(FileTypes, AsksBeforeCreatingOnlyANewName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile old(dir.filePath("istniejący obraz.bmp"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    const struct {
        const char* name;
        QString path;
        bool asks;
    } cases[] = {
        {"NewName", dir.filePath("nowy obraz"), true},
        {"NewPolishName", dir.filePath("żółw.bmp"), true},
        {"ExistingFile", dir.filePath("istniejący obraz.bmp"), false},
        {"ExistingFolder", dir.filePath("folder"), false},
        {"NoName", "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(opensave::asksBeforeCreating(c.path), c.asks) << c.name;
}

} // namespace
