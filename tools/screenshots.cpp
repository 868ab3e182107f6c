// Pictures of the program for the README and the user guide, each window as a
// user sees it: the editor at start, the colour dialog, the About box and the
// main window with a rendered effect.
//
//   pismolot_screenshots DIR
//
// writes DIR/editor.png, colour.png, about.png and main.png; at a device pixel
// ratio other than 1 the names get "@2x" (QT_SCALE_FACTOR=2), "@1.5x" (Windows
// at 150 %) and the like. Each picture is read back from the screen with the
// window's frame: on Windows (and Wine) the frame Windows drew, from the
// screen's pixels; on an X screen with a window manager and ImageMagick's
// import, the frame the window manager drew. Elsewhere it is the client area
// as Qt paints it. scripts/screenshots runs this at 100 % and 200 % on Linux,
// and with --windows at 100 % and 150 % under Wine, into docs/windows/.
#include "about/autorx.h"
#include "app/forms.h"
#include "colour/tlo.h"
#include "editor/redak.h"
#include "mainwin/mdi.h"
#include "mainwin/rys.h"
#include "resources/appearance.h"
#include "resources/icons.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <windows.h>

#include <dwmapi.h>
#endif

namespace {

// Long enough for the window manager to draw the frame and mark the window
// active; nothing in the windows animates.
constexpr int SettleMs = 500;
constexpr int RenderTimeoutMs = 20000;
constexpr int WholeRunTimeoutMs = 120000;

// The main window's size in the picture: the program maximises it, which on a
// desktop makes a picture too big for the README.
constexpr QSize MainWindowSize(640, 300);

// The window with its frame in the screen's device pixels, as Windows has it.
// Qt's frame margins leave out the side and bottom borders Wine draws, and
// scaling Qt's logical rectangle at 150 % would be a pixel off at the edges.
QRect windowsFrame(const QWidget& window) {
#ifdef Q_OS_WIN
    const auto hwnd = reinterpret_cast<HWND>(window.winId());
    RECT r{};
    // Windows 10 and 11 count invisible resize borders in the window's
    // rectangle; the frame as drawn is the compositor's.
    if (FAILED(DwmGetWindowAttribute(hwnd, DWMWA_EXTENDED_FRAME_BOUNDS, &r, sizeof r)) &&
        !GetWindowRect(hwnd, &r))
        return {};
    return {QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)};
#else
    Q_UNUSED(window);
    return {};
#endif
}

class Camera {
public:
    Camera(const QDir& out, qreal ratio) : out_(out) {
        if (ratio != 1.0)
            suffix_ = QStringLiteral("@%1x").arg(ratio);
        const QString platform = QGuiApplication::platformName();
        windows_ = platform == QLatin1String("windows");
        if (platform == QLatin1String("xcb"))
            import_ = QStandardPaths::findExecutable(QStringLiteral("import"));
        if (!windows_ && import_.isEmpty())
            std::fprintf(stderr, "note: no X screen or no ImageMagick import; the pictures "
                                 "show the client areas without frames\n");
    }

    bool shoot(QWidget& window, const QString& name) {
        settle(window);
        QImage picture = framed(window);
        if (picture.isNull())
            picture = window.grab().toImage();
        const QString path = out_.filePath(name + suffix_ + QStringLiteral(".png"));
        QImageWriter writer(path, "png");
        if (!writer.write(picture)) {
            std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path),
                         qPrintable(writer.errorString()));
            return false;
        }
        std::printf("%s %dx%d\n", qPrintable(path), picture.width(), picture.height());
        return true;
    }

