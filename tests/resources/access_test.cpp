// Keyboard and screen-reader habits of every window: Enter presses the
// focused button, windows tell their roles, and what is only seen (a colour,
// the result picture, the focus) is told or shown.
#include "about/autorx.h"
#include "app/forms.h"
#include "colour/tlo.h"
#include "editor/colourswatch.h"
#include "editor/redak.h"
#include "mainwin/mdi.h"
#include "mainwin/opensave.h"
#include "mainwin/rys.h"
#include "render/styles.h"
#include "resources/access.h"
#include "resources/colourbutton.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "accessiblenames.h"
#include "freshwindows.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using pismolot::ColourValue;

namespace {

class Access : public FreshWindows<> {
public:
    // Shows `window` active with `focus` focused, as a keyboard user has it.
    static bool focusIn(QWidget& window, QWidget& focus) {
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        focus.setFocus(Qt::TabFocusReason);
        return focus.hasFocus();
    }

    int urlsOpened = 0;
    int ends() const { return endCalls; }
    // Windows a case makes outside the registry, and a folder to browse.
    std::unique_ptr<QWidget> own;
    QTemporaryDir folder;

protected:
    void SetUp() override {
        FreshWindows::SetUp();
        ui::setUpAccess(*qApp);
        AutorX::setUrlOpener([this](const QUrl&) { ++urlsOpened; });
    }
    void TearDown() override {
        own.reset();
        AutorX::setUrlOpener({});
        FreshWindows::TearDown();
    }
};

// A focused button and the check, made before the press, that it was pressed.
struct Focused {
    QWidget* button = nullptr;
    std::function<bool()> pressed;
};

struct ButtonCase {
    const char* row;
    std::function<Focused(Access&)> focus;
};

void PrintTo(const ButtonCase& c, std::ostream* out) {
    *out << c.row;
}

template <class Object, class Signal> std::function<bool()> emitted(Object* sender, Signal signal) {
    auto spy = std::make_shared<QSignalSpy>(sender, signal);
    return [spy] { return spy->count() == 1; };
}

class EnterOnFocusedButton : public Access, public testing::WithParamInterface<ButtonCase> {};

// Enter and Return each press the button once, as Space does.
TEST_P(EnterOnFocusedButton, PressesIt) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        SCOPED_TRACE(key == Qt::Key_Return ? "Return" : "Enter");
        const Focused focused = GetParam().focus(*this);
        ASSERT_NE(focused.button, nullptr);
        ASSERT_TRUE(focused.button->hasFocus());
        QTest::keyClick(focused.button, key,
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        EXPECT_TRUE(focused.pressed());
        forms::unloadAll();
        own.reset();
        urlsOpened = endCalls = 0;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, EnterOnFocusedButton,
    testing::Values(
        ButtonCase{"Redak_Bold",
                   [](Access&) -> Focused {
                       Redak& r = forms::redak();
                       if (!Access::focusIn(r, *r.tbToolBar[0]))
                           return {};
                       return {r.tbToolBar[0], [&r] {
                                   return r.previewFont().bold && r.tbToolBar[0]->isChecked();
                               }};
                   }},
        ButtonCase{"Redak_Autor",
                   [](Access&) -> Focused {
                       Redak& r = forms::redak();
                       if (!Access::focusIn(r, *r.Command3))
                           return {};
                       return {r.Command3, emitted(&r, &Redak::aboutBoxWanted)};
                   }},
        ButtonCase{"Redak_Koniec",
                   [](Access& t) -> Focused {
                       Redak& r = forms::redak();
                       if (!Access::focusIn(r, *r.Command4))
                           return {};
                       return {r.Command4, [&t] { return t.ends() == 1; }};
                   }},
        ButtonCase{"Tlo_OK",
                   [](Access&) -> Focused {
                       Tlo& d = forms::tlo();
                       if (!Access::focusIn(d, *d.Command1))
                           return {};
                       auto chosen = emitted(&d, &Tlo::colourChosen);
                       return {d.Command1, [chosen, &d] { return chosen() && !d.isVisible(); }};
                   }},
        ButtonCase{"AutorX_WWW",
                   [](Access& t) -> Focused {
                       AutorX& a = forms::autorX();
                       if (!Access::focusIn(a, *a.Command2))
                           return {};
                       return {a.Command2, [&t, &a] { return t.urlsOpened == 1 && a.isVisible(); }};
                   }},
        // In a dialog Qt gives Enter to the default button ("Zapisz") unless
        // a push button has the focus: a focused tool button must win too.
        ButtonCase{"SaveDialog_ToParent",
                   [](Access& t) -> Focused {
                       const QString inner = t.folder.filePath("wewnątrz");
                       QDir().mkpath(inner);
                       auto* dialog = new opensave::SaveFileDialog(
                           nullptr, opensave::convertFilter("B|*.bmp"), "T", inner);
                       t.own.reset(dialog);
                       auto* up = dialog->findChild<QToolButton*>("toParentButton");
                       if (!up || !Access::focusIn(*dialog, *up))
                           return {};
                       const QString parent = QDir(t.folder.path()).canonicalPath();
                       return {up, [dialog, parent] {
                                   return dialog->isVisible() &&
                                          dialog->directory().canonicalPath() == parent;
                               }};
                   }}),
    [](const testing::TestParamInfo<ButtonCase>& info) { return std::string(info.param.row); });

// Where no button has the focus the colour dialog has no default button:
// Enter and Esc press neither "OK" nor "Anuluj".
TEST_F(Access, ColourDialogHasNoDefaultButton) {
    Tlo& d = forms::tlo();
    QSignalSpy chosen(&d, &Tlo::colourChosen);
    for (QWidget* focus : std::initializer_list<QWidget*>{d.HScroll1, d.Text2}) {
        ASSERT_TRUE(focusIn(d, *focus));
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(focus, key);
            EXPECT_TRUE(d.isVisible()) << focus->accessibleName().toStdString() << ' ' << key;
        }
    }
    EXPECT_EQ(chosen.count(), 0);
}

