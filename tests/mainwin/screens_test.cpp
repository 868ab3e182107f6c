// Windows on a desktop of several screens: a laptop screen at 150 %, the
// primary one, beside screens at 100 % and at a logical dpi of 120 (the
// offscreen platform's configuration file, screens.json). Each window is laid out, and the
// picture made, for the screen it is on, not for the primary one.
#include "about/autorx.h"
#include "app/forms.h"
#include "editor/colourswatch.h"
#include "editor/redak.h"
#include "mainwin/mdi.h"
#include "mainwin/rys.h"
#include "render/headless.h"
#include "render/textraster.h"
#include "resources/screens.h"

#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "freshwindows.h"

#include <gtest/gtest.h>

using namespace pismolot;

namespace {

struct ScreenRow {
    const char* name; // as in screens.json
    int logicalDpi;
    double ratio;
    int renderDpi;
    QSize editor;  // 6975 x 4440 twips
    QSize about;   // 4680 x 3060 twips
    QRect aboutOk; // Command1: 120, 2520, 1335 x 375 twips
};

const ScreenRow Laptop{"Screen1Laptop150", 96, 1.5, 144, {465, 296}, {312, 204}, {8, 168, 89, 25}};
const ScreenRow Desk100{"Screen2Desk100", 96, 1, 96, {465, 296}, {312, 204}, {8, 168, 89, 25}};
const ScreenRow Desk120{"Screen3Desk120", 120, 1, 120, {581, 370}, {390, 255}, {10, 210, 111, 31}};

void PrintTo(const ScreenRow& row, std::ostream* out) {
    *out << row.name;
}

QScreen* screenNamed(const char* name) {
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == QLatin1String(name))
            return screen;
    ADD_FAILURE() << "no screen " << name;
    return QGuiApplication::primaryScreen();
}

// The window onto `row`'s screen, into its work area, as the user drags it.
void moveTo(QWidget& window, const ScreenRow& row) {
    QScreen* screen = screenNamed(row.name);
    window.setScreen(screen);
    window.move(screen->availableGeometry().topLeft() + QPoint(20, 20));
}

// Until the window has followed its screen (a follow may wait for the next
// round of events).
bool laidOutFor(const QWidget& window, const ScreenRow& row) {
    return QTest::qWaitFor([&] {
        return window.screen() == screenNamed(row.name) && ui::laidOutDpi(window) == row.logicalDpi;
    });
}

QSize deviceSize(const ScreenRow& row) {
    const QSize logical = screenNamed(row.name)->geometry().size();
    return {qRound(logical.width() * row.ratio), qRound(logical.height() * row.ratio)};
}

class Screens : public FreshWindows<testing::TestWithParam<ScreenRow>> {};

TEST_P(Screens, TheScreensAreThoseOfTheConfiguration) {
    const ScreenRow& row = GetParam();
    const QScreen* screen = screenNamed(row.name);
    EXPECT_EQ(qRound(screen->logicalDotsPerInchY()), row.logicalDpi);
    EXPECT_DOUBLE_EQ(screen->devicePixelRatio(), row.ratio);
    EXPECT_EQ(QGuiApplication::primaryScreen()->name(), QLatin1String(Laptop.name));
}

// The editor opened on a screen is laid out for it, and the windows it opens
// come up on the same screen, laid out for it too.
TEST_P(Screens, WindowsOpenLaidOutForTheirScreen) {
    const ScreenRow& row = GetParam();
    Redak& editor = forms::redak();
    moveTo(editor, row);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    ASSERT_TRUE(laidOutFor(editor, row));
    EXPECT_EQ(editor.size(), row.editor);

    AutorX& about = forms::autorX();
    about.showModeless();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_EQ(about.screen(), editor.screen()) << "beside the editor";
    ASSERT_TRUE(laidOutFor(about, row));
    EXPECT_EQ(about.size(), row.about);
    EXPECT_EQ(about.Command1->geometry(), row.aboutOk);
    // Its gradient is painted for the screen's pixels.
    EXPECT_EQ(about.background().devicePixelRatio(), row.ratio);
}

