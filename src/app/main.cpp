#include "app/forms.h"
#include "editor/redak.h"
#include "resources/appearance.h"
#include "resources/icons.h"

#include <QApplication>

// One process, one UI thread: the editor opens first, and every other window
// is created when something first uses it.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pismolot"));
#ifdef PISMOLOT_APP_ID
    // The installed desktop entry, by which Wayland desktops find the icon.
    QApplication::setDesktopFileName(QStringLiteral(PISMOLOT_APP_ID));
#endif
    ui::setUpApplication(app);
    // Every window that has no icon of its own carries the common one.
    QApplication::setWindowIcon(icons::common());
    forms::redak().show();
    return app.exec();
}
