#include "mainwin/filetypes.h"

#include "mainwin/opensave.h"

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

bool asksBeforeCreating(const QString& path) {
    return !path.isEmpty() && !QFileInfo::exists(path);
}

} // namespace opensave
