// The save question where Qt's own dialog is the platform's: the program's
// SaveFileDialog, with its create question.
#include "mainwin/opensave.h"

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
