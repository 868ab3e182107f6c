#include "mainwin/savechoice.h"

#include "mainwin/opensave.h"

#include <QDir>

#include <gtest/gtest.h>

using opensave::Ask;
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
                  "Pliki BMP (*.bmp)|*.bmp|Pliki JPEG (*.jpg *.jpeg)|*.jpg;*.jpeg",
                  {{"Pliki BMP (*.bmp)", "*.bmp", "Pliki BMP (*.bmp)"},
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
        TypesCase{"EmptyFilterNoTypes", "", {}}),
    [](const testing::TestParamInfo<TypesCase>& info) { return std::string(info.param.name); });

struct AcceptedCase {
    const char* name;
    QString result; // the dialog's answer
    QString typed;  // the name box, made a path
    QStringList existing;
    opensave::Accepted accepted;
};

class AcceptedTest : public testing::TestWithParam<AcceptedCase> {};

// The name taken and the question asked first, whatever extension the
// dialog added and whichever files exist.
TEST_P(AcceptedTest, KeepsTheTypedNameAndAsksOnce) {
    const AcceptedCase& c = GetParam();
    const auto exists = [&c](const QString& path) { return c.existing.contains(path); };
    EXPECT_EQ(opensave::acceptedName(c.result, c.typed, exists), c.accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Names, AcceptedTest,
    testing::Values(
        AcceptedCase{
            "NewNameAsTyped", "C:\\d\\obraz", "C:\\d\\obraz", {}, {"C:\\d\\obraz", Ask::Create}},
        AcceptedCase{"ExistingNameTheDialogAskedAbout",
                     "C:\\d\\a.bmp",
                     "C:\\d\\a.bmp",
                     {"C:\\d\\a.bmp"},
                     {"C:\\d\\a.bmp", Ask::Nothing}},
        AcceptedCase{"AddedExtensionDroppedAnyCase",
                     "C:\\D\\Obraz.BMP",
                     "c:\\d\\obraz",
                     {},
                     {"c:\\d\\obraz", Ask::Create}},
        // The dialog asked about "stary.png.bmp", not the file to be replaced.
        AcceptedCase{"AddedExtensionDroppedExistingName",
                     "C:\\d\\stary.png.bmp",
                     "C:\\d\\stary.png",
                     {"C:\\d\\stary.png"},
                     {"C:\\d\\stary.png", Ask::Replace}},
        // A picked file shown without its extension keeps it.
        AcceptedCase{"PickedExistingFileKeepsItsExtension",
                     "C:\\d\\obraz.bmp",
                     "C:\\d\\obraz",
                     {"C:\\d\\obraz.bmp"},
                     {"C:\\d\\obraz.bmp", Ask::Nothing}},
        AcceptedCase{"OtherFolderIsNotAnExtension",
                     "C:\\d\\obraz.x\\y",
                     "C:\\d\\obraz",
                     {},
                     {"C:\\d\\obraz.x\\y", Ask::Create}},
        AcceptedCase{
            "NothingTypedKeepsTheResult", "/d/obraz.bmp", "", {}, {"/d/obraz.bmp", Ask::Create}},
        AcceptedCase{"NoResultNoName", "", "/d/obraz", {"/d/obraz"}, {}}),
    [](const testing::TestParamInfo<AcceptedCase>& info) { return std::string(info.param.name); });

// The name box as a path: inside the folder shown unless it names its own.
TEST(SaveChoice, TypedNameIsMadeAPathInTheFolder) {
    const struct {
        QString typed;
        QString path;
    } cases[] = {{"żółw", "/home/ala/żółw"},
                 {"  obraz bez rozszerzenia ", "/home/ala/obraz bez rozszerzenia"},
                 {"/tmp/obraz", "/tmp/obraz"},
                 {"../ola/obraz", "/home/ola/obraz"},
                 {"   ", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(opensave::typedPath("/home/ala", c.typed), QDir::toNativeSeparators(c.path))
            << c.typed.toStdString();
}

} // namespace
