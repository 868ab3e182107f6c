#pragma once

#include <QUrl>

namespace about {

// Hands a web address, a "mailto:" link or a local page to the desktop's
// default handler; the result is ignored, as there is nothing to do about it
// (shell_posix.cpp: the desktop's opener; shell_win.cpp: ShellExecuteW).
void openWithShell(const QUrl& url);

} // namespace about
