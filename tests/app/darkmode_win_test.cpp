// What Qt's Windows platform makes of the options the program hands it: CTest
// runs this once per row, with that row's QT_QPA_PLATFORM or -platform.
#include "app/platformoptions.h"

#include <QApplication>
#include <QtGui/private/qguiapplication_p.h>

#include <gtest/gtest.h>

using Windows = QNativeInterface::Private::QWindowsApplication;

TEST(DarkMode, QtTakesTheHandlingTheUserChose) {
    const QByteArray row = qgetenv("PISMOLOT_TEST_FRAMES");
    const Windows::DarkModeHandling expected =
        row == "light"        ? Windows::DarkModeHandling()
        : row == "darkFrames" ? Windows::DarkModeHandling(Windows::DarkModeWindowFrames)
                              : Windows::DarkModeWindowFrames | Windows::DarkModeStyle;
    auto* windows = qApp->nativeInterface<Windows>();
    ASSERT_NE(windows, nullptr) << "the windows platform";
    EXPECT_EQ(windows->darkModeHandling().toInt(), expected.toInt()) << row.constData();
}

// Started as the program starts: the options go through platformoptions.
int main(int argc, char** argv) {
    platformoptions::Arguments args(argc, argv);
    QApplication app(args.argc(), args.argv());
    testing::InitGoogleTest(&args.argc(), args.argv());
    return RUN_ALL_TESTS();
}
