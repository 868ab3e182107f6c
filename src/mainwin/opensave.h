#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

class QListView;

// The save-file question of the program ("Zapisz jako...").
namespace opensave {

// The filter as the dialog record takes it: every "|" becomes a NUL; a
// filter that does not end with "|" gets one first, so the list always ends
// with a NUL after its last pattern.
QString convertFilter(QString filter);

struct FilterPair {
    QString description;
    QString pattern; // ";"-separated, "*.bmp;*.dib"

    friend bool operator==(const FilterPair&, const FilterPair&) = default;
};

// The description-and-pattern pairs of a converted filter, in order. A
// description without its pattern is dropped.
QList<FilterPair> filterPairs(QStringView converted);

// Name filters for QFileDialog, one per pair: the description, with the
// pattern appended in parentheses unless the description already ends with it.
QStringList nameFilters(QStringView converted);

// The message for a name whose folder does not exist.
QString missingFolderMessage(const QString& folder);

// The question asked before a file that does not exist yet is created.
QString createQuestion(const QString& path);

// The chosen name as the dialog leaves it in its file buffer: the text up to
// the first NUL, without leading and trailing spaces.
QString fileNameFromBuffer(QStringView buffer);

// The width a file dialog's list of places needs to show its longest entry
// whole, its frame and a scroll bar included.
int sidebarWidth(const QListView& sidebar);

// The save dialog: overwrite question from QFileDialog, plus a question
// before a file that does not exist yet is created, and a refusal of a name
// in a folder that does not exist.
class SaveFileDialog : public QFileDialog {
    Q_OBJECT
public:
    SaveFileDialog(QWidget* owner, const QString& convertedFilter, const QString& title,
                   const QString& initialDir);

    // Asked before accepting a name of a file that does not exist; false keeps
    // the dialog open. Replaceable so tests never block in a message box.
    std::function<bool(const QString& path)> confirmCreate;
    // Told that the folder of the chosen name does not exist; the dialog
    // stays open. Replaceable like confirmCreate.
    std::function<void(const QString& folder)> reportMissingFolder;

    void accept() override;

    // The columns of the detail view.
    static constexpr int SizeColumn = 1;
    static constexpr int TypeColumn = 2;
    static constexpr int DateColumn = 3;

private:
    void fitDetailColumns();
};

// Asks with SaveFileDialog: the full path, or "" on cancel; `selectedFilter`,
// where given, gets the name filter selected when the name was accepted.
QString askWithSaveFileDialog(QWidget* owner, const QString& convertedFilter, const QString& title,
                              const QString& initialDir, QString* selectedFilter);

} // namespace opensave

// Asks for the name of a file to write. `filter` holds description and
// pattern pairs separated by "|"; the first is selected. Returns the full
// path, or "" on cancel; `selectedFilter`, where given, gets the name filter
// selected when the name was accepted. The dialog is SaveFileDialog
// (savedialog_qt.cpp), or on Windows the system's common save dialog with
// the same questions (savedialog_win.cpp).
QString AskSaveFileName(QWidget* owner, QString filter, const QString& title,
                        const QString& initialDir, QString* selectedFilter = nullptr);
