#include "mainwin/opensave.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QMessageBox>

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

// Qt's file model writes the modification dates in the system's language
// ("7 Dec 2026"); the program speaks Polish whatever the system's language.
class PolishDates final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        constexpr int DateColumn = 3;
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || index.column() != DateColumn || !files)
            return QIdentityProxyModel::data(index, role);
        return QLocale().toString(files->fileInfo(mapToSource(index)).lastModified(),
                                  QLocale::ShortFormat);
    }
};

} // namespace

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
    setProxyModel(new PolishDates(this));

    confirmCreate = [this](const QString& path) {
        const QString text = QStringLiteral("%1\nTen plik nie istnieje.\nCzy chcesz go utworzyć?")
                                 .arg(QFileInfo(path).fileName());
        return QMessageBox::question(this, windowTitle(), text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::Yes) == QMessageBox::Yes;
    };
    reportMissingFolder = [this](const QString& folder) {
        QMessageBox::warning(this, windowTitle(), missingFolderMessage(folder));
    };
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

} // namespace opensave

QString AskSaveFileName(QWidget* owner, QString filter, const QString& title,
                        const QString& initialDir, QString* selectedFilter) {
    filter = opensave::convertFilter(std::move(filter));
    opensave::SaveFileDialog dialog(owner, filter, title, initialDir);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    if (selectedFilter)
        *selectedFilter = dialog.selectedNameFilter();
    return opensave::fileNameFromBuffer(dialog.selectedFiles().value(0));
}
