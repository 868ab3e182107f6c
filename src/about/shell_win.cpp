#include "about/shell.h"

#include <QDir>

#include <windows.h>

#include <shellapi.h>

namespace about {

void openWithShell(const QUrl& url) {
    // A local page goes by its path, as Explorer would name it.
    const QString target = url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile())
                                             : url.toString(QUrl::FullyEncoded);
    ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(target.utf16()), nullptr,
                  nullptr, SW_SHOWNORMAL);
}

} // namespace about
