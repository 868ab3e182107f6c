// Windows on a desktop of several screens: a laptop screen at 150 %, the
// primary one, beside screens at 100 % and at a logical dpi of 120 (the
// offscreen platform's configuration file, screens.json). Each window is laid
// out, and the picture made, for the screen it is on.
#include "about/autorx.h"
#include "app/forms.h"
#include "editor/redak.h"
#include "mainwin/mdi.h"
#include "mainwin/rys.h"
#include "render/headless.h"
#include "resources/screens.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
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
    QRect aboutOk; // 120, 2520, 1335 x 375 twips
};

const ScreenRow Laptop{"Screen1Laptop150", 96, 1.5, 144, {465, 296}, {312, 204}, {8, 168, 89, 25}};
const ScreenRow Desk100{"Screen2Desk100", 96, 1, 96, {465, 296}, {312, 204}, {8, 168, 89, 25}};
const ScreenRow Desk120{"Screen3Desk120", 120, 1, 120, {581, 370}, {390, 255}, {10, 210, 111, 31}};

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

void showOn(QWidget& window, const ScreenRow& row) {
    moveTo(window, row);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}

// Until the window has followed its screen (it may wait for the next round
// of events).
bool laidOutFor(const QWidget& window, const ScreenRow& row) {
    return QTest::qWaitFor([&] {
        return window.screen() == screenNamed(row.name) && ui::laidOutDpi(window) == row.logicalDpi;
    });
}

QSize deviceSize(const ScreenRow& row) {
    const QSize logical = screenNamed(row.name)->geometry().size();
    return {qRound(logical.width() * row.ratio), qRound(logical.height() * row.ratio)};
}

struct MoveCase {
    const char* name;
    ScreenRow from;
    ScreenRow to;
};

void PrintTo(const MoveCase& c, std::ostream* out) {
    *out << c.name;
}

class Screens : public FreshWindows<testing::TestWithParam<MoveCase>> {};

// The editor opened on a screen is laid out for it, and the About box it
// opens comes up on the same screen, laid out for it too.
TEST_P(Screens, WindowsOpenLaidOutForTheirScreen) {
    const ScreenRow& row = GetParam().from;
    Redak& editor = forms::redak();
    showOn(editor, row);
    ASSERT_TRUE(laidOutFor(editor, row));
    EXPECT_EQ(editor.size(), row.editor);
    AutorX& about = forms::autorX();
    about.showModeless();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    ASSERT_TRUE(laidOutFor(about, row)) << "beside the editor";
    EXPECT_EQ(about.size(), row.about);
    EXPECT_EQ(about.Command1->geometry(), row.aboutOk);
    EXPECT_EQ(about.background().devicePixelRatio(), row.ratio) << "the gradient's pixels";
}

// Moved to a screen of another scaling, a window is laid out again for it;
// moved back, every control of its layout is where it was.
TEST_P(Screens, WindowIsLaidOutAgainAndBack) {
    const MoveCase& c = GetParam();
    for (QWidget* window : std::initializer_list<QWidget*>{&forms::redak(), &forms::autorX()}) {
        SCOPED_TRACE(window->windowTitle().toStdString());
        showOn(*window, c.from);
        ASSERT_TRUE(laidOutFor(*window, c.from));
        const QSize before = window->size();
        std::vector<std::pair<QWidget*, QRect>> placed;
        for (QWidget* child : window->findChildren<QWidget*>())
            if (child->parentWidget() == window || qobject_cast<QGroupBox*>(child->parentWidget()))
                placed.emplace_back(child, child->geometry());
        ASSERT_GE(placed.size(), 5u);

        moveTo(*window, c.to);
        ASSERT_TRUE(laidOutFor(*window, c.to));
        EXPECT_EQ(window->size(), window == &forms::redak() ? c.to.editor : c.to.about);
        moveTo(*window, c.from);
        ASSERT_TRUE(laidOutFor(*window, c.from));
        EXPECT_EQ(window->size(), before);
        for (const auto& [child, geometry] : placed)
            EXPECT_EQ(child->geometry(), geometry) << child->metaObject()->className();
    }
}

// "&OK" on the editor: the main window opens on its screen and the picture is
// the renderer's at that screen's dpi and size in device pixels. After the
// main window moved, the next picture is made at the new screen's, and shown
// one picture pixel on one device pixel there.
TEST_P(Screens, PictureIsMadeAtTheDpiOfItsScreen) {
    const MoveCase& c = GetParam();
    Redak& editor = forms::redak();
    showOn(editor, c.from);
    const EffectSettings settings = editor.effectSettings();
    StyleRandom random = styleRandom();
    QTest::mouseClick(editor.Command2, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return forms::hasRys() && forms::rys().Picture1->isVisible(); }, 10000));
    Rys& rys = forms::rys();
    EXPECT_EQ(forms::mdi().screen(), screenNamed(c.from.name));
    EXPECT_EQ(rys.resultPicture().convertToFormat(QImage::Format_RGB32),
              renderHeadless(settings, deviceSize(c.from), c.from.renderDpi, random));

    moveTo(forms::mdi(), c.to);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rys.screen() == screenNamed(c.to.name); }));
    random = styleRandom();
    rys.Timer1_Timer();
    EXPECT_EQ(rys.resultPicture().convertToFormat(QImage::Format_RGB32),
              renderHeadless(settings, deviceSize(c.to), c.to.renderDpi, random));
    EXPECT_DOUBLE_EQ(rys.Picture1->pixmap().devicePixelRatio(), c.to.ratio);
}

INSTANTIATE_TEST_SUITE_P(Desktop, Screens,
                         testing::Values(MoveCase{"LaptopToDesk100", Laptop, Desk100},
                                         MoveCase{"Desk100ToLaptop", Desk100, Laptop},
                                         MoveCase{"Desk100ToDesk120", Desk100, Desk120},
                                         MoveCase{"Desk120ToLaptop", Desk120, Laptop}),
                         [](const testing::TestParamInfo<MoveCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
