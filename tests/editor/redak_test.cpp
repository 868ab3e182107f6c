#include "app/forms.h"
#include "editor/colourswatch.h"
#include "editor/editormodel.h"
#include "editor/redak.h"
#include "render/styles.h"
#include "render/textraster.h"
#include "resources/xdata.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

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
                                         RefusedKey{"backspace", Qt::Key_Backspace, Qt::NoModifier},
                                         RefusedKey{"enter", Qt::Key_Return, Qt::NoModifier},
                                         RefusedKey{"cut", Qt::Key_X, Qt::ControlModifier}),
                         [](const testing::TestParamInfo<RefusedKey>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(RedakTest, PasteKeyIsRefused) {
    Redak& r = editor();
    r.Text1->setText(QStringLiteral("7x"));
    r.Text1->selectAll();
    r.Text1->copy();
    r.Text2->lineEdit()->setCursorPosition(2);
    QTest::keyClick(r.Text2, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(r.Text2->currentText(), QStringLiteral("24"));
}

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
    EXPECT_EQ(r.tbToolBar[0]->palette().color(QPalette::Button), QColor(128, 128, 128));

    QTest::mouseClick(r.tbToolBar[0], Qt::LeftButton);
    const pismolot::FontChoice font = r.previewFont();
    EXPECT_FALSE(font.bold);
    EXPECT_TRUE(font.italic);
    EXPECT_FALSE(font.underline);
    EXPECT_EQ(r.attributeShading(0), pismolot::syscolour::ButtonFace);
    EXPECT_EQ(r.attributeShading(1), pismolot::ColourValue::rgb(128, 128, 128));
    EXPECT_EQ(r.attributeShading(2), pismolot::syscolour::ButtonFace);
    EXPECT_EQ(font.size, 24.0f);
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
