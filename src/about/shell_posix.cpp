#include "about/shell.h"

#include <QDesktopServices>

namespace about {

void openWithShell(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

} // namespace about