private:
    static void settle(QWidget& window) {
        // The pointer away from every window, so that no button shows its hover
        // colour and no tooltip opens.
        if (QScreen* screen = window.screen())
            QCursor::setPos(screen, screen->geometry().bottomRight());
        window.raise();
        window.activateWindow();
        if (!QTest::qWaitForWindowExposed(&window))
            std::fprintf(stderr, "note: %s was not exposed\n", qPrintable(window.windowTitle()));
        // Without a window manager nothing may activate it; the picture is
        // still right, only a frame's colour would differ.
        if (!QTest::qWaitForWindowActive(&window))
            std::fprintf(stderr, "note: %s did not become active\n",
                         qPrintable(window.windowTitle()));
        QTest::qWait(SettleMs);
    }

    // The window and its frame as they are on the screen, in device pixels.
    QImage framed(const QWidget& window) const {
        if (windows_)
            return fromScreen(window);
        if (import_.isEmpty())
            return {};
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("shot.png"));
        const QStringList arguments{QStringLiteral("-silent"), QStringLiteral("-window"),
                                    QString::number(window.winId()), QStringLiteral("-frame"),
                                    path};
        if (QProcess::execute(import_, arguments) != 0)
            return {};
        return QImage(path);
    }

    // Windows has no window manager to ask for a framed window: the frame's
    // rectangle is cut from the whole screen, grabbed in device pixels.
    static QImage fromScreen(const QWidget& window) {
        QScreen* screen = window.screen();
        const QRect frame = windowsFrame(window);
        if (!screen || frame.isEmpty())
            return {};
        const QImage whole = screen->grabWindow(0).toImage();
        const QPoint origin = screen->geometry().topLeft() * whole.devicePixelRatio();
        QImage picture = whole.copy(frame.translated(-origin));
        picture.setDevicePixelRatio(1.0);
        return picture;
    }

    QDir out_;
    QString suffix_;
    QString import_;
    bool windows_ = false;
};

void selectEntry(QComboBox& list, const QString& text) {
    const int index = list.findText(text);
    if (index >= 0)
        list.setCurrentIndex(index);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-DIR\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists()) {
        std::fprintf(stderr, "%s: no such folder\n", argv[1]);
        return 2;
    }
    // What the program sets up before its first window.
    QApplication::setApplicationName(QStringLiteral("Pismolot"));
    ui::setUpApplication(app);
    QApplication::setWindowIcon(icons::common());
    // A steady text cursor, so that two runs give the same pictures.
    QApplication::setCursorFlashTime(0);
    forms::setEndProgramHandler([] {});
    QTimer::singleShot(WholeRunTimeoutMs, [] {
        std::fprintf(stderr, "the windows did not come up in time\n");
        std::_Exit(1);
    });

    Redak& editor = forms::redak();
    // The first family of the list depends on the fonts installed; the
    // pictures should not.
    selectEntry(*editor.List1, QStringLiteral("DejaVu Sans"));
    editor.show();
    if (!QTest::qWaitForWindowExposed(&editor))
        return 1;
    Camera camera(out, editor.devicePixelRatioF());
    bool ok = camera.shoot(editor, QStringLiteral("editor"));

    // "Zmień" shows the colour dialog modally: the picture is taken, and "OK"
    // pressed, from inside its event loop.
    QTimer::singleShot(0, &editor, [&] {
        Tlo& dialog = forms::tlo();
        dialog.HScroll1->setValue(255);
        dialog.HScroll2->setValue(236);
        dialog.HScroll3->setValue(179);
        dialog.HScroll3->setFocus();
        ok = camera.shoot(dialog, QStringLiteral("colour")) && ok;
        dialog.Command1_Click();
    });
    QTest::mouseClick(editor.Command1, Qt::LeftButton);

    QTest::mouseClick(editor.Command3, Qt::LeftButton);
    if (forms::hasAutorX()) {
        AutorX& about = forms::autorX();
        ok = camera.shoot(about, QStringLiteral("about")) && ok;
        about.Command1_Click();
    } else {
        std::fprintf(stderr, "\"Autor\" opened no About box\n");
        ok = false;
    }

    selectEntry(*editor.List1, QStringLiteral("DejaVu Serif"));
    editor.Text1->setText(QStringLiteral("Dzień dobry!"));
    selectEntry(*editor.Text2, QStringLiteral("48"));
    editor.tbToolBar[0]->click();
    editor.List2->setCurrentIndex(8);
    QTest::mouseClick(editor.Command2, Qt::LeftButton);

    MDI& main = forms::mdi();
    if (!QTest::qWaitFor([] { return forms::hasRys() && forms::rys().Picture1->isVisible(); },
                         RenderTimeoutMs)) {
        std::fprintf(stderr, "the render job did not finish\n");
        return 1;
    }
    main.showNormal();
    main.resize(MainWindowSize);
    if (!QTest::qWaitFor([&] { return main.size() == MainWindowSize; }, 2000))
        std::fprintf(stderr, "note: the main window kept its size\n");
    ok = camera.shoot(main, QStringLiteral("main")) && ok;
    return ok ? 0 : 1;
}
