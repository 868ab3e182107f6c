#include "colour/tlo.h"

#include "app/forms.h"
#include "editor/colourswatch.h"
#include "editor/redak.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <array>

using pismolot::ColourValue;

namespace {

class TloTest : public testing::Test {
protected:
    void SetUp() override { forms::unloadAll(); }
    void TearDown() override { forms::unloadAll(); }

    static Tlo& shown() {
        Tlo& dialog = forms::tlo();
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        return dialog;
    }

    static QColor previewBack(const Tlo& d) { return d.Label1->palette().color(QPalette::Window); }
    static QColor previewText(const Tlo& d) {
        return d.Label1->palette().color(QPalette::WindowText);
    }

    static void retype(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    static ColourSwatch* editorSwatch() { return forms::redak().Label4; }
};

} // namespace

TEST_F(TloTest, FocusStartsOnTheRedScrollBar) {
    Tlo& d = shown();
    QApplication::setActiveWindow(&d);
    EXPECT_EQ(QApplication::focusWidget(), d.HScroll1);
}

// A keyboard user sees which bar the arrow keys move.
TEST_F(TloTest, TheFocusedScrollBarShowsIt) {
    Tlo& d = shown();
    QApplication::setActiveWindow(&d);
    d.HScroll2->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.HScroll2->hasFocus(); }));
    const QImage focused = d.HScroll2->grab().toImage();
    const QImage plain = d.HScroll3->grab().toImage();
    d.HScroll3->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.HScroll3->hasFocus(); }));
    EXPECT_EQ(d.HScroll2->grab().toImage(), plain) << "the mark leaves with the focus";
    EXPECT_NE(focused, plain);
}

TEST_F(TloTest, PageStepAndDragWriteTheTextAndPreview) {
    Tlo& d = shown();
    d.HScroll2->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(d.Text2->text(), QStringLiteral("50"));
    d.HScroll2->setSliderDown(true);
    for (int v = 51; v <= 128; ++v)
        d.HScroll2->setSliderPosition(v);
    d.HScroll2->setSliderDown(false);
    EXPECT_EQ(d.Text2->text(), QStringLiteral("128"));
    EXPECT_EQ(previewBack(d), QColor(0, 128, 0));
    EXPECT_EQ(previewText(d), QColor(255, 127, 255));
}

TEST_F(TloTest, TypingMovesTheScrollBarAndNormalisesTheText) {
    Tlo& d = shown();
    retype(d.Text1, QStringLiteral("200"));
    EXPECT_EQ(d.HScroll1->value(), 200);
    EXPECT_EQ(previewBack(d), QColor(200, 0, 0));
    EXPECT_EQ(previewText(d), QColor(55, 255, 255));

    retype(d.Text3, QStringLiteral("07"));
    EXPECT_EQ(d.Text3->text(), QStringLiteral("7"));
    EXPECT_EQ(d.HScroll3->value(), 7);

    // Zeros put in front of a 7 read as the value already held: left as typed.
    d.Text3->home(false);
    QTest::keyClicks(d.Text3, QStringLiteral("00"));
    EXPECT_EQ(d.Text3->text(), QStringLiteral("007"));
    EXPECT_EQ(d.HScroll3->value(), 7);

    retype(d.Text2, QStringLiteral("300"));
    EXPECT_EQ(d.HScroll2->value(), 255);
    EXPECT_EQ(d.Text2->text(), QStringLiteral("255"));
    EXPECT_TRUE(d.isVisible());
}

TEST_F(TloTest, BackspaceToEmptyShowsZero) {
    Tlo& d = shown();
    retype(d.Text1, QStringLiteral("5"));
    ASSERT_EQ(d.HScroll1->value(), 5);
    d.Text1->end(false);
    QTest::keyClick(d.Text1, Qt::Key_Backspace);
    EXPECT_EQ(d.HScroll1->value(), 0);
    EXPECT_EQ(d.Text1->text(), QStringLiteral("0"));
    EXPECT_EQ(previewBack(d), QColor(0, 0, 0));
}

