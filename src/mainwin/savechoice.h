#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <functional>

// What Windows' save dialog is given, and what its answer means, kept apart
// from the dialog so that it is the same, and tested, everywhere.
namespace opensave {

// One entry of the dialog's list of types.
struct FileType {
    QString name;       // shown in the list: the filter's description as given
    QString patterns;   // the patterns as the dialog's table takes them: "*.jpg;*.jpeg"
    QString nameFilter; // what the caller is told when this type was chosen

    friend bool operator==(const FileType&, const FileType&) = default;
};

// The types of a converted filter, in its order (the first one is selected).
// A pair whose patterns are all blank is left out: the dialog would offer a
// type that matches nothing.
QList<FileType> fileTypes(QStringView converted);

// The question asked before an existing file is replaced, where the dialog
// did not ask it about that file.
QString replaceQuestion(const QString& path);

enum class Ask { Nothing, Create, Replace };

// The name the user accepted and the question to ask before it is taken.
struct Accepted {
    QString path;
    Ask ask = Ask::Nothing;

    friend bool operator==(const Accepted&, const Accepted&) = default;
};

// `result` is the dialog's answer, `typed` the name as the user typed it,
// made absolute in the dialog's folder. A dialog may add the chosen type's
// extension to a typed name (Wine's does, though no default extension was
// set); the name is kept as typed then, unless the longer name is an
// existing file the user picked. The dialog has asked before replacing
// `result`, so a file it names needs no second question; a new one needs
// the create question, and the typed name of an existing file the replace
// question the dialog asked about another name.
Accepted acceptedName(const QString& result, const QString& typed,
                      const std::function<bool(const QString&)>& exists);

// `typed` (the dialog's name box) as a path in `folder`: an absolute name as
// it is, a relative one inside the folder; "" when nothing is typed.
QString typedPath(const QString& folder, const QString& typed);

} // namespace opensave
