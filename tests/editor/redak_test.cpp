#include "app/forms.h"
#include "editor/colourswatch.h"
#include "editor/editormodel.h"
#include "editor/redak.h"
#include "render/fonts.h"
#include "render/styles.h"
#include "resources/framebox.h"
#include "resources/xdata.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

class RedakTest : public testing::Test {
protected:
    void SetUp() override {
        forms::setEndProgramHandler([this] { ++endCalls; });
    }
    void TearDown() override {
        forms::unloadAll();
        forms::setEndProgramHandler({});
    }

    Redak& editor() { return forms::redak(); }

    // The size box's text replaced by typing: select all, Delete, then keys.
    void retypeSize(const QString& digits) {
        Redak& r = editor();
        r.Text2->lineEdit()->selectAll();
        QTest::keyClick(r.Text2, Qt::Key_Delete);
        QTest::keyClicks(r.Text2, digits);
    }

    QImage shownPicture() { return editor().Image1->pixmap().toImage(); }

    // The colour of a button's face inside its edge, as drawn; the letter
    // picture sits in the middle.
    static QColor faceOf(QWidget* button) {
        const QImage image = button->grab().toImage();
        const qreal ratio = image.devicePixelRatio();
        return QColor(image.pixel(int(3 * ratio), int(3 * ratio)));
    }

    int endCalls = 0;
};

TEST_F(RedakTest, StateAfterStart) {
    Redak& r = editor();
    EXPECT_EQ(r.minimumSize(), r.maximumSize()) << "fixed single border";
    EXPECT_TRUE(r.listsFilled());

    QStringList fonts;
    for (int i = 0; i < r.List1->count(); ++i)
        fonts << r.List1->itemText(i);
    EXPECT_EQ(fonts, pismolot::sortedFontFamilies());
    EXPECT_EQ(r.List1->currentIndex(), 0);
    EXPECT_FALSE(r.List1->isEditable());

    EXPECT_EQ(r.effectText(), QStringLiteral("Text"));
    const pismolot::FontChoice font = r.previewFont();
    EXPECT_EQ(font, (pismolot::FontChoice{r.List1->itemText(0), 24.0f, false, false, false}));

    ASSERT_EQ(r.Text2->count(), int(editor::SizePresets.size()));
    for (int i = 0; i < r.Text2->count(); ++i)
        EXPECT_EQ(r.Text2->itemText(i), QString::fromLatin1(editor::SizePresets[std::size_t(i)]))
            << "preset " << i;
    EXPECT_EQ(r.Text2->currentIndex(), 10);
    EXPECT_EQ(r.Text2->currentText(), QStringLiteral("24"));

    ASSERT_EQ(r.List2->count(), pismolot::StyleCount);
    for (int i = 0; i < pismolot::StyleCount; ++i)
        EXPECT_EQ(r.List2->itemText(i).toStdString(), pismolot::StyleNames[std::size_t(i)]);
    EXPECT_EQ(r.styleIndex(), 0);
    EXPECT_EQ(shownPicture(), forms::xdata().picture(0));

    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(r.attributeShading(k), pismolot::syscolour::ButtonFace) << "button " << k;
    EXPECT_EQ(r.backgroundColour(), pismolot::syscolour::CaptionText);
}

TEST_F(RedakTest, OkHidesTheEditorAndShowsTheMainWindow) {
    Redak& r = editor();
    r.show();
    QTest::mouseClick(r.Command2, Qt::LeftButton);
    EXPECT_FALSE(r.isVisible());
    EXPECT_TRUE(forms::hasMdi());
    EXPECT_EQ(endCalls, 0);
}

TEST_F(RedakTest, TypedDigitsSetTheSize) {
    Redak& r = editor();
    retypeSize(QStringLiteral("12"));
    EXPECT_EQ(r.Text2->currentText(), QStringLiteral("12"));
    EXPECT_EQ(r.previewFont().size, 12.0f);
}

