// What Qt's Windows platform makes of the options the program hands it: CTest
// runs this program once per row of Expected, with QT_QPA_PLATFORM (and the
// arguments) of that row, and Qt reports the dark-mode handling it took.
#include "app/platformoptions.h"

#include <QApplication>
#include <QtGui/private/qguiapplication_p.h>

#include <gtest/gtest.h>

namespace {

using Windows = QNativeInterface::Private::QWindowsApplication;

struct Expected {
    const char* name; // PISMOLOT_TEST_FRAMES, set by CTest
    Windows::DarkModeHandling handling;
};

const Expected Rows[] = {
    {"light", {}},
    {"darkFrames", Windows::DarkModeWindowFrames},
    {"darkStyle", Windows::DarkModeWindowFrames | Windows::DarkModeStyle},
};

TEST(DarkMode, QtTakesTheHandlingTheUserChose) {
    const QByteArray row = qgetenv("PISMOLOT_TEST_FRAMES");
    const Expected* expected = nullptr;
    for (const Expected& e : Rows)
        if (row == e.name)
            expected = &e;
    ASSERT_NE(expected, nullptr) << "no row " << row.constData();
    auto* windows = qApp->nativeInterface<Windows>();
    ASSERT_NE(windows, nullptr) << "the windows platform";
    EXPECT_EQ(int(windows->darkModeHandling()), int(expected->handling));
}

} // namespace

// The program's own start: the options go through platformoptions first.
int main(int argc, char** argv) {
    platformoptions::Arguments args(argc, argv);
    QApplication app(args.argc(), args.argv());
    testing::InitGoogleTest(&args.argc(), args.argv());
    return RUN_ALL_TESTS();
}
