#include "mainwin/opensave.h"

#include "mainwin/output.h"

#include <QAbstractProxyModel>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QUrl>

#include <algorithm>

#include <gtest/gtest.h>

using opensave::FilterPair;

namespace {

QString nul() {
    return QString(QChar(0));
}

struct FilterCase {
    const char* name;
    QString filter;
    QString converted;
    QList<FilterPair> pairs;
    QStringList qtFilters;
};

class FilterTest : public testing::TestWithParam<FilterCase> {};

TEST_P(FilterTest, ConvertsSplitsAndNamesFilters) {
    const FilterCase& c = GetParam();
    const QString converted = opensave::convertFilter(c.filter);
    EXPECT_EQ(converted, c.converted);
    EXPECT_EQ(opensave::filterPairs(converted), c.pairs);
    EXPECT_EQ(opensave::nameFilters(converted), c.qtFilters);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, FilterTest,
    testing::Values(
        FilterCase{"BmpWithoutTrailingBar",
                   "Pliki BMP (*.bmp)|*.bmp",
                   "Pliki BMP (*.bmp)" + nul() + "*.bmp" + nul(),
                   {{"Pliki BMP (*.bmp)", "*.bmp"}},
                   {"Pliki BMP (*.bmp)"}},
        FilterCase{"BmpWithTrailingBarGainsNoSecond",
                   "Pliki BMP (*.bmp)|*.bmp|",
                   "Pliki BMP (*.bmp)" + nul() + "*.bmp" + nul(),
                   {{"Pliki BMP (*.bmp)", "*.bmp"}},
                   {"Pliki BMP (*.bmp)"}},
        FilterCase{"TwoPairsInOrder",
                   "Obrazy|*.bmp;*.dib|Wszystkie (*.*)|*.*",
                   "Obrazy" + nul() + "*.bmp;*.dib" + nul() + "Wszystkie (*.*)" + nul() + "*.*" +
                       nul(),
                   {{"Obrazy", "*.bmp;*.dib"}, {"Wszystkie (*.*)", "*.*"}},
                   {"Obrazy (*.bmp *.dib)", "Wszystkie (*.*)"}},
        FilterCase{"DescriptionWithoutPatternDropped", "Tylko opis", "Tylko opis" + nul(), {}, {}},
        FilterCase{"DoubleBarEndsTheList",
                   "A|*.a||B|*.b",
                   "A" + nul() + "*.a" + nul() + nul() + "B" + nul() + "*.b" + nul(),
                   {{"A", "*.a"}},
                   {"A (*.a)"}}),
    [](const testing::TestParamInfo<FilterCase>& info) { return std::string(info.param.name); });

struct BufferCase {
    const char* name;
    QString buffer;
    QString expected;
};

class BufferTest : public testing::TestWithParam<BufferCase> {};

TEST_P(BufferTest, ReadsTheNameUpToTheNulWithoutSpaces) {
    EXPECT_EQ(opensave::fileNameFromBuffer(GetParam().buffer), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Buffers, BufferTest,
    testing::Values(
        BufferCase{"PathThenNulThenPadding", "/home/ala/obraz.bmp" + nul() + QString(200, u' '),
                   "/home/ala/obraz.bmp"},
        BufferCase{"LeadingAndTrailingSpaces", "   /tmp/a b.bmp  " + nul() + "   ", "/tmp/a b.bmp"},
        BufferCase{"NoNul", "/tmp/efekt", "/tmp/efekt"},
        BufferCase{"OnlySpacesIsEmpty", QString(254, u' '), ""},
        BufferCase{"TabsAreKept", "\t/tmp/x\t" + nul(), "\t/tmp/x\t"}),
    [](const testing::TestParamInfo<BufferCase>& info) { return std::string(info.param.name); });

TEST(SaveFileDialog, StartsOnTheFirstFilterAddsNoExtensionAndAsksBeforeOverwriting) {
    QWidget owner;
    const QString filter = opensave::convertFilter("Obrazy BMP (*.bmp)|*.bmp|Wszystkie|*.*");
    opensave::SaveFileDialog dialog(&owner, filter, "Zapisz jako", QString());
    EXPECT_EQ(dialog.windowTitle(), "Zapisz jako");
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.nameFilters(), QStringList({"Obrazy BMP (*.bmp)", "Wszystkie (*.*)"}));
    EXPECT_EQ(dialog.selectedNameFilter(), "Obrazy BMP (*.bmp)");
    EXPECT_TRUE(dialog.defaultSuffix().isEmpty());
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_FALSE(dialog.testOption(QFileDialog::ReadOnly));
    EXPECT_EQ(dialog.parentWidget(), &owner);
    EXPECT_EQ(dialog.windowModality(), Qt::WindowModal);
}

// A new name is accepted only after the create question says yes; the
// question names the new file and a "no" keeps the dialog open.
TEST(SaveFileDialog, AsksBeforeCreatingANewFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const bool answer : {false, true}) {
        SCOPED_TRACE(answer ? "yes" : "no");
        opensave::SaveFileDialog dialog(nullptr, opensave::convertFilter("B|*.bmp"), "T",
                                        dir.path());
        QStringList asked;
        dialog.confirmCreate = [&](const QString& path) {
            asked.append(path);
            return answer;
        };
        dialog.selectFile(dir.filePath("nowy"));
        dialog.setResult(QDialog::Rejected);
        dialog.accept();
        ASSERT_EQ(asked.size(), 1);
        EXPECT_EQ(QFileInfo(asked[0]).fileName(), "nowy");
        EXPECT_EQ(dialog.result(), answer ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_FALSE(QFile::exists(dir.filePath("nowy"))); // the dialog writes nothing
    }
}

// A name in a folder that is not there: the user is told so in Polish, is
// asked nothing about creating the file, and the dialog stays open.
TEST(SaveFileDialog, MissingFolderIsReportedAndTheDialogStaysOpen) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile plain(dir.filePath("plik.bmp"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    struct Case {
        const char* name;
        QString path;
        QString folder;
    };
    const Case cases[] = {
        {"missing folder", dir.filePath("brak/obraz.bmp"), dir.filePath("brak")},
        {"missing folders", dir.filePath("a/b/ż.bmp"), dir.filePath("a/b")},
        {"a file where the folder should be", dir.filePath("plik.bmp/obraz.bmp"),
         dir.filePath("plik.bmp")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        opensave::SaveFileDialog dialog(nullptr, opensave::convertFilter("B|*.bmp"), "T",
                                        dir.path());
        int created = 0;
        QStringList reported;
        dialog.confirmCreate = [&](const QString&) {
            ++created;
            return true;
        };
        dialog.reportMissingFolder = [&](const QString& folder) { reported.append(folder); };
        dialog.selectFile(c.path);
        dialog.setResult(QDialog::Rejected);
        dialog.accept();
        EXPECT_EQ(reported, QStringList{c.folder});
        EXPECT_EQ(created, 0);
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << "the dialog stays open";
    }
    EXPECT_TRUE(opensave::missingFolderMessage(dir.filePath("brak"))
                    .contains(QStringLiteral("Ten folder nie istnieje")));
}

TEST(SaveFileDialog, SaveButtonSaysZapisz) {
    opensave::SaveFileDialog dialog(nullptr, opensave::convertFilter("B|*.bmp"), "T", QString());
    EXPECT_EQ(dialog.labelText(QFileDialog::Accept), QStringLiteral("&Zapisz"));
}

TEST(SaveFileDialog, FolderNameIsNotACreateQuestion) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    opensave::SaveFileDialog dialog(nullptr, opensave::convertFilter("B|*.bmp"), "T", dir.path());
    int asked = 0;
    dialog.confirmCreate = [&](const QString&) {
        ++asked;
        return true;
    };
    dialog.selectFile(dir.filePath("sub"));
    dialog.accept();
    EXPECT_EQ(asked, 0);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

// With the program's own filters: BMP selected first, and a name typed as
// the user typed it whichever filter is chosen; the caller learns the filter.
TEST(SaveFileDialog, ProgramsFiltersKeepTheTypedName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // SVG and PDF follow the bitmap formats, of which WebP may be missing.
    const int svgRow = pismolot::canWriteFormat(pismolot::ImageFormat::Webp) ? 4 : 3;
    const struct {
        const char* typed;
        int filterRow; // in the dialog's list of types
        const char* filter;
    } cases[] = {{"obraz", 1, "Pliki PNG (*.png)"},
                 {"OBRAZ.PNG", 0, "Pliki BMP (*.bmp)"},
                 {"obraz.jpeg", 2, "Pliki JPEG (*.jpg *.jpeg)"},
                 {"plakat", svgRow, "Obraz wektorowy SVG (*.svg)"},
                 {"plakat", svgRow + 1, "Dokument PDF (*.pdf)"}};
    for (const auto& c : cases) {
        opensave::SaveFileDialog dialog(nullptr, opensave::convertFilter(output::saveFilter()),
                                        "Zapisz jako", dir.path());
        dialog.confirmCreate = [](const QString&) { return true; };
        EXPECT_EQ(dialog.selectedNameFilter(), "Pliki BMP (*.bmp)");
        auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
        auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
        ASSERT_TRUE(types && name);
        EXPECT_EQ(types->itemText(3), pismolot::canWriteFormat(pismolot::ImageFormat::Webp)
                                          ? "Pliki WebP (*.webp)"
                                          : "Obraz wektorowy SVG (*.svg)");
        EXPECT_EQ(types->count(), svgRow + 2);
        types->setCurrentIndex(c.filterRow);
        QTest::keyClicks(name, c.typed);
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << c.typed;
        EXPECT_EQ(opensave::fileNameFromBuffer(dialog.selectedFiles().value(0)),
                  dir.filePath(c.typed));
        EXPECT_EQ(dialog.selectedNameFilter(), c.filter);
    }
}

} // namespace

// The dialog's size and date columns speak the program's language, not the
// system's.
TEST(SaveFileDialog, SizesAndDatesAreWrittenInPolish) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("obraz.bmp");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(9072, 'x'));
    file.close();
    opensave::SaveFileDialog dialog(nullptr, opensave::convertFilter("B|*.bmp"), "T", dir.path());
    const QAbstractProxyModel* shown = dialog.proxyModel();
    ASSERT_NE(shown, nullptr);
    const auto* files = qobject_cast<const QFileSystemModel*>(shown->sourceModel());
    ASSERT_NE(files, nullptr);
    QModelIndex date;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            date = shown->mapFromSource(files->index(path, opensave::SaveFileDialog::DateColumn));
            return date.isValid() && !shown->data(date).toString().isEmpty();
        },
        5000));
    const QDateTime modified = QFileInfo(path).lastModified();
    EXPECT_EQ(shown->data(date).toString(), QLocale().toString(modified, QLocale::ShortFormat));
    EXPECT_NE(shown->data(date).toString(),
              QLocale::system().toString(modified, QLocale::ShortFormat))
        << "the test needs a system language other than Polish (LC_ALL=C.UTF-8)";
    const QModelIndex size =
        shown->mapFromSource(files->index(path, opensave::SaveFileDialog::SizeColumn));
    EXPECT_EQ(shown->data(size).toString(), "8,86 KiB");
    // A folder has no size.
    const QModelIndex folder =
        shown->mapFromSource(files->index(dir.path(), opensave::SaveFileDialog::SizeColumn));
    EXPECT_EQ(shown->data(folder).toString(), "");
    QLocale::setDefault(before);
}

