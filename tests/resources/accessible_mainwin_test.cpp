// What a screen reader hears in the main window, the render child and the
// wait window: every visible control has a Polish name, no two side by side
// the same.
#include "app/forms.h"
#include "mainwin/mdi.h"
#include "mainwin/rys.h"
#include "mainwin/temp.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "accessiblenames.h"
#include "freshwindows.h"

#include <gtest/gtest.h>

namespace {

class MainWindowNames : public FreshWindows<> {};

TEST_F(MainWindowNames, MainWindowWithTheRenderChild) {
    MDI& main = forms::mdi();
    main.Timer1->stop();
    Rys& child = forms::rys();
    child.stopTimer(); // the render job is not needed to name the controls
    main.showRenderWindow(child);
    child.setResultPicture(QImage(20, 10, QImage::Format_RGB32));
    child.showResultPicture();
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    expectEveryControlNamed(&main, 2);
}

TEST_F(MainWindowNames, WaitWindow) {
    Temp wait;
    wait.showWaiting();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&wait));
    expectEveryControlNamed(&wait, 2);
}

} // namespace
