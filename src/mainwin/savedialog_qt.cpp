// The save question where Qt's own dialog is the platform's: the program's
// SaveFileDialog, with its create question.
#include "mainwin/opensave.h"

QString AskSaveFileName(QWidget* owner, QString filter, const QString& title,
                        const QString& initialDir, QString* selectedFilter) {
    return opensave::askWithSaveFileDialog(owner, opensave::convertFilter(std::move(filter)), title,
                                           initialDir, selectedFilter);
}