// The places ("Komputer", the home folder) and the detail columns ("Obraz
// BMP Windows") show their texts whole, also when a longer place is added.
TEST(SaveFileDialog, PlacesAndColumnsShowTheirTextsWhole) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath("obraz.bmp"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(9072, 'x'));
    file.close();
    const QString longPlace = dir.filePath("Obrazy z wakacji nad morzem");
    ASSERT_TRUE(QDir().mkpath(longPlace));
    opensave::SaveFileDialog dialog(nullptr, opensave::convertFilter("B|*.bmp"), "T", dir.path());
    dialog.setViewMode(QFileDialog::Detail);
    dialog.resize(600, 400);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* places = dialog.findChild<QListView*>("sidebar");
    auto* details = dialog.findChild<QTreeView*>("treeView");
    ASSERT_NE(places, nullptr);
    ASSERT_NE(details, nullptr);
    auto wholeEntries = [&] {
        int widest = 0;
        for (int row = 0; row < places->model()->rowCount(); ++row)
            widest =
                std::max(widest, places->sizeHintForIndex(places->model()->index(row, 0)).width());
        return places->viewport()->width() >= widest;
    };
    EXPECT_TRUE(wholeEntries()) << places->viewport()->width();
    dialog.setSidebarUrls(dialog.sidebarUrls() << QUrl::fromLocalFile(longPlace));
    QApplication::processEvents();
    EXPECT_TRUE(QTest::qWaitFor(wholeEntries, 2000)) << places->viewport()->width();

    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return details->model()->rowCount(details->rootIndex()) == 2; }, 5000));
    QApplication::processEvents();
    // A view item elides what is wider than its column less the text margins.
    const int margins =
        2 * (details->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, details) + 1);
    for (const int column :
         {opensave::SaveFileDialog::SizeColumn, opensave::SaveFileDialog::TypeColumn,
          opensave::SaveFileDialog::DateColumn}) {
        for (int r = 0; r < details->model()->rowCount(details->rootIndex()); ++r) {
            const QString text =
                details->model()->index(r, column, details->rootIndex()).data().toString();
            EXPECT_GE(details->columnWidth(column),
                      details->fontMetrics().horizontalAdvance(text) + margins)
                << text.toStdString();
        }
    }
    QLocale::setDefault(before);
}
