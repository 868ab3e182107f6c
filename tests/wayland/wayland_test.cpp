// The windows on a real Wayland compositor (run_under_weston.sh starts a
// weston): the fixed-size windows' own title bar, maximise and full-screen
// requests on them, and the whole way from "&OK" to a picture on the
// clipboard that another Wayland client reads.

#include "about/autorx.h"
#include "app/forms.h"
#include "colour/tlo.h"
#include "editor/redak.h"
#include "mainwin/mdi.h"
#include "mainwin/rys.h"
#include "resources/frames.h"
#include "resources/twips.h"

#include "freshwindows.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <functional>

namespace {

// Events for a while, so that the compositor has answered whatever was asked.
void settle(int ms = 400) {
    QTest::qWait(ms);
}

// What another client reads with `wl-paste ARGS`; the event loop runs
// meanwhile, since this process serves the data.
QByteArray paste(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("wl-paste"), args);
    if (!QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 10000))
        p.kill();
    return p.exitCode() == 0 ? p.readAllStandardOutput() : QByteArray();
}

struct Wayland : FreshWindows<> {
    void SetUp() override {
        ASSERT_TRUE(QGuiApplication::platformName().startsWith("wayland"))
            << "run under a Wayland compositor";
        FreshWindows::SetUp();
    }
};

struct FixedWindow {
    const char* name;
    std::function<QWidget&()> open;
};

// The fixed-size windows, their client areas as laid out, and whether closing
// them destroys them or ends the program (the editor).
TEST_F(Wayland, FixedSizeWindowsHaveATitleBarWithTheCaptionAndACloseBoxOnly) {
    const struct {
        FixedWindow window;
        QSize client;
        std::function<bool()> exists;
    } rows[] = {
        {{"editor", []() -> QWidget& { return forms::redak(); }},
         twips::size(6975, 4440),
         &forms::hasRedak},
        {{"colour dialog", []() -> QWidget& { return forms::tlo(); }},
         twips::size(5655, 1950),
         &forms::hasTlo},
        {{"About box", []() -> QWidget& { return forms::autorX(); }},
         twips::size(4680, 3060),
         &forms::hasAutorX},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.window.name);
        QWidget& w = row.window.open();
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        EXPECT_TRUE(w.windowHandle()->flags() & Qt::FramelessWindowHint) << "no title bar of Qt's";
        const QRect client = ui::clientArea(w);
        EXPECT_EQ(client.size(), row.client);
        EXPECT_EQ(client.bottom(), w.rect().bottom());
        EXPECT_GT(client.top(), 0);
        // Every control lies inside the client area, none under the strip.
        for (QWidget* child : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->objectName() == "fixedFrameTitle" || child->isWindow())
                continue;
            EXPECT_TRUE(client.contains(child->geometry())) << child->metaObject()->className();
        }

        auto* strip = w.findChild<QWidget*>("fixedFrameTitle", Qt::FindDirectChildrenOnly);
        ASSERT_NE(strip, nullptr);
        EXPECT_EQ(strip->geometry(), QRect(0, 0, w.width(), client.top()));
        const QList<QLabel*> captions = strip->findChildren<QLabel*>();
        ASSERT_EQ(captions.size(), 1);
        EXPECT_EQ(captions[0]->text(), w.windowTitle());
        const QString title = w.windowTitle();
        w.setWindowTitle("Inny tytuł");
        EXPECT_EQ(captions[0]->text(), "Inny tytuł");
        w.setWindowTitle(title);
        const QList<QAbstractButton*> buttons = strip->findChildren<QAbstractButton*>();
        ASSERT_EQ(buttons.size(), 1) << "a close box, no minimise or maximise button";
        EXPECT_EQ(buttons[0]->accessibleName(), "Zamknij");

        // As the close box: the editor ends the program, the others go away.
        const int endsBefore = endCalls;
        QTest::mouseClick(buttons[0], Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(row.exists());
        EXPECT_EQ(endCalls - endsBefore, row.window.name == std::string("editor") ? 1 : 0);
    }
}

