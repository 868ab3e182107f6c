// Every text of every window fits the place its control gives it, at 96 dpi,
// in the font the program really picks on this machine: font metrics of the
// control's own font against the content rectangle its style gives it. The
// captions (labels, buttons, frames) fit whatever the font: shown in a wider
// one than their layout was made for, they take the room their text needs.
#include "about/autorx.h"
#include "app/forms.h"
#include "colour/tlo.h"
#include "editor/redak.h"
#include "mainwin/mdi.h"
#include "resources/appearance.h"
#include "resources/framebox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The stored layouts were sized for the first of the dialog font families;
// where none of the platform's preferred families is installed (Wine has
// Tahoma behind MS Shell Dlg 2, but no Microsoft Sans Serif), the texts are
// drawn in a wider font than the layouts allow for.
// On Linux every family of the list is narrow enough.
bool layoutFontInstalled() {
#ifdef _WIN32
    const QStringList families = ui::dialogFontFamilies();
    return QFontDatabase::hasFamily(families.value(0)) ||
           QFontDatabase::hasFamily(families.value(1));
#else
    return true;
#endif
}

#define SKIP_WITHOUT_LAYOUT_FONT()                                                                 \
    if (!layoutFontInstalled())                                                                    \
    GTEST_SKIP() << "the dialog font the layouts were made for ("                                  \
                 << ui::dialogFontFamilies().mid(0, 2).join(" or ").toStdString()                  \
                 << ") is not installed"

enum class Kind {
    Label,       // its caption, wrapped if the label wraps
    Button,      // its caption inside the style's contents rectangle
    Caption,     // a frame's caption
    LineEdit,    // the given texts in the line edit's text area
    ClosedCombo, // every entry in the closed combo's edit field
    SizeBox,     // every preset in the editable combo's line edit
    DropDown,    // every entry in the open list
};

struct FitCase {
    const char* name;
    std::function<QWidget*()> control;
    Kind kind;
    QStringList texts = {}; // for LineEdit
};

void PrintTo(const FitCase& c, std::ostream* out) {
    *out << c.name;
}

QString shown(QString text) {
    return text.remove(QLatin1Char('&'));
}

// The area QLineEdit draws its text in: the style's contents rectangle less
// the text margins and the line edit's own 2 x 1 pixel margin.
QRect lineEditTextArea(const QLineEdit& edit) {
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.rect = edit.rect();
    option.lineWidth = edit.hasFrame()
                           ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit)
                           : 0;
    option.features = QStyleOptionFrame::None;
    QRect area = edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    return area.marginsRemoved(edit.textMargins()).adjusted(2, 1, -2, -1);
}

QStringList entries(const QComboBox& combo) {
    QStringList all;
    for (int i = 0; i < combo.count(); ++i)
        all << combo.itemText(i);
    return all;
}

void expectFits(const QString& text, const QFontMetrics& metrics, const QRect& area) {
    const QSize need = metrics.size(Qt::TextShowMnemonic, text);
    EXPECT_LE(need.width(), area.width()) << '"' << text.toStdString() << "\" width";
    EXPECT_LE(need.height(), area.height()) << '"' << text.toStdString() << "\" height";
}

void checkLabel(const QLabel& label) {
    ASSERT_FALSE(label.text().isEmpty());
    const QRect area = label.contentsRect().adjusted(label.margin(), label.margin(),
                                                     -label.margin(), -label.margin());
    const QFontMetrics metrics = label.fontMetrics();
    if (label.wordWrap()) {
        const QRect need = metrics.boundingRect(
            area, int(Qt::TextWordWrap) | int(label.alignment()), label.text());
        EXPECT_LE(need.height(), area.height()) << "wrapped lines";
        EXPECT_LE(need.width(), area.width()) << "widest wrapped line";
        for (const QString& word : label.text().split(QLatin1Char(' ')))
            EXPECT_LE(metrics.horizontalAdvance(word), area.width()) << word.toStdString();
        return;
    }
    expectFits(label.text(), metrics, area);
}

