// The desktop program's command line: help and version without a display,
// anything it does not know refused, Qt's own options still taken.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

namespace {

struct GuiCase {
    const char* name;
    QStringList args;
    const char* platform; // QT_QPA_PLATFORM, with no display to be found
    int exitCode;
    const char* outPart; // on standard output, or standard error when it fails
};

class GuiCommandLine : public testing::TestWithParam<GuiCase> {};

TEST_P(GuiCommandLine, AnswersWithoutADisplay) {
    const GuiCase& c = GetParam();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QString::fromLatin1(c.platform));
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(PISMOLOT_GUI_EXE), c.args);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), c.exitCode);
    const QByteArray text =
        c.exitCode == 0 ? process.readAllStandardOutput() : process.readAllStandardError();
    EXPECT_TRUE(text.contains(c.outPart)) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, GuiCommandLine,
    testing::Values(
        GuiCase{"helpOnXcb", {QStringLiteral("--help")}, "xcb", 0, "Usage: pismolot"},
        GuiCase{"shortHelpOnWayland", {QStringLiteral("-h")}, "wayland", 0, "--version"},
        GuiCase{"version", {QStringLiteral("--version")}, "xcb", 0, "pismolot " PISMOLOT_VERSION},
        GuiCase{"unknownOption", {QStringLiteral("--bogus")}, "offscreen", 2, "'--bogus'"},
        GuiCase{"strayArgument", {QStringLiteral("file.txt")}, "offscreen", 2, "'file.txt'"},
        // Qt takes its options away: what is left is the unknown one.
        GuiCase{"qtOptionThenUnknown",
                {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-x")},
                "xcb",
                2,
                "'-x'"}),
    [](const testing::TestParamInfo<GuiCase>& info) { return std::string(info.param.name); });

} // namespace
