// The platform options the program hands Qt: light frames on Qt's Windows
// platform unless the user chose its dark mode.
#include "app/platformoptions.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

struct ArgsCase {
    const char* name;
    Args args;
    std::string environment; // QT_QPA_PLATFORM
    Args expected;
};

void PrintTo(const ArgsCase& c, std::ostream* out) {
    *out << c.name;
}

class CommandLine : public testing::TestWithParam<ArgsCase> {};

TEST_P(CommandLine, KeepsFramesLightUnlessTheUserChose) {
    const ArgsCase& c = GetParam();
    const Args once = platformoptions::lightFrameArguments(c.args, c.environment, "windows");
    EXPECT_EQ(once, c.expected);
    // Asked again, nothing more is added.
    EXPECT_EQ(platformoptions::lightFrameArguments(once, c.environment, "windows"), c.expected);
}

const std::string Light = "-platform";

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLine,
    testing::Values(
        ArgsCase{"Nothing", {"p"}, "", {"p", Light, "windows:darkmode=0"}},
        ArgsCase{"OtherOptions", {"p"}, "windows:altgr", {"p", Light, "windows:altgr:darkmode=0"}},
        ArgsCase{"DarkFrames", {"p"}, "windows:darkmode=1", {"p"}},
        ArgsCase{"DarkStyle", {"p"}, "windows:altgr:darkmode=2", {"p"}},
        // Only a whole option names it.
        ArgsCase{"SimilarWord",
                 {"p"},
                 "windows:nodarkmode=1",
                 {"p", Light, "windows:nodarkmode=1:darkmode=0"}},
        ArgsCase{"OtherPlatform", {"p"}, "minimal:darkmode=2", {"p"}},
        ArgsCase{"NotThePlatform", {"p"}, "windowsx", {"p"}},
        ArgsCase{
            "FallbackList", {"p"}, "direct2d;windows", {"p", Light, "direct2d;windows:darkmode=0"}},
        // The argument counts over the environment, the last one over the
        // others, as in Qt.
        ArgsCase{"ArgumentOverEnvironment",
                 {"p", "-platform", "windows"},
                 "windows:darkmode=2",
                 {"p", "-platform", "windows:darkmode=0"}},
        ArgsCase{"ArgumentDark",
                 {"p", "--platform", "windows:darkmode=1"},
                 "",
                 {"p", "--platform", "windows:darkmode=1"}},
        ArgsCase{"LastArgument",
                 {"p", "-platform", "windows:darkmode=2", "-platform", "windows"},
                 "",
                 {"p", "-platform", "windows:darkmode=2", "-platform", "windows:darkmode=0"}},
        // A -platform without a value is no choice; the program's own words
        // stay after Qt's, for main to refuse.
        ArgsCase{"DanglingOption",
                 {"p", "x", "-platform"},
                 "",
                 {"p", Light, "windows:darkmode=0", "x", "-platform"}}),
    [](const testing::TestParamInfo<ArgsCase>& info) { return std::string(info.param.name); });

// argc and argv as QApplication reads them: every word, then a null.
TEST(Arguments, HandQtEveryWordAndANull) {
    std::string words[] = {"pismolot", "-style", "fusion"};
    char* argv[] = {words[0].data(), words[1].data(), words[2].data(), nullptr};
    platformoptions::Arguments args(3, argv);
    const Args expected = platformoptions::forThisPlatform({words[0], words[1], words[2]});
    ASSERT_EQ(args.argc(), int(expected.size()));
    EXPECT_EQ(Args(args.argv(), args.argv() + args.argc()), expected);
    EXPECT_EQ(args.argv()[args.argc()], nullptr);
}

} // namespace