// Enter with Ctrl is another key; a check box and a disabled button keep
// Qt's own Enter.
TEST_F(Access, OnlyPlainEnterOnAnEnabledPushOrToolButtonPresses) {
    QPushButton push, disabled;
    QToolButton tool;
    QCheckBox box;
    disabled.setEnabled(false);
    const auto presses = [](QWidget& w, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        return focusIn(w, w) &&
               ui::buttonPressedByEnter(&w, QKeyEvent(QEvent::KeyPress, key, modifiers)) != nullptr;
    };
    EXPECT_TRUE(presses(push, Qt::Key_Return, Qt::NoModifier));
    EXPECT_TRUE(presses(tool, Qt::Key_Enter, Qt::KeypadModifier));
    EXPECT_FALSE(presses(push, Qt::Key_Return, Qt::ControlModifier));
    EXPECT_FALSE(presses(push, Qt::Key_Space, Qt::NoModifier));
    EXPECT_FALSE(presses(box, Qt::Key_Return, Qt::NoModifier));
    EXPECT_FALSE(presses(disabled, Qt::Key_Return, Qt::NoModifier));
}

// A screen reader hears a frame for a program window and a dialog for a
// dialog, never a "filler"; the render child, made on its own and then put
// into the main window's work area, is a part of it, not a frame in a frame.
TEST_F(Access, WindowsAreFramesAndDialogs) {
    MDI& main = forms::mdi();
    main.Timer1->stop();
    Rys& child = forms::rys();
    child.stopTimer();
    QAccessible::queryAccessibleInterface(&child);
    main.showRenderWindow(child);
    opensave::SaveFileDialog save(nullptr, opensave::convertFilter("B|*.bmp"), "Zapisz jako",
                                  folder.path());
    const std::pair<QWidget*, QAccessible::Role> table[] = {
        {&forms::redak(), QAccessible::Window}, {&main, QAccessible::Window},
        {&child, QAccessible::Client},          {&forms::autorX(), QAccessible::Dialog},
        {&forms::tlo(), QAccessible::Dialog},   {&save, QAccessible::Dialog}};
    for (const auto& [window, role] : table) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(window);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->role(), role) << window->metaObject()->className();
        EXPECT_FALSE(face->text(QAccessible::Name).isEmpty());
    }
}

QString description(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Description) : QString();
}

// The swatch and the preview tell the colour they show, and follow it.
TEST_F(Access, ColoursAreToldInWordsAndNumbers) {
    Redak& r = forms::redak();
    r.setBackgroundColour(ColourValue::rgb(255, 0, 0));
    EXPECT_EQ(description(r.Label4).toStdString(),
              "czerwony: czerwony 255, zielony 0, niebieski 0");
    r.setBackgroundColour(ColourValue::rgb(0, 0, 128));
    EXPECT_EQ(description(r.Label4).toStdString(),
              "granatowy: czerwony 0, zielony 0, niebieski 128");

    Tlo& d = forms::tlo();
    ASSERT_TRUE(focusIn(d, *d.Text2));
    QTest::keyClick(d.Text2, Qt::Key_Backspace);
    QTest::keyClicks(d.Text2, "255");
    EXPECT_EQ(description(d.Label1).toStdString(), "zielony: czerwony 0, zielony 255, niebieski 0");
}

// The picture says what it shows and how big it is, in the file's pixels.
TEST_F(Access, ResultPictureTellsTextStyleAndSize) {
    pismolot::EffectSettings settings;
    settings.text = "Text";
    settings.styleIndex = 5;
    Rys& child = forms::rys();
    child.stopTimer();
    child.setSettings(settings);
    child.setResultPicture(QImage(65, 46, QImage::Format_RGB32));
    EXPECT_EQ(description(child.Picture1).toStdString(),
              "Napis „Text”, styl „" + pismolot::styleName(5).toStdString() + "”, 65 × 46 pikseli");
    EXPECT_EQ(accessibleName(child.Picture1).toStdString(), "Obraz efektu");
}

// The focused button of the About box shows a black ring with a white one
// inside, one logical pixel each, on its green face, at 100 % and 200 %.
TEST_F(Access, AboutBoxFocusMarkStandsOut) {
    AutorX& a = forms::autorX();
    ASSERT_TRUE(focusIn(a, *a.Command1));
    for (const qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        for (ColourButton* button : {a.Command1, a.Command2}) {
            QImage face(button->size() * ratio, QImage::Format_RGB32);
            face.setDevicePixelRatio(ratio);
            button->render(&face);
            const int y = face.height() / 2;
            const int outer = int(ColourButton::FocusInset * ratio);
            const bool focused = button->hasFocus();
            for (int i = 0; i < int(ratio); ++i) {
                EXPECT_EQ(face.pixel(outer + i, y) == qRgb(0, 0, 0), focused) << i;
                EXPECT_EQ(face.pixel(outer + int(ratio) + i, y) == qRgb(255, 255, 255), focused)
                    << i;
                EXPECT_EQ(face.pixel(face.width() - 1 - outer - i, y) == qRgb(0, 0, 0), focused)
                    << i;
            }
            // Inside the ring the face keeps its colour.
            EXPECT_EQ(face.pixel(outer + 2 * int(ratio), y), qRgb(0, 128, 0));
        }
    }
}

} // namespace