void checkButton(const QPushButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const QRect area =
        button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    expectFits(button.text(), button.fontMetrics(), area);
}

void checkCaption(const QGroupBox& box) {
    ASSERT_FALSE(box.title().isEmpty());
    const auto* frame = qobject_cast<const FrameBox*>(&box);
    ASSERT_NE(frame, nullptr) << "frames are drawn as the classic desktop draws them";
    const QRect caption = frame->captionRect();
    expectFits(box.title(), box.fontMetrics(), caption);
    EXPECT_TRUE(box.rect().contains(caption)) << "the caption lies within the frame";
}

void checkClosedCombo(const QComboBox& combo) {
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.editable = combo.isEditable();
    const QRect field = combo.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, &combo);
    // The style draws the current entry one pixel in from either side.
    const QRect area = field.adjusted(1, 0, -1, 0);
    for (const QString& entry : entries(combo))
        expectFits(entry, combo.fontMetrics(), area);
}

void checkSizeBox(QComboBox& combo) {
    ASSERT_TRUE(combo.isEditable());
    QLineEdit& edit = *combo.lineEdit();
    // The line edit takes the place the style gives the edit field.
    combo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(combo.window()));
    const QRect area = lineEditTextArea(edit);
    for (const QString& preset : entries(combo))
        expectFits(preset, edit.fontMetrics(), area);
}

void checkDropDown(QComboBox& combo) {
    combo.window()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(combo.window()));
    combo.showPopup();
    QAbstractItemView* view = combo.view();
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->isVisible(); }));
    for (int row = 0; row < combo.count(); ++row) {
        // What the entry needs as the list's own delegate measures it: the
        // text with the style's margins around it.
        const int need = view->sizeHintForIndex(combo.model()->index(row, 0)).width();
        EXPECT_GE(view->viewport()->width(), need) << combo.itemText(row).toStdString();
    }
    combo.hidePopup();
}

// The windows of the program, made afresh for each table.
template <class Row> class WindowTable : public testing::TestWithParam<Row> {
protected:
    static void SetUpTestSuite() {
        ui::setUpApplication(*qApp);
        forms::unloadAll();
        forms::setEndProgramHandler([] {});
    }
    static void TearDownTestSuite() {
        forms::unloadAll();
        forms::setEndProgramHandler({});
    }
};

using TextFit = WindowTable<FitCase>;

bool isCaption(Kind kind) {
    return kind == Kind::Label || kind == Kind::Button || kind == Kind::Caption;
}

TEST_P(TextFit, FitsItsControl) {
    // Captions fit in any font once their window is shown; the entries of
    // lists and boxes keep the places the layout gives them.
    const bool caption = isCaption(GetParam().kind);
    if (!caption)
        SKIP_WITHOUT_LAYOUT_FONT();
    ASSERT_EQ(qRound(QGuiApplication::primaryScreen()->logicalDotsPerInchY()), 96);
    QWidget* control = GetParam().control();
    ASSERT_NE(control, nullptr);
    if (caption) {
        control->window()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(control->window()));
    }
    EXPECT_EQ(control->font().pointSizeF(), 8.0) << "the dialog font's size";
    switch (GetParam().kind) {
    case Kind::Label:
        checkLabel(*qobject_cast<QLabel*>(control));
        break;
    case Kind::Button:
        checkButton(*qobject_cast<QPushButton*>(control));
        break;
    case Kind::Caption:
        checkCaption(*qobject_cast<QGroupBox*>(control));
        break;
    case Kind::LineEdit: {
        auto* edit = qobject_cast<QLineEdit*>(control);
        for (const QString& text : GetParam().texts)
            expectFits(text, edit->fontMetrics(), lineEditTextArea(*edit));
        break;
    }
    case Kind::ClosedCombo:
        checkClosedCombo(*qobject_cast<QComboBox*>(control));
        break;
    case Kind::SizeBox:
        checkSizeBox(*qobject_cast<QComboBox*>(control));
        break;
    case Kind::DropDown:
        checkDropDown(*qobject_cast<QComboBox*>(control));
        break;
    }
}

