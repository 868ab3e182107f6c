#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// What Windows' save dialog is given and asked, kept apart from the dialog so
// that it is the same, and tested, everywhere.
namespace opensave {

// One entry of the dialog's list of types.
struct FileType {
    QString name;       // shown in the list: the filter's description as given
    QString spec;       // the patterns as the dialog's table takes them: "*.jpg;*.jpeg"
    QString nameFilter; // what the caller is told when this type was chosen

    friend bool operator==(const FileType&, const FileType&) = default;
};

// The types of a converted filter, in its order (the first one is selected).
// A pair whose patterns are all blank is left out: the dialog would offer a
// type that matches nothing.
QList<FileType> fileTypes(QStringView converted);

// Whether accepting `path` needs the question before a file is created: a
// name that names nothing yet. An existing file has had the replace question.
bool asksBeforeCreating(const QString& path);

} // namespace opensave
