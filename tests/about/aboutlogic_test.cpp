#include "about/aboutlogic.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using pismolot::ColourValue;

TEST(AboutGradient, BandHeightRoundsHalfToEven) {
    struct Case {
        float scaleHeight;
        int band;
    };
    const Case cases[] = {
        {3060.0f, 12}, // the stored client height
        {3000.0f, 12}, // 11.76
        {3187.5f, 12}, // 12.5 -> even 12
        {3442.5f, 14}, // 13.5 -> even 14
        {127.0f, 0},   // 0.498
        {0.0f, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(about::bandHeight(c.scaleHeight), c.band) << c.scaleHeight;
}

TEST(AboutGradient, BandsAtTheStoredSize) {
    const std::vector<about::Band> bands = about::gradientBands(3060.0f);
    ASSERT_EQ(bands.size(), 256u);
    EXPECT_EQ(bands.front().top, 0);
    EXPECT_EQ(bands.front().colour, ColourValue::rgb(255, 11, 255));
    EXPECT_EQ(bands.back().top, 3060) << "the last band starts at the bottom edge";
    EXPECT_EQ(bands.back().colour, ColourValue::rgb(0, 11, 0));
    for (std::size_t i = 1; i < bands.size(); ++i) {
        ASSERT_EQ(bands[i].top, bands[i - 1].top + 12) << i;
        ASSERT_EQ(bands[i].height, 12) << i;
        ASSERT_EQ(bands[i].colour, ColourValue::rgb(255 - int(i), 11, 255 - int(i))) << i;
    }
}

struct TargetCase {
    const char* name;
    QString setting;
    QUrl expected;
};

class AboutWebTarget : public testing::TestWithParam<TargetCase> {};

TEST_P(AboutWebTarget, FollowsTheBuildSetting) {
    EXPECT_EQ(about::webTarget(GetParam().setting,
                               QStringLiteral("/opt/p/share/doc/pismolot/docs/guide.html")),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, AboutWebTarget,
    testing::Values(
        TargetCase{"NoneIsTheInstalledGuide", "",
                   QUrl("file:///opt/p/share/doc/pismolot/docs/guide.html")},
        TargetCase{"BlanksAreNone", "  ", QUrl("file:///opt/p/share/doc/pismolot/docs/guide.html")},
        TargetCase{"WebPage", "https://trelon.example/pismolot",
                   QUrl("https://trelon.example/pismolot")},
        TargetCase{"LocalPathBecomesAFileUrl", "/usr/share/doc/pismolot/przewodnik ż.md",
                   QUrl::fromLocalFile("/usr/share/doc/pismolot/przewodnik ż.md")}),
    [](const testing::TestParamInfo<TargetCase>& info) { return std::string(info.param.name); });

class AboutMailTarget : public testing::TestWithParam<TargetCase> {};

TEST_P(AboutMailTarget, FollowsTheBuildSetting) {
    EXPECT_EQ(about::mailTarget(GetParam().setting), GetParam().expected);
    EXPECT_EQ(about::mailTarget(GetParam().setting).isValid(), !GetParam().expected.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Settings, AboutMailTarget,
                         testing::Values(TargetCase{"NoneOpensNothing", "", QUrl()},
                                         TargetCase{"BlanksOpenNothing", " \t", QUrl()},
                                         TargetCase{"BareAddress", "trelon@example.org",
                                                    QUrl("mailto:trelon@example.org")},
                                         TargetCase{"AlreadyALink", "MAILTO:trelon@example.org",
                                                    QUrl("MAILTO:trelon@example.org")}),
                         [](const testing::TestParamInfo<TargetCase>& info) {
                             return std::string(info.param.name);
                         });

// Which copy of an installed file the program finds, by what lies where
// around its folder: the files (relative to a scratch folder) and the
// program's folder in it.
struct PlaceCase {
    const char* name;
    std::vector<const char*> files;
    const char* programDir; // nullptr: not known
    const char* found;      // nullptr: the configured location
};

class InstalledFile : public testing::TestWithParam<PlaceCase> {};

TEST_P(InstalledFile, IsFoundFromTheProgramsFolder) {
    const PlaceCase& c = GetParam();
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QDir root(scratch.path());
    for (const char* file : c.files) {
        const QString path = root.filePath(QString::fromUtf8(file));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        if (!path.endsWith(QLatin1Char('/'))) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << file;
        }
    }
    const QString programDir =
        c.programDir ? root.filePath(QString::fromUtf8(c.programDir)) : QString();
    const QString installed = QStringLiteral("/configured/share/doc/pismolot/docs/guide.html");
    const QString expected = c.found ? root.filePath(QString::fromUtf8(c.found)) : installed;
    EXPECT_EQ(about::installedFile(
                  programDir, QStringLiteral("../share/doc/pismolot/docs/guide.html"), installed),
              expected);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, InstalledFile,
    testing::Values(
        PlaceCase{"UnderThePrefixAboveBin",
                  {"home/.local/bin/pismolot", "home/.local/share/doc/pismolot/docs/guide.html"},
                  "home/.local/bin",
                  "home/.local/share/doc/pismolot/docs/guide.html"},
        PlaceCase{"BesideTheProgramFirst",
                  {"opt/p/bin/guide.html", "opt/p/share/doc/pismolot/docs/guide.html"},
                  "opt/p/bin",
                  "opt/p/bin/guide.html"},
        PlaceCase{"AnotherPrefixsGuideIsNotOurs",
                  {"usr/share/doc/pismolot/docs/guide.html", "stage/usr/bin/pismolot"},
                  "stage/usr/bin",
                  nullptr},
        PlaceCase{"AFolderOfThatNameIsNoFile",
                  {"p/bin/guide.html/", "p/share/doc/pismolot/docs/guide.html/"},
                  "p/bin",
                  nullptr},
        PlaceCase{"NoProgramFolder", {"share/doc/pismolot/docs/guide.html"}, nullptr, nullptr}),
    [](const testing::TestParamInfo<PlaceCase>& info) { return std::string(info.param.name); });