Redak& editor() {
    return forms::redak();
}
Tlo& colour() {
    return forms::tlo();
}
AutorX& about() {
    return forms::autorX();
}

const QStringList Colours = {QStringLiteral("255")};

INSTANTIATE_TEST_SUITE_P(
    Windows, TextFit,
    testing::Values(FitCase{"Redak_Label1", [] { return editor().Label1; }, Kind::Label},
                    FitCase{"Redak_Label2", [] { return editor().Label2; }, Kind::Label},
                    FitCase{"Redak_Label3", [] { return editor().Label3; }, Kind::Label},
                    FitCase{"Redak_Command1", [] { return editor().Command1; }, Kind::Button},
                    FitCase{"Redak_Command2", [] { return editor().Command2; }, Kind::Button},
                    FitCase{"Redak_Command3", [] { return editor().Command3; }, Kind::Button},
                    FitCase{"Redak_Command4", [] { return editor().Command4; }, Kind::Button},
                    FitCase{"Redak_Frame1", [] { return editor().Frame1; }, Kind::Caption},
                    FitCase{"Redak_Frame2", [] { return editor().Frame2; }, Kind::Caption},
                    FitCase{"Redak_List2_closed", [] { return editor().List2; }, Kind::ClosedCombo},
                    FitCase{"Redak_List2_list", [] { return editor().List2; }, Kind::DropDown},
                    FitCase{"Redak_List1_list", [] { return editor().List1; }, Kind::DropDown},
                    FitCase{"Redak_Text2_box", [] { return editor().Text2; }, Kind::SizeBox},
                    FitCase{"Redak_Text2_list", [] { return editor().Text2; }, Kind::DropDown},
                    FitCase{"Tlo_Label1", [] { return colour().Label1; }, Kind::Label},
                    FitCase{"Tlo_Label2", [] { return colour().Label2; }, Kind::Label},
                    FitCase{"Tlo_Label3", [] { return colour().Label3; }, Kind::Label},
                    FitCase{"Tlo_Label4", [] { return colour().Label4; }, Kind::Label},
                    FitCase{"Tlo_Command1", [] { return colour().Command1; }, Kind::Button},
                    FitCase{"Tlo_Command2", [] { return colour().Command2; }, Kind::Button},
                    FitCase{"Tlo_Text1", [] { return colour().Text1; }, Kind::LineEdit, Colours},
                    FitCase{"Tlo_Text2", [] { return colour().Text2; }, Kind::LineEdit, Colours},
                    FitCase{"Tlo_Text3", [] { return colour().Text3; }, Kind::LineEdit, Colours},
                    FitCase{"AutorX_Label1", [] { return about().Label1; }, Kind::Label},
                    FitCase{"AutorX_Label3", [] { return about().Label3; }, Kind::Label},
                    FitCase{"AutorX_Command1", [] { return about().Command1; }, Kind::Button},
                    FitCase{"AutorX_Command2", [] { return about().Command2; }, Kind::Button},
                    FitCase{"AutorX_Command3", [] { return about().Command3; }, Kind::Button},
                    FitCase{"MDI_hint", [] { return forms::mdi().Label1; }, Kind::Label}),
    [](const testing::TestParamInfo<FitCase>& info) { return std::string(info.param.name); });

// The About box's heading is larger than the dialog font; it fits all the same.
TEST(TextFitHeading, AboutHeadingFits) {
    ui::setUpApplication(*qApp);
    AutorX& box = forms::autorX();
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    checkLabel(*box.Label2);
    forms::unloadAll();
}

// A wider font than the layouts were made for, as a system may give for its
// dialog font: the dialog font's own family bold or larger, an uncondensed
// face, Tahoma.
struct WideCase {
    const char* name;
    QString family; // empty: the dialog font's
    double points;
    bool bold;
};

void PrintTo(const WideCase& c, std::ostream* out) {
    *out << c.name;
}

using WideFont = WindowTable<WideCase>;

