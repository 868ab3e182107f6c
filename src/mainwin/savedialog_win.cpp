// The save question on Windows: the system's common save dialog, modal to
// the owner, with no read-only box and no default extension. Windows asks
// before an existing file is replaced; the question before a new file is
// created is asked here, from the dialog's file-OK notification, in Polish,
// and "no" keeps the dialog open (one question, on Windows as under Wine,
// whose dialog never asks it).
#include "mainwin/opensave.h"

#include <QFileInfo>
#include <QWidget>
#include <QWindow>

#include <windows.h>

#include <commdlg.h>

#include <vector>

namespace {

const wchar_t* wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

struct Question {
    QString title;
};

UINT_PTR CALLBACK fileOkHook(HWND child, UINT message, WPARAM, LPARAM data) {
    if (message == WM_INITDIALOG) {
        const auto* record = reinterpret_cast<const OPENFILENAMEW*>(data);
        SetWindowLongPtrW(child, GWLP_USERDATA, LONG_PTR(record->lCustData));
        return 0;
    }
    if (message != WM_NOTIFY)
        return 0;
    const auto* notice = reinterpret_cast<const OFNOTIFYW*>(data);
    if (notice->hdr.code != CDN_FILEOK)
        return 0;
    const QString path = opensave::fileNameFromBuffer(QStringView(notice->lpOFN->lpstrFile));
    if (path.isEmpty() || QFileInfo::exists(path))
        return 0;
    const auto* question =
        reinterpret_cast<const Question*>(GetWindowLongPtrW(child, GWLP_USERDATA));
    // The dialog is the hook's parent; the question is modal to it.
    const int answer = MessageBoxW(GetParent(child), wide(opensave::createQuestion(path)),
                                   wide(question->title), MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES)
        return 0;
    SetWindowLongPtrW(child, DWLP_MSGRESULT, 1);
    return 1;
}

} // namespace

QString AskSaveFileName(QWidget* owner, QString filter, const QString& title,
                        const QString& initialDir, QString* selectedFilter) {
    filter = opensave::convertFilter(std::move(filter));
    // Room for any name Windows allows, not the 254 characters of the
    // dialog's 8-bit record.
    std::vector<wchar_t> file(32768, L'\0');
    Question question{title};

    OPENFILENAMEW record = {};
    record.lStructSize = sizeof record;
    record.hwndOwner = owner ? reinterpret_cast<HWND>(owner->window()->winId()) : nullptr;
    record.hInstance = GetModuleHandleW(nullptr);
    record.lpstrFilter = wide(filter); // its own terminator ends the list
    record.nFilterIndex = 1;
    record.lpstrFile = file.data();
    record.nMaxFile = DWORD(file.size());
    record.lpstrInitialDir = initialDir.isEmpty() ? nullptr : wide(initialDir);
    record.lpstrTitle = wide(title);
    record.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING | OFN_HIDEREADONLY |
                   OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    record.lpstrDefExt = nullptr;
    record.lCustData = LPARAM(&question);
    record.lpfnHook = fileOkHook;

    if (!GetSaveFileNameW(&record))
        return QString();
    if (selectedFilter) {
        const QStringList filters = opensave::nameFilters(filter);
        *selectedFilter = filters.value(int(record.nFilterIndex) - 1);
    }
    return opensave::fileNameFromBuffer(QStringView(file.data()));
}