TEST_F(Wayland, FixedSizeWindowsStayAsTheyAreWhenAskedToMaximiseOrFillTheScreen) {
    const FixedWindow windows[] = {
        {"editor",
         []() -> QWidget& {
             forms::redak().show();
             return forms::redak();
         }},
        {"colour dialog",
         []() -> QWidget& {
             forms::tlo().show(); // modeless here: showModal would wait for its end
             return forms::tlo();
         }},
        {"About box",
         []() -> QWidget& {
             forms::autorX().showModeless();
             return forms::autorX();
         }},
    };
    const struct {
        const char* how;
        std::function<void(QWidget&)> ask;
    } requests[] = {
        {"QWidget::showMaximized", [](QWidget& w) { w.showMaximized(); }},
        {"QWindow maximised state (the title bar's button)",
         [](QWidget& w) { w.windowHandle()->setWindowStates(Qt::WindowMaximized); }},
        {"QWindow::showFullScreen", [](QWidget& w) { w.windowHandle()->showFullScreen(); }},
        {"maximised and full screen",
         [](QWidget& w) {
             w.windowHandle()->setWindowStates(Qt::WindowMaximized | Qt::WindowFullScreen);
         }},
    };
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    for (const FixedWindow& window : windows) {
        QWidget& w = window.open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w)) << window.name;
        const QSize fixed = w.size();
        ASSERT_LT(fixed.width(), screen.width()) << window.name;
        for (const auto& request : requests) {
            SCOPED_TRACE(std::string(window.name) + ", " + request.how);
            request.ask(w);
            settle();
            EXPECT_EQ(w.windowHandle()->windowStates() &
                          (Qt::WindowMaximized | Qt::WindowFullScreen),
                      Qt::WindowNoState);
            EXPECT_FALSE(w.isMaximized() || w.isFullScreen());
            EXPECT_EQ(w.size(), fixed);
            EXPECT_TRUE(w.isVisible());
        }
    }
    // The connection still works: a window shown now is exposed.
    forms::mdi().show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&forms::mdi()));
}

// A key pressed in the main window. The compositor hands the keyboard to a
// window the pointer clicked, and no pointer clicks here: the test makes the
// main window the active one itself, as a click on it would.
void pressInMainWindow(Qt::Key key) {
    MDI& mdi = forms::mdi();
    if (QApplication::activeWindow() != &mdi)
        QApplication::setActiveWindow(&mdi);
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : &mdi, key, Qt::ControlModifier);
}

TEST_F(Wayland, OkMaximisesTheMainWindowAndItsKeysGiveThePicture) {
    Redak& editor = forms::redak();
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    editor.Text1->setText("Wayland");
    QTest::mouseClick(editor.Command2, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return forms::hasRys() && forms::rys().Picture1->isVisible(); }, 15000));
    MDI& mdi = forms::mdi();
    QStringList messages;
    mdi.showMessage = [&](const QString& m) { messages.append(m); };
    // The main window maximises itself, as the compositor configured it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return mdi.isMaximized(); }, 5000));
    EXPECT_GT(mdi.width(), editor.width());
    const QImage picture = forms::rys().resultPicture();
    ASSERT_FALSE(picture.isNull());

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("wayland.bmp");
    mdi.askFileName = [&](QWidget*, QString, const QString&, const QString&, QString* selected) {
        *selected = "Pliki BMP (*.bmp)";
        return file;
    };
    pressInMainWindow(Qt::Key_S);
    EXPECT_EQ(QImage(file).convertToFormat(QImage::Format_RGB32), picture);

    pressInMainWindow(Qt::Key_C);
    settle();
    // Another client sees PNG first and gets the picture's pixels.
    const QList<QByteArray> types = paste({"--list-types"}).split('\n');
    EXPECT_EQ(types.first(), "image/png");
    const QByteArray png = paste({"--no-newline", "--type", "image/png"});
    ASSERT_TRUE(png.startsWith("\x89PNG"));
    const QImage pasted = QImage::fromData(png, "PNG");
    EXPECT_EQ(pasted.size(), picture.size());
    EXPECT_EQ(pasted.convertToFormat(QImage::Format_RGB32), picture);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();

    pressInMainWindow(Qt::Key_A);
    ASSERT_TRUE(forms::hasAutorX());
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&forms::autorX()));
}

} // namespace
