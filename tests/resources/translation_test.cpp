// The program speaks Polish in Qt's own dialogs too: after the start-up
// set-up, Qt's texts come out of its Polish translation.
#include "resources/appearance.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>

#include <gtest/gtest.h>

namespace {

struct QtText {
    const char* name;
    const char* context;
    const char* source;
    const char* polish;
};

void PrintTo(const QtText& text, std::ostream* out) {
    *out << text.name;
}

// Where the program takes Qt's Polish texts from: built in where no Qt is
// installed beside it (Windows, where it must be there), else Qt's installed
// translations.
const QString BuiltInTranslation = QStringLiteral(":/translations/qtbase_pl.qm");
#ifdef _WIN32
constexpr bool TranslationBuiltIn = true;
#else
constexpr bool TranslationBuiltIn = false;
#endif

QString translationFile() {
    if (TranslationBuiltIn || QFile::exists(BuiltInTranslation))
        return BuiltInTranslation;
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_pl.qm");
}

class QtPolish : public testing::TestWithParam<QtText> {
protected:
    static void SetUpTestSuite() { loaded_ = ui::loadQtTranslation(*qApp); }
    static bool loaded_;
};
bool QtPolish::loaded_ = false;

TEST_P(QtPolish, QtsOwnTextIsPolish) {
    if (TranslationBuiltIn)
        ASSERT_TRUE(QFile::exists(BuiltInTranslation)) << "not built into the program";
    else if (!QFile::exists(translationFile()))
        GTEST_SKIP() << "Qt's Polish translation is not installed ("
                     << translationFile().toStdString()
                     << "; Debian package qt6-translations-l10n)";
    ASSERT_TRUE(loaded_);
    const QtText& t = GetParam();
    EXPECT_EQ(QCoreApplication::translate(t.context, t.source).toStdString(), t.polish);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, QtPolish,
    testing::Values(QtText{"MessageBoxYes", "QPlatformTheme", "&Yes", "&Tak"},
                    QtText{"MessageBoxNo", "QPlatformTheme", "&No", "&Nie"},
                    QtText{"SaveButton", "QFileDialog", "&Save", "&Zachowaj"},
                    QtText{"CancelButton", "QPlatformTheme", "Cancel", "Anuluj"},
                    QtText{"FileNameLabel", "QFileDialog", "File &name:", "Nazwa &pliku:"},
                    QtText{"LookIn", "QFileDialog", "Look in:", "Szukaj w:"},
                    QtText{"OverwriteQuestion", "QFileDialog",
                           "%1 already exists.\nDo you want to replace it?",
                           "%1 już istnieje.\nCzy chcesz go zastąpić?"},
                    QtText{"RestoreChild", "QMdiSubWindow", "&Restore", "&Przywróć"},
                    QtText{"MoveChild", "QMdiSubWindow", "&Move", "Prze&nieś"},
                    QtText{"CloseChild", "QMdiSubWindow", "&Close", "&Zamknij"}),
    [](const testing::TestParamInfo<QtText>& info) { return std::string(info.param.name); });

TEST(QtPolishSetUp, FormatsArePolish) {
    ui::setUpApplication(*qApp);
    EXPECT_EQ(QLocale().language(), QLocale::Polish);
}

} // namespace
