#include "about/aboutlogic.h"
#include "app/forms.h"
#include "app/platformoptions.h"
#include "editor/redak.h"
#include "resources/appearance.h"
#include "resources/icons.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

constexpr char Usage[] =
    "Usage: pismolot [Qt options]\n"
    "Opens the Pismolot editor: one line of text, made a coloured text picture.\n"
    "\n"
    "Options:\n"
    "  -h, --help     print this help and exit\n"
    "  --version      print the version and exit\n"
    "Qt's own options work too, for example -platform NAME, -style NAME and\n"
    "-qwindowgeometry WxH+X+Y. For pictures without a display see\n"
    "pismolot-render(1).\n";

// --help and --version answer before Qt starts, so they need no display.
// Nothing after "--" is an option.
const char* information(int argc, char** argv) {
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (!std::strcmp(argv[i], "-h") || !std::strcmp(argv[i], "--help") ||
            !std::strcmp(argv[i], "-help"))
            return Usage;
        if (!std::strcmp(argv[i], "--version") || !std::strcmp(argv[i], "-version"))
            return "pismolot " PISMOLOT_VERSION "\n";
    }
    return nullptr;
}

} // namespace

// One process, one UI thread: the editor opens first, and every other window
// is created when something first uses it.
int main(int argc, char** argv) {
    if (const char* text = information(argc, argv)) {
        std::fputs(text, stdout);
        if (text == Usage) {
            // Where this copy of the program finds its guide, wherever it
            // was installed; a core application needs no display.
            const QCoreApplication core(argc, argv);
            std::printf("The user guide: %s\n", about::guideFile().toLocal8Bit().constData());
        }
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    platformoptions::Arguments qtArgs(argc, argv);
    QApplication app(qtArgs.argc(), qtArgs.argv());
    // Qt has taken its own options out of argv: anything left is a mistake.
    if (qtArgs.argc() > 1) {
        std::fprintf(stderr, "pismolot: unknown option or argument '%s' (see --help)\n",
                     qtArgs.argv()[1]);
        return 2;
    }
    QApplication::setApplicationVersion(QStringLiteral(PISMOLOT_VERSION));
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