// "&OK" on an editor on this screen: the main window opens there, and the
// picture is the renderer's at this screen's dpi and size in device pixels.
TEST_P(Screens, PictureIsMadeAtItsScreensDpi) {
    const ScreenRow& row = GetParam();
    Redak& editor = forms::redak();
    moveTo(editor, row);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    EffectSettings settings{QStringLiteral("Żółw"),
                            FontChoice{defaultSansFamily(), 20, true, false, false}, 4,
                            ColourValue::rgb(200, 10, 10)};
    editor.Text1->setText(settings.text);
    editor.Text1->setFont(makeFont(settings.font));
    editor.List2->setCurrentIndex(settings.styleIndex);
    editor.Label4->setBackColor(settings.background);
    settings = editor.effectSettings();
    StyleRandom random = styleRandom();
    QTest::mouseClick(editor.Command2, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return forms::hasRys() && forms::rys().Picture1->isVisible(); }, 10000));
    EXPECT_EQ(forms::mdi().screen(), screenNamed(row.name));
    const QImage expected = renderHeadless(settings, deviceSize(row), row.renderDpi, random);
    ASSERT_FALSE(expected.isNull());
    EXPECT_EQ(forms::rys().resultPicture().convertToFormat(QImage::Format_RGB32), expected);
}

INSTANTIATE_TEST_SUITE_P(Desktop, Screens, testing::Values(Laptop, Desk100, Desk120),
                         [](const testing::TestParamInfo<ScreenRow>& info) {
                             return std::string(info.param.name);
                         });

struct MoveCase {
    const char* name;
    ScreenRow from;
    ScreenRow to;
};

void PrintTo(const MoveCase& c, std::ostream* out) {
    *out << c.name;
}

class Moves : public FreshWindows<testing::TestWithParam<MoveCase>> {};

// Moved to a screen of another scaling, a window is laid out again for it;
// moved back, every control is where it was.
TEST_P(Moves, WindowIsLaidOutAgainAndBack) {
    const MoveCase& c = GetParam();
    for (QWidget* window : std::initializer_list<QWidget*>{&forms::redak(), &forms::autorX()}) {
        SCOPED_TRACE(window->windowTitle().toStdString());
        moveTo(*window, c.from);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        ASSERT_TRUE(laidOutFor(*window, c.from));
        const QSize before = window->size();
        std::vector<std::pair<QWidget*, QRect>> placed;
        // The controls of its stored layout, those in its frames included.
        for (QWidget* child : window->findChildren<QWidget*>()) {
            const QWidget* parent = child->parentWidget();
            if (parent == window || qobject_cast<const QGroupBox*>(parent))
                placed.emplace_back(child, child->geometry());
        }
        ASSERT_GE(placed.size(), 5u);

        moveTo(*window, c.to);
        ASSERT_TRUE(laidOutFor(*window, c.to));
        const QSize design = window == &forms::redak() ? c.to.editor : c.to.about;
        EXPECT_EQ(window->size(), design);

        moveTo(*window, c.from);
        ASSERT_TRUE(laidOutFor(*window, c.from));
        EXPECT_EQ(window->size(), before);
        for (const auto& [child, geometry] : placed)
            EXPECT_EQ(child->geometry(), geometry)
                << child->metaObject()->className() << ' ' << child->objectName().toStdString();
    }
}

// The picture made after the main window moved is made at the new screen's
// dpi and size, and shown one picture pixel on one device pixel there.
TEST_P(Moves, NextPictureIsMadeAtTheNewScreensDpi) {
    const MoveCase& c = GetParam();
    Redak& editor = forms::redak();
    moveTo(editor, c.from);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    const EffectSettings settings = editor.effectSettings();
    QTest::mouseClick(editor.Command2, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return forms::hasRys() && forms::rys().Picture1->isVisible(); }, 10000));
    Rys& rys = forms::rys();
    const QImage first = rys.resultPicture();

    MDI& main = forms::mdi();
    moveTo(main, c.to);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rys.screen() == screenNamed(c.to.name); }));
    StyleRandom random = styleRandom();
    rys.Timer1_Timer();
    const QImage expected = renderHeadless(settings, deviceSize(c.to), c.to.renderDpi, random);
    EXPECT_EQ(rys.resultPicture().convertToFormat(QImage::Format_RGB32), expected);
    if (c.from.renderDpi != c.to.renderDpi) {
        EXPECT_NE(first.size(), expected.size()) << "a picture of another dpi";
    }
    EXPECT_DOUBLE_EQ(rys.Picture1->pixmap().devicePixelRatio(), c.to.ratio);
}

INSTANTIATE_TEST_SUITE_P(Desktop, Moves,
                         testing::Values(MoveCase{"LaptopToDesk100", Laptop, Desk100},
                                         MoveCase{"Desk100ToLaptop", Desk100, Laptop},
                                         MoveCase{"Desk100ToDesk120", Desk100, Desk120},
                                         MoveCase{"Desk120ToLaptop", Desk120, Laptop}),
                         [](const testing::TestParamInfo<MoveCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