TEST_F(TloTest, PasteWithoutKeysUpdatesOnlyThePreview) {
    Tlo& d = shown();
    d.Text2->selectAll();
    d.Text2->insert(QStringLiteral("77")); // as a middle-click paste does
    EXPECT_EQ(previewBack(d), QColor(0, 77, 0));
    EXPECT_EQ(d.HScroll2->value(), 0);
    // Tab only moves the focus on; the next keystroke in the box moves the bar.
    d.Text2->setFocus();
    QTest::keyClick(d.Text2, Qt::Key_Tab);
    EXPECT_EQ(d.HScroll2->value(), 0);
    QTest::keyClick(d.Text2, Qt::Key_End);
    EXPECT_EQ(d.HScroll2->value(), 77);
}

// Composed text is no keystroke either.
TEST_F(TloTest, ComposedTextUpdatesOnlyThePreview) {
    Tlo& d = shown();
    d.Text3->setFocus();
    d.Text3->selectAll();
    QInputMethodEvent event(QString(), {});
    event.setCommitString(QStringLiteral("128"));
    QApplication::sendEvent(d.Text3, &event);
    EXPECT_EQ(d.Text3->text(), QStringLiteral("128"));
    EXPECT_EQ(previewBack(d), QColor(0, 0, 128));
    EXPECT_EQ(d.HScroll3->value(), 0);
    QTest::keyClick(d.Text3, Qt::Key_End);
    EXPECT_EQ(d.HScroll3->value(), 128);
}

TEST_F(TloTest, OkAtOnceHandsOverTheStoredBlack) {
    ColourSwatch* swatch = editorSwatch();
    ASSERT_NE(swatch, nullptr);
    Tlo& d = shown();
    QTest::mouseClick(d.Command1, Qt::LeftButton);
    EXPECT_EQ(swatch->backColor(), pismolot::syscolour::MenuText);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(forms::hasTlo());
}

TEST_F(TloTest, CancelKeepsEverythingForTheNextShowing) {
    ColourSwatch* swatch = editorSwatch();
    ASSERT_NE(swatch, nullptr);
    const ColourValue before = swatch->backColor();
    Tlo& d = shown();
    retype(d.Text1, QStringLiteral("10"));
    retype(d.Text2, QStringLiteral("20"));
    d.move(d.pos() + QPoint(30, 40));
    const QPoint where = d.pos();
    QTest::mouseClick(d.Command2, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(swatch->backColor(), before);

    Tlo& again = shown();
    EXPECT_EQ(&again, &d);
    EXPECT_EQ(again.pos(), where);
    EXPECT_EQ(again.Text1->text(), QStringLiteral("10"));
    EXPECT_EQ(again.HScroll2->value(), 20);
    EXPECT_EQ(previewBack(again), QColor(10, 20, 0));
    QTest::mouseClick(again.Command1, Qt::LeftButton);
    EXPECT_EQ(swatch->backColor(), ColourValue::rgb(10, 20, 0));
}

TEST_F(TloTest, CloseBoxDiscardsTheDialog) {
    Tlo& d = shown();
    retype(d.Text1, QStringLiteral("99"));
    d.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(forms::hasTlo());

    Tlo& fresh = shown();
    EXPECT_EQ(fresh.Text1->text(), QStringLiteral("0"));
    EXPECT_EQ(fresh.HScroll1->value(), 0);
    EXPECT_EQ(fresh.model().previewBack(), pismolot::syscolour::MenuText);
}

TEST_F(TloTest, EnterAndEscPressNeitherButton) {
    ColourSwatch* swatch = editorSwatch();
    ASSERT_NE(swatch, nullptr);
    const ColourValue before = swatch->backColor();
    Tlo& d = shown();
    QSignalSpy ok(d.Command1, &QPushButton::clicked);
    QSignalSpy cancel(d.Command2, &QPushButton::clicked);
    retype(d.Text1, QStringLiteral("40"));
    // With no button focused (Enter on a focused button presses it: see
    // keyboard_and_reader_test).
    for (QWidget* focus : {static_cast<QWidget*>(d.Text1), static_cast<QWidget*>(d.HScroll1)}) {
        focus->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(focus, key);
    }
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(ok.count(), 0);
    EXPECT_EQ(cancel.count(), 0);
    EXPECT_EQ(swatch->backColor(), before);
}

// On its own: "OK" hands the colour on while the dialog is still up, then hides.
TEST(TloAlone, OkHandsOnTheColourThenHides) {
    Tlo d;
    d.show();
    QList<ColourValue> chosen;
    bool visibleThen = false;
    QObject::connect(&d, &Tlo::colourChosen, &d, [&](ColourValue colour) {
        chosen.append(colour);
        visibleThen = d.isVisible();
    });
    QTest::mouseClick(d.Command2, Qt::LeftButton);
    EXPECT_TRUE(chosen.isEmpty()) << "Anuluj hands nothing on";
    d.show();
    QTest::mouseClick(d.Command1, Qt::LeftButton);
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_TRUE(visibleThen);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(chosen[0], pismolot::syscolour::MenuText) << "the preview was never computed";
    d.show();
    d.HScroll3->setValue(77);
    QTest::mouseClick(d.Command1, Qt::LeftButton);
    ASSERT_EQ(chosen.size(), 2);
    EXPECT_EQ(chosen[1], ColourValue::rgb(0, 0, 77));
}

// The editor waits while the dialog is up, so a minimised dialog comes
// straight back rather than leave the editor blocked with nothing on screen.
TEST_F(TloTest, MinimisedComesBack) {
    Tlo& d = shown();
    d.setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !d.isMinimized(); }, 2000));
    EXPECT_TRUE(d.isVisible());
}

