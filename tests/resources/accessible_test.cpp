// What a screen reader hears: every visible control of every window has a
// Polish name through the platform's accessibility interface, and no two
// controls side by side share one.
#include "about/autorx.h"
#include "app/forms.h"
#include "colour/tlo.h"
#include "editor/colourswatch.h"
#include "editor/redak.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include "accessiblenames.h"
#include "freshwindows.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct WindowCase {
    const char* name;
    std::function<QWidget*()> window;
};

void PrintTo(const WindowCase& c, std::ostream* out) {
    *out << c.name;
}

class AccessibleNames : public FreshWindows<testing::TestWithParam<WindowCase>> {};

TEST_P(AccessibleNames, EveryVisibleControlHasOneOfItsOwn) {
    QWidget* window = GetParam().window();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    expectEveryControlNamed(window, 6);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, AccessibleNames,
    testing::Values(WindowCase{"Redak", [] { return static_cast<QWidget*>(&forms::redak()); }},
                    WindowCase{"Tlo", [] { return static_cast<QWidget*>(&forms::tlo()); }},
                    WindowCase{"AutorX", [] { return static_cast<QWidget*>(&forms::autorX()); }}),
    [](const testing::TestParamInfo<WindowCase>& info) { return std::string(info.param.name); });

struct NamedControl {
    const char* name;
    std::function<QWidget*()> control;
    const char* expected;
};

void PrintTo(const NamedControl& c, std::ostream* out) {
    *out << c.name;
}

class ControlNames : public testing::TestWithParam<NamedControl> {
protected:
    void TearDown() override { forms::unloadAll(); }
};

// The names the controls without a caption of their own are known by.
TEST_P(ControlNames, SaysWhatTheControlIs) {
    EXPECT_EQ(accessibleName(GetParam().control()).toStdString(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, ControlNames,
    testing::Values(
        NamedControl{"Bold", [] { return forms::redak().tbToolBar[0]; }, "Pogrubienie"},
        NamedControl{"Italic", [] { return forms::redak().tbToolBar[1]; }, "Kursywa"},
        NamedControl{"Underline", [] { return forms::redak().tbToolBar[2]; }, "Podkreślenie"},
        NamedControl{"Swatch", [] { return forms::redak().Label4; }, "Kolor tła"},
        NamedControl{"Preview", [] { return forms::redak().Image1; }, "Podgląd stylu"},
        NamedControl{"RedBar", [] { return forms::tlo().HScroll1; }, "Czerwony – suwak"},
        NamedControl{"RedBox", [] { return forms::tlo().Text1; }, "Czerwony – wartość"},
        NamedControl{"GreenBar", [] { return forms::tlo().HScroll2; }, "Zielony – suwak"},
        NamedControl{"BlueBox", [] { return forms::tlo().Text3; }, "Niebieski – wartość"}),
    [](const testing::TestParamInfo<NamedControl>& info) { return std::string(info.param.name); });

// Combo boxes: on this platform a screen reader takes a combo's name from
// the label it is labelled by and reads its choice as the name; the tooltip
// or a description says what it is for.
TEST(AccessibleCombos, AreLabelledAndDescribed) {
    forms::setEndProgramHandler([] {});
    Redak& r = forms::redak();
    struct Combo {
        QComboBox* combo;
        const char* label;
        const char* description;
    };
    const Combo combos[] = {{r.List1, "Czcionka", "Wybierz z listy czcionkę"},
                            {r.List2, "Styl", "Wybierz styl liter"},
                            {r.Text2, nullptr, "Rozmiar czcionki"}};
    for (const Combo& c : combos) {
        SCOPED_TRACE(c.description);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(c.combo);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->text(QAccessible::Description).toStdString(), c.description);
        if (!c.label)
            continue;
        QStringList labels;
        for (const auto& [other, relation] : face->relations(QAccessible::Label))
            labels << other->text(QAccessible::Name);
        EXPECT_EQ(labels, QStringList{QString::fromUtf8(c.label)});
    }
    forms::unloadAll();
    forms::setEndProgramHandler({});
}

// The attribute buttons are checkable, and their checked state is the font's
// attribute as the font really has it.
TEST(AccessibleState, AttributeButtonsReportTheFontsAttribute) {
    forms::setEndProgramHandler([] {});
    Redak& r = forms::redak();
    r.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&r));
    for (int k = 0; k < 3; ++k) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(r.tbToolBar[k]);
        ASSERT_NE(face, nullptr);
        EXPECT_TRUE(face->state().checkable) << k;
        EXPECT_FALSE(face->state().checked) << k;
    }
    QTest::mouseClick(r.tbToolBar[1], Qt::LeftButton);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(r.tbToolBar[1])->state().checked);
    EXPECT_EQ(r.tbToolBar[1]->isChecked(), r.previewFont().italic);
    QTest::mouseClick(r.tbToolBar[1], Qt::LeftButton);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(r.tbToolBar[1])->state().checked);
    forms::unloadAll();
    forms::setEndProgramHandler({});
}

} // namespace
