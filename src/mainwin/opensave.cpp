#include "mainwin/opensave.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QListView>
#include <QMessageBox>
#include <QScrollBar>
#include <QTreeView>

#include <algorithm>

namespace opensave {

QString convertFilter(QString filter) {
    if (!filter.endsWith(u'|'))
        filter += u'|';
    filter.replace(u'|', QChar(0));
    return filter;
}

QList<FilterPair> filterPairs(QStringView converted) {
    const QList<QStringView> items = converted.split(QChar(0));
    QList<FilterPair> pairs;
    for (qsizetype i = 0; i + 1 < items.size(); i += 2) {
        // Two NULs in a row end the list.
        if (items[i].isEmpty())
            break;
        if (!items[i + 1].isEmpty())
            pairs.append({items[i].toString(), items[i + 1].toString()});
    }
    return pairs;
}

QStringList nameFilters(QStringView converted) {
    QStringList filters;
    for (const FilterPair& pair : filterPairs(converted)) {
        QStringList patterns = pair.pattern.split(u';', Qt::SkipEmptyParts);
        for (QString& p : patterns)
            p = p.trimmed();
        const QString suffix = u'(' + patterns.join(u' ') + u')';
        const QString description = pair.description.trimmed();
        if (description.endsWith(suffix))
            filters.append(description);
        else if (description.isEmpty())
            filters.append(suffix);
        else
            filters.append(description + u' ' + suffix);
    }
    return filters;
}

QString fileNameFromBuffer(QStringView buffer) {
    const qsizetype nul = buffer.indexOf(QChar(0));
    QStringView name = nul < 0 ? buffer : buffer.first(nul);
    while (!name.isEmpty() && name.front() == u' ')
        name = name.sliced(1);
    while (!name.isEmpty() && name.back() == u' ')
        name.chop(1);
    return name.toString();
}

QString missingFolderMessage(const QString& folder) {
    return QStringLiteral("%1\nTen folder nie istnieje.\nSprawdź, czy podano poprawną ścieżkę.")
        .arg(QDir::toNativeSeparators(folder));
}

namespace {

// Qt's file model writes sizes and modification dates in the system's
// language ("8.86 KiB", "7 Dec 2026"); the program speaks Polish whatever the
// system's language.
class PolishFormats final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        // Folders show no size.
        if (index.column() == SaveFileDialog::SizeColumn && !files->isDir(source))
            return QLocale().formattedDataSize(files->size(source));
        if (index.column() == SaveFileDialog::DateColumn)
            return QLocale().toString(files->fileInfo(source).lastModified(), QLocale::ShortFormat);
        return QIdentityProxyModel::data(index, role);
    }
};

// Keeps the dialog's list of places ("Komputer", the home folder, the user's
// bookmarks) at least as wide as its longest entry: Qt sizes it for English
// names, or as the last dialog left it, and cuts the rest.
class SidebarFit final : public QObject {
public:
    explicit SidebarFit(QListView& sidebar) : QObject(&sidebar), sidebar_(sidebar) {
        QAbstractItemModel* places = sidebar.model();
        if (!places)
            return;
        connect(places, &QAbstractItemModel::rowsInserted, this, &SidebarFit::fit);
        connect(places, &QAbstractItemModel::dataChanged, this, &SidebarFit::fit);
        connect(places, &QAbstractItemModel::modelReset, this, &SidebarFit::fit);
        fit();
    }

    void fit() {
        sidebar_.ensurePolished();
        sidebar_.setMinimumWidth(sidebarWidth(sidebar_));
    }

private:
    QListView& sidebar_;
};

} // namespace

int sidebarWidth(const QListView& sidebar) {
    const QAbstractItemModel* places = sidebar.model();
    int widest = 0;
    for (int row = 0; places && row < places->rowCount(sidebar.rootIndex()); ++row)
        widest = std::max(
            widest, sidebar.sizeHintForIndex(places->index(row, 0, sidebar.rootIndex())).width());
    // The frame on both sides, and room for a scroll bar once the list is long.
    return widest + 2 * sidebar.frameWidth() + sidebar.verticalScrollBar()->sizeHint().width() +
           2 * sidebar.spacing();
}

SaveFileDialog::SaveFileDialog(QWidget* owner, const QString& convertedFilter, const QString& title,
                               const QString& initialDir)
    : QFileDialog(owner, title) {
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    // A name typed without an extension stays without one.
    setDefaultSuffix(QString());
    const QStringList filters = opensave::nameFilters(convertedFilter);
    if (!filters.isEmpty()) {
        setNameFilters(filters);
        selectNameFilter(filters.first());
    }
    if (!initialDir.isEmpty())
        setDirectory(initialDir);
    // Qt's Polish texts call this button "Zachowaj"; the program's own
    // menu says "Zapisz jako...".
    setLabelText(QFileDialog::Accept, QStringLiteral("&Zapisz"));
    setProxyModel(new PolishFormats(this));
    if (auto* sidebar = findChild<QListView*>(QStringLiteral("sidebar")))
        new SidebarFit(*sidebar);
    fitDetailColumns();

    confirmCreate = [this](const QString& path) {
        return QMessageBox::question(this, windowTitle(), createQuestion(path),
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::Yes) == QMessageBox::Yes;
    };
    reportMissingFolder = [this](const QString& folder) {
        QMessageBox::warning(this, windowTitle(), missingFolderMessage(folder));
    };
}

QString createQuestion(const QString& path) {
    return QStringLiteral("%1\nTen plik nie istnieje.\nCzy chcesz go utworzyć?")
        .arg(QFileInfo(path).fileName());
}

// The size, type and date columns are as wide as what the folder shows in
// them ("Obraz BMP Windows" is cut in Qt's width); the user may still change
// them until the next folder is shown.
void SaveFileDialog::fitDetailColumns() {
    auto* details = findChild<QTreeView*>(QStringLiteral("treeView"));
    auto* files = findChild<QFileSystemModel*>();
    if (!details || !files)
        return;
    connect(files, &QFileSystemModel::directoryLoaded, details, [details] {
        for (const int column : {SizeColumn, TypeColumn, DateColumn})
            details->resizeColumnToContents(column);
    });
}

void SaveFileDialog::accept() {
    const QString path = fileNameFromBuffer(selectedFiles().value(0));
    const QFileInfo info(path);
    // A name in a folder that is not there cannot be written: say so and let
    // the user choose again, before any question about creating the file.
    if (!path.isEmpty() && !info.exists() && !info.absoluteDir().exists()) {
        if (reportMissingFolder)
            reportMissingFolder(info.absolutePath());
        return;
    }
    // Existing files get QFileDialog's own overwrite question; a folder name
    // only opens the folder.
    if (!path.isEmpty() && !info.exists() && confirmCreate && !confirmCreate(path))
        return;
    QFileDialog::accept();
}

QString askWithSaveFileDialog(QWidget* owner, const QString& convertedFilter, const QString& title,
                              const QString& initialDir, QString* selectedFilter) {
    SaveFileDialog dialog(owner, convertedFilter, title, initialDir);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    if (selectedFilter)
        *selectedFilter = dialog.selectedNameFilter();
    return fileNameFromBuffer(dialog.selectedFiles().value(0));
}

} // namespace opensave