// Every caption of every window is whole and inside its window, and none
// became narrower than its layout made it.
TEST_P(WideFont, NoCaptionOfAnyWindowIsCut) {
    const WideCase& c = GetParam();
    if (!c.family.isEmpty() && !QFontDatabase::hasFamily(c.family))
        GTEST_SKIP() << c.family.toStdString() << " is not installed";
    forms::unloadAll();
    QFont font = ui::dialogFont(c.points);
    if (!c.family.isEmpty())
        font.setFamily(c.family);
    font.setBold(c.bold);
    forms::mdi().Timer1->stop(); // the hint strip only
    for (QWidget* window : std::initializer_list<QWidget*>{&forms::redak(), &forms::tlo(),
                                                           &forms::autorX(), &forms::mdi()}) {
        SCOPED_TRACE(window->windowTitle().toStdString());
        window->setFont(font);
        std::vector<std::pair<QWidget*, int>> before;
        for (QWidget* child : window->findChildren<QWidget*>())
            if (qobject_cast<QLabel*>(child) || qobject_cast<QPushButton*>(child) ||
                qobject_cast<QGroupBox*>(child))
                before.emplace_back(child, child->width());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        for (QWidget* child : window->findChildren<QWidget*>()) {
            SCOPED_TRACE(child->metaObject()->className());
            if (!child->isVisible())
                continue;
            if (auto* label = qobject_cast<QLabel*>(child); label && !label->text().isEmpty())
                checkLabel(*label);
            else if (auto* button = qobject_cast<QPushButton*>(child);
                     button && !button->text().isEmpty())
                checkButton(*button);
            else if (auto* box = qobject_cast<QGroupBox*>(child))
                checkCaption(*box);
            else
                continue;
            EXPECT_TRUE(
                window->rect().contains(QRect(child->mapTo(window, QPoint()), child->size())));
        }
        for (const auto& [child, width] : before)
            EXPECT_GE(child->width(), width) << child->metaObject()->className();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, WideFont,
    testing::Values(WideCase{"Bold8", {}, 8, true}, WideCase{"Size10", {}, 10, false},
                    WideCase{"BoldSize11", {}, 11, true},
                    WideCase{"DejaVuSans8", QStringLiteral("DejaVu Sans"), 8, false},
                    WideCase{"Tahoma8", QStringLiteral("Tahoma"), 8, false}),
    [](const testing::TestParamInfo<WideCase>& info) { return std::string(info.param.name); });

TEST(TextFitMenus, EveryMenuItemFits) {
    ui::setUpApplication(*qApp);
    forms::setEndProgramHandler([] {});
    MDI& main = forms::mdi();
    main.Timer1->stop(); // no render job: only the menus are looked at
    QMenuBar* bar = main.menuBar();
    for (QAction* top : bar->actions()) {
        SCOPED_TRACE(shown(top->text()).toStdString());
        expectFits(top->text(), bar->fontMetrics(), bar->actionGeometry(top));
        QMenu* menu = top->menu();
        ASSERT_NE(menu, nullptr);
        menu->ensurePolished();
        menu->adjustSize();
        for (QAction* item : menu->actions()) {
            if (item->isSeparator())
                continue;
            const QString full = item->text() + QStringLiteral("  ") +
                                 item->shortcut().toString(QKeySequence::NativeText);
            EXPECT_LE(menu->fontMetrics().horizontalAdvance(shown(full)),
                      menu->actionGeometry(item).width())
                << full.toStdString();
        }
    }
    forms::unloadAll();
    forms::setEndProgramHandler({});
}

// The font the windows get is the dialog font of this machine: a family that
// is really installed, at 8 points.
TEST(DialogFont, IsAnInstalledFamilyAtEightPoints) {
    const QFont font = ui::dialogFont();
    EXPECT_EQ(font.pointSizeF(), 8.0);
    EXPECT_TRUE(QFontDatabase::hasFamily(font.family())) << font.family().toStdString();
    bool preferred = false;
    for (const QString& family : ui::dialogFontFamilies())
        preferred = preferred || QFontDatabase::hasFamily(family);
    if (preferred) {
        EXPECT_TRUE(ui::dialogFontFamilies().contains(font.family()))
            << "the first installed of the preferred families";
    }
}

} // namespace
