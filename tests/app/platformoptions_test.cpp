// The platform options the program hands Qt: light frames on Qt's Windows
// platform unless the user chose its dark mode.
#include "app/platformoptions.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

struct SpecCase {
    const char* name;
    std::string spec;
    bool namesDarkMode;
    std::string light;
};

void PrintTo(const SpecCase& c, std::ostream* out) {
    *out << c.name;
}

class PlatformSpec : public testing::TestWithParam<SpecCase> {};

TEST_P(PlatformSpec, LightUnlessTheUserChose) {
    const SpecCase& c = GetParam();
    EXPECT_EQ(platformoptions::namesDarkMode(c.spec), c.namesDarkMode);
    EXPECT_EQ(platformoptions::withLightFrames(c.spec), c.light);
    // Asking twice asks nothing more.
    EXPECT_EQ(platformoptions::withLightFrames(platformoptions::withLightFrames(c.spec)), c.light);
}

INSTANTIATE_TEST_SUITE_P(
    Specs, PlatformSpec,
    testing::Values(
        SpecCase{"Bare", "windows", false, "windows:darkmode=0"},
        SpecCase{"OtherOptions", "windows:fontengine=freetype:altgr", false,
                 "windows:fontengine=freetype:altgr:darkmode=0"},
        SpecCase{"DarkFramesOnly", "windows:darkmode=1", true, "windows:darkmode=1"},
        SpecCase{"DarkStyle", "windows:altgr:darkmode=2", true, "windows:altgr:darkmode=2"},
        SpecCase{"LightChosen", "windows:darkmode=0", true, "windows:darkmode=0"},
        // Only a whole option names it: "nodarkmode=1" is some other word.
        SpecCase{"SimilarWord", "windows:nodarkmode=1", false, "windows:nodarkmode=1:darkmode=0"},
        // darkmode on another platform's entry does not reach windows.
        SpecCase{"OtherPlatform", "offscreen", false, "offscreen"},
        SpecCase{"OtherPlatformDark", "minimal:darkmode=2", false, "minimal:darkmode=2"},
        SpecCase{"NotThePlatform", "windowsx", false, "windowsx"},
        SpecCase{"FallbackList", "direct2d;windows", false, "direct2d;windows:darkmode=0"},
        SpecCase{"ListEachEntry", "windows:darkmode=2;windows", true,
                 "windows:darkmode=2;windows:darkmode=0"}),
    [](const testing::TestParamInfo<SpecCase>& info) { return std::string(info.param.name); });

struct ArgsCase {
    const char* name;
    Args args;
    std::string environment;
    Args expected;
};

void PrintTo(const ArgsCase& c, std::ostream* out) {
    *out << c.name;
}

class CommandLine : public testing::TestWithParam<ArgsCase> {};

TEST_P(CommandLine, CarriesThePlatformTheUserChose) {
    const ArgsCase& c = GetParam();
    EXPECT_EQ(platformoptions::lightFrameArguments(c.args, c.environment, "windows"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLine,
    testing::Values(
        ArgsCase{"Nothing", {"p"}, "", {"p", "-platform", "windows:darkmode=0"}},
        ArgsCase{
            "Environment", {"p"}, "windows:altgr", {"p", "-platform", "windows:altgr:darkmode=0"}},
        ArgsCase{"EnvironmentDark", {"p"}, "windows:darkmode=2", {"p"}},
        ArgsCase{"EnvironmentOther", {"p"}, "offscreen", {"p"}},
        // The argument overrides the environment, as in Qt.
        ArgsCase{"ArgumentOverEnvironment",
                 {"p", "-platform", "windows"},
                 "windows:darkmode=2",
                 {"p", "-platform", "windows:darkmode=0"}},
        ArgsCase{"ArgumentDark",
                 {"p", "--platform", "windows:darkmode=1"},
                 "",
                 {"p", "--platform", "windows:darkmode=1"}},
        // Qt takes the last one.
        ArgsCase{"LastArgument",
                 {"p", "-platform", "windows:darkmode=2", "-platform", "windows"},
                 "",
                 {"p", "-platform", "windows:darkmode=2", "-platform", "windows:darkmode=0"}},
        // A -platform without a value is no choice; the program's own words
        // stay after Qt's, for main to refuse.
        ArgsCase{"DanglingOption",
                 {"p", "x", "-platform"},
                 "",
                 {"p", "-platform", "windows:darkmode=0", "x", "-platform"}},
        ArgsCase{"ValueLooksLikeOption",
                 {"p", "-platform", "-platform", "windows"},
                 "",
                 {"p", "-platform", "-platform", "windows"}}),
    [](const testing::TestParamInfo<ArgsCase>& info) { return std::string(info.param.name); });

// argc and argv as QApplication reads them: every word, then a null.
TEST(Arguments, HandQtEveryWordAndANull) {
    std::string program = "pismolot";
    std::string option = "-style";
    std::string value = "fusion";
    char* argv[] = {program.data(), option.data(), value.data(), nullptr};
    platformoptions::Arguments args(3, argv);
    const Args expected = platformoptions::forThisPlatform({"pismolot", "-style", "fusion"});
    ASSERT_EQ(args.argc(), int(expected.size()));
    for (int i = 0; i < args.argc(); ++i)
        EXPECT_EQ(args.argv()[i], expected[std::size_t(i)]);
    EXPECT_EQ(args.argv()[args.argc()], nullptr);
}

} // namespace