struct RefusedKey {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

class RedakRefusedKey : public RedakTest, public testing::WithParamInterface<RefusedKey> {};

TEST_P(RedakRefusedKey, ChangesNothing) {
    Redak& r = editor();
    r.Text2->lineEdit()->setCursorPosition(2);
    QTest::keyClick(r.Text2, GetParam().key, GetParam().modifiers);
    EXPECT_EQ(r.Text2->currentText(), QStringLiteral("24"));
    EXPECT_EQ(r.Text2->count(), int(editor::SizePresets.size())) << "nothing added to the list";
    EXPECT_EQ(r.previewFont().size, 24.0f);
}

INSTANTIATE_TEST_SUITE_P(Keys, RedakRefusedKey,
                         testing::Values(RefusedKey{"letter", Qt::Key_A, Qt::NoModifier},
                                         RefusedKey{"blank", Qt::Key_Space, Qt::NoModifier},
                                         RefusedKey{"minus", Qt::Key_Minus, Qt::NoModifier},
                                         RefusedKey{"point", Qt::Key_Period, Qt::NoModifier},
                                         RefusedKey{"comma", Qt::Key_Comma, Qt::NoModifier},
                                         RefusedKey{"slash", Qt::Key_Slash, Qt::NoModifier},
                                         RefusedKey{"colon", Qt::Key_Colon, Qt::NoModifier},
                                         RefusedKey{"backspace", Qt::Key_Backspace, Qt::NoModifier},
                                         RefusedKey{"enter", Qt::Key_Return, Qt::NoModifier},
                                         RefusedKey{"cut", Qt::Key_X, Qt::ControlModifier}),
                         [](const testing::TestParamInfo<RefusedKey>& info) {
                             return std::string(info.param.name);
                         });

struct ComposedCase {
    const char* name;
    QString commit;
    QString preedit;
    QString expected; // the box's text after "24" and the composed text
};

class RedakComposed : public RedakTest, public testing::WithParamInterface<ComposedCase> {};

// Text composed through an input method takes the rule of typed keys, on the
// box and on its line edit alike.
TEST_P(RedakComposed, TakesTheRuleOfTypedKeys) {
    const ComposedCase& c = GetParam();
    Redak& r = editor();
    for (QWidget* target : std::initializer_list<QWidget*>{r.Text2, r.Text2->lineEdit()}) {
        r.Text2->setEditText(QStringLiteral("24"));
        r.Text2->lineEdit()->setCursorPosition(2);
        QInputMethodEvent event(c.preedit, {});
        event.setCommitString(c.commit);
        QApplication::sendEvent(target, &event);
        EXPECT_EQ(r.Text2->currentText(), c.expected) << target->metaObject()->className();
        EXPECT_EQ(r.previewFont().size, c.expected.toFloat());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Composed, RedakComposed,
    testing::Values(ComposedCase{"zero", "0", "", "240"}, ComposedCase{"nine", "9", "", "249"},
                    ComposedCase{"slash", "/", "", "24"}, ComposedCase{"colon", ":", "", "24"},
                    ComposedCase{"digitThenLetter", "1a", "", "24"},
                    ComposedCase{"arabicThree", "٣", "", "24"},
                    ComposedCase{"fullWidthOne", "１", "", "24"},
                    ComposedCase{"stillComposing", "", "5", "24"}),
    [](const testing::TestParamInfo<ComposedCase>& info) { return std::string(info.param.name); });

TEST_F(RedakTest, PasteKeyIsRefused) {
    Redak& r = editor();
    r.Text1->setText(QStringLiteral("7x"));
    r.Text1->selectAll();
    r.Text1->copy();
    r.Text2->lineEdit()->setCursorPosition(2);
    QTest::keyClick(r.Text2, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(r.Text2->currentText(), QStringLiteral("24"));
}

// A pasted line break or tab is the space the box shows, in the text itself,
// so the picture gets the words apart; the cursor ends after the paste.
class RedakPastedText : public RedakTest, public testing::WithParamInterface<const char16_t*> {};

TEST_P(RedakPastedText, BreakBecomesTheSpaceTheBoxShows) {
    Redak& r = editor();
    r.Text1->setText(QStringLiteral("["));
    r.Text1->setFocus();
    QGuiApplication::clipboard()->setText(QString::fromUtf16(GetParam()));
    QTest::keyClick(r.Text1, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(r.Text1, Qt::Key_BracketRight);
    EXPECT_EQ(r.effectText(), QStringLiteral("[linia druga]"));
    EXPECT_EQ(r.effectSettings().text, QStringLiteral("[linia druga]"));
}

INSTANTIATE_TEST_SUITE_P(Breaks, RedakPastedText,
                         testing::Values(u"linia\ndruga", u"linia\r\ndruga", u"linia\rdruga",
                                         u"linia\tdruga", u"linia\u2028druga",
                                         u"linia\u2029druga"));

TEST_F(RedakTest, DeleteAndHomeStillEdit) {
    Redak& r = editor();
    QTest::keyClick(r.Text2, Qt::Key_Home);
    QTest::keyClick(r.Text2, Qt::Key_Delete);
    EXPECT_EQ(r.Text2->currentText(), QStringLiteral("4"));
    EXPECT_EQ(r.previewFont().size, 4.0f);
    QTest::keyClick(r.Text2, Qt::Key_End);
    QTest::keyClick(r.Text2, Qt::Key_8);
    EXPECT_EQ(r.previewFont().size, 48.0f);
}

TEST_F(RedakTest, KeysSentToTheLineEditFollowTheSameRule) {
    Redak& r = editor();
    QLineEdit* edit = r.Text2->lineEdit();
    edit->setCursorPosition(2);
    QTest::keyClick(edit, Qt::Key_A);
    QTest::keyClick(edit, Qt::Key_0);
    EXPECT_EQ(r.Text2->currentText(), QStringLiteral("240"));
    EXPECT_EQ(r.previewFont().size, 240.0f);
}

TEST_F(RedakTest, UnusableSizeKeepsThePreviousSize) {
    Redak& r = editor();
    retypeSize(QStringLiteral("36"));
    ASSERT_EQ(r.previewFont().size, 36.0f);

    r.Text2->lineEdit()->selectAll();
    QTest::keyClick(r.Text2, Qt::Key_Delete);
    EXPECT_EQ(r.Text2->currentText(), QString());
    EXPECT_EQ(r.previewFont().size, 36.0f) << "emptied box";

    r.Text2->setEditText(QStringLiteral("1234567890123456789012345678901234567890"));
    EXPECT_EQ(r.previewFont().size, 36.0f) << "40 digits at once";

    // Typed one by one, the size follows while the font takes it.
    retypeSize(QStringLiteral("1234567890123456789012345678901234567890"));
    EXPECT_EQ(r.Text2->currentText().size(), 40);
    EXPECT_EQ(r.previewFont().size, 1234.0f) << "40 digits typed";

    retypeSize(QStringLiteral("2049"));
    EXPECT_EQ(r.previewFont().size, 204.0f) << "keeps the last size the font took";
}

TEST_F(RedakTest, PickedPresetSetsTheSize) {
    Redak& r = editor();
    r.Text2->setCurrentIndex(19);
    EXPECT_EQ(r.Text2->currentText(), QStringLiteral("480"));
    EXPECT_EQ(r.previewFont().size, 480.0f);
}

TEST_F(RedakTest, BoldTwiceReturnsToOffOthersKeepTheirState) {
    Redak& r = editor();
    QTest::mouseClick(r.tbToolBar[1], Qt::LeftButton);
    QTest::mouseClick(r.tbToolBar[0], Qt::LeftButton);
    EXPECT_TRUE(r.previewFont().bold);
    EXPECT_EQ(r.attributeShading(0), pismolot::ColourValue::rgb(128, 128, 128));
    // The whole face is the flat shading, no gradient of the style.
    EXPECT_EQ(faceOf(r.tbToolBar[0]), QColor(128, 128, 128));
    EXPECT_EQ(faceOf(r.tbToolBar[2]), QApplication::palette().color(QPalette::Button));
    const QImage face = r.tbToolBar[0]->grab().toImage();
    for (int y = 3; y < face.height() - 3; ++y)
        ASSERT_EQ(QColor(face.pixel(3, y)), QColor(128, 128, 128)) << "row " << y;
    EXPECT_TRUE(r.tbToolBar[0]->isChecked());
    EXPECT_TRUE(r.tbToolBar[1]->isChecked());
    EXPECT_FALSE(r.tbToolBar[2]->isChecked());

    QTest::mouseClick(r.tbToolBar[0], Qt::LeftButton);
    const pismolot::FontChoice font = r.previewFont();
    EXPECT_FALSE(font.bold);
    EXPECT_TRUE(font.italic);
    EXPECT_FALSE(font.underline);
    EXPECT_EQ(r.attributeShading(0), pismolot::syscolour::ButtonFace);
    EXPECT_EQ(r.attributeShading(1), pismolot::ColourValue::rgb(128, 128, 128));
    EXPECT_EQ(r.attributeShading(2), pismolot::syscolour::ButtonFace);
    EXPECT_EQ(font.size, 24.0f);
    EXPECT_FALSE(r.tbToolBar[0]->isChecked()) << "the checked state follows the font";
    EXPECT_EQ(faceOf(r.tbToolBar[0]), QApplication::palette().color(QPalette::Button));
}

TEST_F(RedakTest, AnotherFontKeepsSizeAndAttributes) {
    Redak& r = editor();
    if (r.List1->count() < 2)
        GTEST_SKIP() << "only one font installed";
    QTest::mouseClick(r.tbToolBar[0], Qt::LeftButton);
    QTest::mouseClick(r.tbToolBar[2], Qt::LeftButton);
    r.Text2->setCurrentIndex(13); // "36"
    r.List1->setCurrentIndex(r.List1->count() - 1);
    EXPECT_EQ(r.previewFont(), (pismolot::FontChoice{r.List1->itemText(r.List1->count() - 1), 36.0f,
                                                     true, false, true}));
}

TEST_F(RedakTest, StyleKShowsPictureK) {
    Redak& r = editor();
    for (int k : {3, 12, 7, 0, 5}) {
        r.List2->setCurrentIndex(k);
        EXPECT_EQ(r.styleIndex(), k);
        EXPECT_EQ(shownPicture(), forms::xdata().picture(k)) << "style " << k;
    }
    r.List2->setCurrentIndex(-1);
    EXPECT_EQ(shownPicture(), forms::xdata().picture(5)) << "no selection keeps the picture";
}

TEST_F(RedakTest, KoniecAndCloseBoxEndTheProgram) {
    Redak& r = editor();
    r.show();
    QTest::mouseClick(r.Command4, Qt::LeftButton);
    EXPECT_EQ(endCalls, 1);

    r.close();
    EXPECT_EQ(endCalls, 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(forms::hasRedak()) << "the close box destroys the window";
}

// Frames as the classic desktop draws them: the top line runs through the
// middle of the caption, and what the frame holds starts below the line.
TEST_F(RedakTest, FrameLinesRunThroughTheirCaptions) {
    Redak& r = editor();
    r.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&r));
    struct Framed {
        FrameBox* frame;
        QWidget* inside;
    };
    for (const Framed& f : {Framed{r.Frame1, r.Image1}, Framed{r.Frame2, r.Label4}}) {
        SCOPED_TRACE(f.frame->title().toStdString());
        const QRect caption = f.frame->captionRect();
        const int line = f.frame->borderTop();
        EXPECT_GT(line, caption.top());
        EXPECT_LT(line + 1, caption.bottom()) << "both rows of the etched line cross the caption";
        EXPECT_GT(f.inside->geometry().top(), line + 1) << "the content leaves the line free";

        const QImage image = f.frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const qreal ratio = image.devicePixelRatio();
        const QRgb dark = f.frame->palette().color(QPalette::Dark).rgb();
        const auto at = [&](int x, int y) { return image.pixel(int(x * ratio), int(y * ratio)); };
        EXPECT_EQ(at(2, line), dark) << "line left of the caption";
        EXPECT_EQ(at(f.frame->width() - 4, line), dark) << "line right of the caption";
        EXPECT_EQ(at(caption.left() + 1, line), f.frame->palette().color(QPalette::Window).rgb())
            << "the caption's gap interrupts the line";
        EXPECT_EQ(at(0, f.frame->height() / 2), dark) << "left side";
    }
}

// A wheel turn as the mouse gives it over `target`, one notch down.
void turnWheel(QWidget* target) {
    const QPointF at = QRectF(target->rect()).center();
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

TEST_F(RedakTest, WheelOverAnUnfocusedListChangesNothing) {
    Redak& r = editor();
    r.show();
    QApplication::setActiveWindow(&r);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&r));
    r.List1->setCurrentIndex(0);
    struct Over {
        const char* name;
        QComboBox* combo;
        QWidget* target;
    };
    const Over targets[] = {{"font list", r.List1, r.List1},
                            {"style list", r.List2, r.List2},
                            {"size box", r.Text2, r.Text2},
                            {"size box's text", r.Text2, r.Text2->lineEdit()}};
    for (const Over& over : targets) {
        SCOPED_TRACE(over.name);
        r.Text1->setFocus();
        ASSERT_TRUE(r.Text1->hasFocus());
        const int index = over.combo->currentIndex();
        const QString text = over.combo->currentText();
        turnWheel(over.target);
        EXPECT_EQ(over.combo->currentIndex(), index);
        EXPECT_EQ(over.combo->currentText(), text);
        EXPECT_TRUE(r.Text1->hasFocus()) << "the wheel gives no focus";

        // With the focus the wheel does step through the list.
        if (over.target == over.combo) {
            over.combo->setFocus();
            turnWheel(over.target);
            EXPECT_NE(over.combo->currentText(), text) << "focused";
        }
    }
    EXPECT_EQ(r.previewFont().size, 26.0f) << "one notch down the presets from 24";
}

// The editor on its own, without the registry: it asks its picture store for
// the style pictures and hands its settings on as one value.
class RedakAlone : public testing::Test {
protected:
    QList<int> asked;
    Redak::PictureStore store = [this](int style) {
        asked.append(style);
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(qRgb(style, 0, 0));
        return style == 6 ? QImage() : picture;
    };
};

TEST_F(RedakAlone, ShowsThePicturesOfItsStore) {
    Redak r(store);
    EXPECT_EQ(asked, QList<int>{0}) << "loading shows style 0";
    r.List2->setCurrentIndex(4);
    EXPECT_EQ(QColor(r.Image1->pixmap().toImage().pixel(0, 0)), QColor(4, 0, 0));
    r.List2->setCurrentIndex(6);
    EXPECT_EQ(QColor(r.Image1->pixmap().toImage().pixel(0, 0)), QColor(4, 0, 0))
        << "a style without a picture keeps the previous one";
    EXPECT_EQ(asked, (QList<int>{0, 4, 6}));
}

TEST_F(RedakAlone, OkHidesThenHandsOnTheSettings) {
    Redak r(store);
    r.show();
    r.Text1->setText(QStringLiteral("Zażółć"));
    r.List2->setCurrentIndex(11);
    QTest::mouseClick(r.tbToolBar[1], Qt::LeftButton);
    r.setBackgroundColour(pismolot::ColourValue::rgb(1, 2, 3));
    EXPECT_EQ(r.backgroundColour(), pismolot::ColourValue::rgb(1, 2, 3));
    EXPECT_EQ(r.Label4->backColor(), pismolot::ColourValue::rgb(1, 2, 3));

    QList<pismolot::EffectSettings> handed;
    bool visibleThen = true;
    QObject::connect(&r, &Redak::settingsConfirmed, &r,
                     [&](const pismolot::EffectSettings& settings) {
                         handed.append(settings);
                         visibleThen = r.isVisible();
                     });
    QTest::mouseClick(r.Command2, Qt::LeftButton);
    ASSERT_EQ(handed.size(), 1);
    EXPECT_FALSE(visibleThen) << "hidden first";
    const pismolot::EffectSettings& s = handed[0];
    EXPECT_EQ(s.text, QStringLiteral("Zażółć"));
    EXPECT_EQ(s.font, r.previewFont());
    EXPECT_TRUE(s.font.italic);
    EXPECT_EQ(s.styleIndex, 11);
    EXPECT_EQ(s.background, pismolot::ColourValue::rgb(1, 2, 3));
}

TEST_F(RedakAlone, ButtonsAskForWhatTheyOpen) {
    Redak r(store);
    int colour = 0, about = 0, quit = 0;
    QObject::connect(&r, &Redak::colourDialogWanted, &r, [&] { ++colour; });
    QObject::connect(&r, &Redak::aboutBoxWanted, &r, [&] { ++about; });
    QObject::connect(&r, &Redak::quitRequested, &r, [&] { ++quit; });
    QTest::mouseClick(r.Command1, Qt::LeftButton);
    QTest::mouseClick(r.Command3, Qt::LeftButton);
    EXPECT_EQ(colour, 1);
    EXPECT_EQ(about, 1);
    EXPECT_EQ(quit, 0);
    QTest::mouseClick(r.Command4, Qt::LeftButton);
    EXPECT_EQ(quit, 1);
}

} // namespace
