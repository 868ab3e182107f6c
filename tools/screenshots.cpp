// Pictures of the program for the user guide: the editor as it starts and
// the main window with a rendered effect. Usage: pismolot_screenshots DIR
#include "app/forms.h"
#include "editor/redak.h"
#include "mainwin/mdi.h"
#include "mainwin/rys.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>

namespace {

bool save(QWidget& window, const QString& path) {
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-DIR\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    forms::setEndProgramHandler([] {});

    Redak& editor = forms::redak();
    editor.show();
    if (!QTest::qWaitForWindowExposed(&editor))
        return 1;
    QTest::qWait(300);
    if (!save(editor, out.filePath("editor.png")))
        return 1;

    editor.Text1->setText(QStringLiteral("Pismolot"));
    editor.Text2->setCurrentText(QStringLiteral("48"));
    editor.List2->setCurrentIndex(11);
    editor.setBackgroundColour(pismolot::ColourValue::rgb(255, 255, 224));
    QTest::mouseClick(editor.Command2, Qt::LeftButton);

    MDI& main = forms::mdi();
    // Without a window manager nothing maximises the window; a fixed size
    // keeps the picture small enough for the guide.
    main.setWindowState(Qt::WindowNoState);
    main.resize(800, 420);
    if (!QTest::qWaitFor([] { return forms::hasRys() && forms::rys().Picture1->isVisible(); },
                         20000)) {
        std::fprintf(stderr, "the render job did not finish\n");
        return 1;
    }
    QTest::qWait(300);
    return save(main, out.filePath("main.png")) ? 0 : 1;
}