TEST_F(TloTest, HiddenSignalEndsAModalWait) {
    Tlo& d = shown();
    QSignalSpy hidden(&d, &Tlo::hidden);
    QTest::mouseClick(d.Command2, Qt::LeftButton);
    EXPECT_EQ(hidden.count(), 1);
}

struct ScrollKey {
    const char* name;
    int start;
    Qt::Key key;
    int expected;
};

void PrintTo(const ScrollKey& key, std::ostream* out) {
    *out << key.name;
}

class TloScrollKey : public TloTest, public testing::WithParamInterface<ScrollKey> {};

// The classic bar's keys, on every bar: Left/Up lower, Right/Down raise,
// PageUp lowers and PageDown raises by 50, Home and End go to the ends.
TEST_P(TloScrollKey, MovesTheFocusedBar) {
    const ScrollKey& c = GetParam();
    Tlo& d = shown();
    QApplication::setActiveWindow(&d);
    const std::array<QScrollBar*, 3> bars = {d.HScroll1, d.HScroll2, d.HScroll3};
    const std::array<QLineEdit*, 3> boxes = {d.Text1, d.Text2, d.Text3};
    for (std::size_t i = 0; i < bars.size(); ++i) {
        bars[i]->setValue(c.start);
        bars[i]->setFocus();
        ASSERT_TRUE(bars[i]->hasFocus());
        QTest::keyClick(bars[i], c.key);
        EXPECT_EQ(bars[i]->value(), c.expected) << "bar " << i + 1;
        EXPECT_EQ(boxes[i]->text(), QString::number(c.expected)) << "box " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TloScrollKey,
    testing::Values(ScrollKey{"LeftLowers", 100, Qt::Key_Left, 99},
                    ScrollKey{"UpLowers", 100, Qt::Key_Up, 99},
                    ScrollKey{"RightRaises", 100, Qt::Key_Right, 101},
                    ScrollKey{"DownRaises", 100, Qt::Key_Down, 101},
                    ScrollKey{"PageUpLowers50", 100, Qt::Key_PageUp, 50},
                    ScrollKey{"PageDownRaises50", 100, Qt::Key_PageDown, 150},
                    ScrollKey{"HomeToZero", 100, Qt::Key_Home, 0},
                    ScrollKey{"EndTo255", 100, Qt::Key_End, 255},
                    ScrollKey{"LeftStopsAtZero", 0, Qt::Key_Left, 0},
                    ScrollKey{"PageUpStopsAtZero", 30, Qt::Key_PageUp, 0},
                    ScrollKey{"PageDownStopsAt255", 230, Qt::Key_PageDown, 255}),
    [](const testing::TestParamInfo<ScrollKey>& info) { return std::string(info.param.name); });
