#include "mainwin/savechoice.h"

#include "mainwin/opensave.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace opensave {

QList<FileType> fileTypes(QStringView converted) {
    const QList<FilterPair> pairs = filterPairs(converted);
    // One name filter per pair, in the same order.
    const QStringList names = nameFilters(converted);
    QList<FileType> types;
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        QStringList patterns;
        for (const QString& pattern : pairs[i].pattern.split(u';', Qt::SkipEmptyParts)) {
            if (!pattern.trimmed().isEmpty())
                patterns.append(pattern.trimmed());
        }
        if (patterns.isEmpty())
            continue;
        const QString description = pairs[i].description.trimmed();
        // A blank description would be a blank line in the list.
        types.append({description.isEmpty() ? names[i] : pairs[i].description, patterns.join(u';'),
                      names[i]});
    }
    return types;
}

QString replaceQuestion(const QString& path) {
    return QStringLiteral("%1 już istnieje.\nCzy chcesz go zastąpić?")
        .arg(QFileInfo(path).fileName());
}

namespace {

// Whether `longer` is `name` with an extension added: one more dot and no
// further folder.
bool extensionAdded(const QString& longer, const QString& name) {
    if (name.isEmpty() || longer.size() <= name.size() + 1 ||
        !longer.startsWith(name, Qt::CaseInsensitive) || longer[name.size()] != u'.')
        return false;
    const QString added = longer.mid(name.size() + 1);
    return !added.contains(u'.') && !added.contains(u'\\') && !added.contains(u'/');
}

} // namespace

Accepted acceptedName(const QString& result, const QString& typed,
                      const std::function<bool(const QString&)>& exists) {
    if (result.isEmpty())
        return {};
    if (extensionAdded(result, typed) && !exists(result))
        return {typed, exists(typed) ? Ask::Replace : Ask::Create};
    return {result, exists(result) ? Ask::Nothing : Ask::Create};
}

QString typedPath(const QString& folder, const QString& typed) {
    const QString name = fileNameFromBuffer(typed);
    if (name.isEmpty())
        return QString();
    const QString path = QDir::cleanPath(
        QDir(QDir::fromNativeSeparators(folder)).filePath(QDir::fromNativeSeparators(name)));
    return QDir::toNativeSeparators(path);
}

} // namespace opensave
