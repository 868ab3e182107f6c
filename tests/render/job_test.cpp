#include "render/fonts.h"
#include "render/headless.h"
#include "render/job.h"
#include "render/surfaces.h"
#include "render/textline.h"
#include "render/textmeasure.h"

#include <gtest/gtest.h>

#include <QImage>

#include <string>
#include <thread>
#include <vector>

using namespace pismolot;

namespace {

// Records every call, in order, with what it was given.
class RecordingPlatform : public RenderPlatform {
public:
    std::vector<std::string> calls;
    std::vector<std::uint32_t> scratchPixels = std::vector<std::uint32_t>(40 * 40, 0xFFFFFFFF);
    std::vector<std::uint32_t> outputPixels = std::vector<std::uint32_t>(40 * 40, 0);
    TextExtent extent{15 * 10, 15 * 10};
    int style = 3;

    void log(std::string s) { calls.push_back(std::move(s)); }

    ColourValue backgroundColour() override {
        log("read background");
        return ColourValue::rgb(1, 2, 3);
    }
    QString text() override {
        log("read text");
        return QStringLiteral("Ab");
    }
    FontChoice font() override {
        log("read font");
        return FontChoice{QStringLiteral("Sans"), 12.5f, true, false, true};
    }
    int styleIndex() override {
        log("read style");
        return style;
    }
    void disableTimer() override { log("disable timer"); }
    void showWaitWindow() override { log("show wait"); }
    void fillOutput(ColourValue c) override {
        log("fill " + std::to_string(c.raw()));
        std::fill(outputPixels.begin(), outputPixels.end(), c.toArgb());
    }
    void setMeasureText(const QString& t) override { log("measure text " + t.toStdString()); }
    void setMeasureFont(const FontChoice& f) override {
        log("measure font " + f.name.toStdString() + " " + std::to_string(f.size));
    }
    void setScratchFont(const FontChoice& f) override {
        log("scratch font " + f.name.toStdString() + (f.bold ? " bold" : "") +
            (f.underline ? " underline" : ""));
    }
    void drawScratchText(const QString& t) override {
        log("draw " + t.toStdString());
        scratchPixels[2 * 40 + 2] = 0xFF000000; // one letter pixel at (2, 2)
    }
    void yield() override { log("yield"); }
    ScreenMetrics screenMetrics() override {
        log("metrics");
        return {15, 15, 15 * 40};
    }
    TextExtent measuredExtent() override {
        log("extent");
        return extent;
    }
    ConstRasterView scratch() override {
        log("scratch");
        return {scratchPixels.data(), 40, 40, 40};
    }
    RasterView output() override {
        log("output");
        return {outputPixels.data(), 40, 40, 40};
    }
    void setResultSize(float w, float h) override {
        log("result size " + std::to_string(int(w)) + "x" + std::to_string(int(h)));
    }
    void snapshotResult() override { log("snapshot"); }
    void clearBackgroundPicture() override { log("clear picture"); }
    void showResult() override { log("show result"); }
    void closeWaitWindow() override { log("close wait"); }
};

TEST(RenderJob, StepsRunInOrder) {
    RecordingPlatform platform;
    StyleRandom random;
    runRenderJob(platform, random);
    const std::vector<std::string> expected = {"disable timer",
                                               "show wait",
                                               "read background",
                                               "fill 197121",
                                               "read text",
                                               "read font",
                                               "measure text Ab",
                                               "measure font Sans 12.500000",
                                               "scratch font Sans bold underline",
                                               "draw Ab",
                                               "yield",
                                               "read style",
                                               "metrics",
                                               "extent",
                                               "scratch",
                                               "output",
                                               "result size 150x150",
                                               "snapshot",
                                               "clear picture",
                                               "show result",
                                               "close wait"};
    EXPECT_EQ(platform.calls, expected);
    // Style 3 at row 2 of 10: level floor(2 * 25.5) = 51, grey 204.
    EXPECT_EQ(platform.outputPixels[2 * 40 + 2], 0xFFCCCCCCu);
    EXPECT_EQ(platform.outputPixels[3 * 40 + 3], ColourValue::rgb(1, 2, 3).toArgb());
}

TEST(RenderJob, ZeroHeightStillFinishesEveryStep) {
    RecordingPlatform platform;
    platform.extent = {150, 0};
    StyleRandom random;
    const ScanPlan plan = runRenderJob(platform, random).plan;
    EXPECT_EQ(plan.rows, 0);
    EXPECT_EQ(platform.calls.back(), "close wait");
    EXPECT_EQ(platform.outputPixels[2 * 40 + 2], ColourValue::rgb(1, 2, 3).toArgb());
}

EffectSettings settingsFor(QString text, float size, int style) {
    EffectSettings s;
    s.text = std::move(text);
    s.font.name = defaultSansFamily();
    s.font.size = size;
    s.styleIndex = std::int16_t(style);
    s.background = ColourValue::rgb(0, 0, 128);
    return s;
}

TEST(Headless, ResultIsMeasuredRectangleWithLettersInRowColours) {
    const EffectSettings s = settingsFor(QStringLiteral("Text"), 24, 3);
    StyleRandom random;
    const QImage result = renderHeadless(s, {1920, 1080}, 96, random);
    const QSize measured = measureText(s.text, s.font, 96);
    ASSERT_EQ(result.size(), measured);
    int letters = 0;
    for (int y = 0; y < result.height(); ++y) {
        QRgb rowColour = 0;
        for (int x = 0; x < result.width(); ++x) {
            const QRgb p = result.pixel(x, y);
            if (p == qRgb(0, 0, 128))
                continue;
            ++letters;
            EXPECT_GT(x, 0);
            EXPECT_GT(y, 0);
            EXPECT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << "style 3 is grey";
            if (rowColour) {
                EXPECT_EQ(p, rowColour) << "one colour per row";
            }
            rowColour = p;
        }
    }
    EXPECT_GT(letters, 50);
}

TEST(Headless, EmptyTextGivesNoColumns) {
    StyleRandom random;
    EXPECT_TRUE(renderHeadless(settingsFor(QString(), 24, 0), {800, 600}, 96, random).isNull());
}

TEST(Headless, WiderThanScreenIsClippedToScreenWidth) {
    StyleRandom random;
    const QImage result =
        renderHeadless(settingsFor(QString(60, QLatin1Char('W')), 48, 1), {640, 480}, 96, random);
    EXPECT_EQ(result.width(), 640);
}

TEST(Headless, TallerThanSurfaceShowsBackgroundBelow) {
    StyleRandom random;
    const QImage result =
        renderHeadless(settingsFor(QStringLiteral("Ag"), 200, 0), {400, 100}, 96, random);
    ASSERT_GT(result.height(), 100);
    for (int y = 100; y < result.height(); ++y)
        for (int x = 0; x < result.width(); ++x)
            ASSERT_EQ(result.pixel(x, y), qRgb(0, 0, 128)) << x << "," << y;
}

TEST(Headless, SameSettingsSamePixelsStripesRepeat) {
    const EffectSettings s = settingsFor(QStringLiteral("Pismolot"), 30, RandomStripesStyle);
    StyleRandom a, b;
    EXPECT_EQ(renderHeadless(s, {800, 200}, 96, a), renderHeadless(s, {800, 200}, 96, b));
}

struct DpiCase {
    const char* name;
    int dpi;
    const char* font;
    float size;
    bool italic;
    const char* text;
};

class EveryColumn : public testing::TestWithParam<DpiCase> {};

// Every letter pixel of the measured rectangle is coloured, up to the
// picture's last column, also where twips per pixel is fractional (at 192 DPI
// the last H used to lose its right stem).
TEST_P(EveryColumn, EveryLetterPixelOfThePictureIsColoured) {
    const DpiCase& c = GetParam();
    EffectSettings s;
    s.text = QString::fromUtf8(c.text);
    s.font = FontChoice{QString::fromUtf8(c.font), c.size, false, c.italic};
    s.styleIndex = 3; // greys: never the navy background
    s.background = ColourValue::rgb(0, 0, 128);
    const QSize screen(1920, 1080);
    StyleRandom random;
    const QImage picture = renderHeadless(s, screen, c.dpi, random);
    const QSize measured = measureText(s.text, s.font, c.dpi, screen);
    ASSERT_EQ(picture.size(), measured.boundedTo(QSize(screen.width(), measured.height())));
    QImage drawn = makeSurface(measured, c.dpi);
    drawText(drawn, s.text, s.font);
    int letters = 0, lastColumn = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const bool letter = x >= 1 && y >= 1 && drawn.pixel(x, y) == qRgb(0, 0, 0);
            letters += letter;
            lastColumn += letter && x == picture.width() - 1;
            ASSERT_EQ(picture.pixel(x, y) != qRgb(0, 0, 128), letter)
                << x << "," << y << " of " << picture.width() << "x" << picture.height();
        }
    }
    EXPECT_GT(letters, 100);
    if (measured.width() > screen.width()) {
        EXPECT_GT(lastColumn, 0) << "a letter crosses the screen's edge";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dpi, EveryColumn,
    testing::Values(DpiCase{"mono_48", 48, "DejaVu Sans Mono", 24, false, "HHHHHHHHHH"},
                    DpiCase{"mono_72", 72, "DejaVu Sans Mono", 24, false, "HHHHHHHHHH"},
                    DpiCase{"mono_96", 96, "DejaVu Sans Mono", 24, false, "HHHHHHHHHH"},
                    DpiCase{"mono_120", 120, "DejaVu Sans Mono", 24, false, "HHHHHHHHHH"},
                    DpiCase{"mono_144", 144, "DejaVu Sans Mono", 24, false, "HHHHHHHHHH"},
                    DpiCase{"mono_168", 168, "DejaVu Sans Mono", 24, false, "HHHHHHHHHH"},
                    DpiCase{"mono_192", 192, "DejaVu Sans Mono", 24, false, "HHHHHHHHHH"},
                    DpiCase{"math_italic_96", 96, "DejaVu Math TeX Gyre", 150, true, "W"},
                    DpiCase{"math_italic_168", 168, "DejaVu Math TeX Gyre", 60, true, "Wolf"},
                    DpiCase{"serif_italic_192", 192, "DejaVu Serif", 30, true, "fjord|"},
                    // Wider than the screen where 1440 / dpi is no whole number.
                    DpiCase{"sans_wide_100", 100, "DejaVu Sans", 150, false, "WWWWWWWWWWWW"},
                    DpiCase{"serif_wide_110", 110, "DejaVu Serif", 120, true, "Ząb fjord|Ąj"},
                    DpiCase{"mono_wide_192", 192, "DejaVu Sans Mono", 61, false,
                            "HHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHH"}),
    [](const testing::TestParamInfo<DpiCase>& info) { return std::string(info.param.name); });

// Transparency is decided by which pixels the scan wrote: alpha 0 exactly
// where the opaque picture has no letter pixel, the letters equal to the
// opaque picture's, also when a row's style colour equals the background.
TEST(Headless, TransparentPictureLettersOpaqueEverythingElseClear) {
    EffectSettings s = settingsFor(QStringLiteral("Pismolot gj"), 40, 3);
    s.background = ColourValue::rgb(0, 0, 128); // no grey of style 3
    StyleRandom r1;
    const QImage opaque = renderHeadless(s, {1920, 1080}, 96, r1);
    ASSERT_FALSE(opaque.isNull());
    // A background equal to the colour of a row full of letters.
    const int row = opaque.height() / 2;
    QRgb rowColour = 0;
    for (int x = 0; x < opaque.width() && !rowColour; ++x)
        if (opaque.pixel(x, row) != qRgb(0, 0, 128))
            rowColour = opaque.pixel(x, row);
    ASSERT_NE(rowColour, 0u);
    for (const ColourValue background :
         {ColourValue::rgb(0, 0, 128),
          ColourValue::rgb(qRed(rowColour), qGreen(rowColour), qBlue(rowColour))}) {
        EffectSettings t = s;
        t.background = background;
        StyleRandom r2;
        const QImage clear = renderHeadless(t, {1920, 1080}, 96, r2, RenderOptions{true});
        ASSERT_EQ(clear.format(), QImage::Format_ARGB32);
        ASSERT_EQ(clear.size(), opaque.size());
        for (int y = 0; y < clear.height(); ++y) {
            for (int x = 0; x < clear.width(); ++x) {
                const QRgb p = clear.pixel(x, y);
                if (opaque.pixel(x, y) != qRgb(0, 0, 128)) {
                    ASSERT_EQ(p, opaque.pixel(x, y)) << x << "," << y;
                } else {
                    ASSERT_EQ(qAlpha(p), 0) << x << "," << y;
                    ASSERT_EQ(p & 0xFFFFFF, background.toArgb() & 0xFFFFFF) << x << "," << y;
                }
            }
        }
    }
}

// Several threads render at once, each with its own generator: the same
// pictures as one after the other.
TEST(Headless, ThreadsRenderTheSamePicturesAsOneAfterTheOther) {
    std::vector<std::pair<EffectSettings, int>> jobs;
    const char* families[] = {"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono",
                              "DejaVu Math TeX Gyre"};
    for (int i = 0; i < 24; ++i) {
        EffectSettings s =
            settingsFor(QStringLiteral("Etykieta %1 ąę").arg(i), 12.0f + 7 * i, i % StyleCount);
        s.font.name = QString::fromUtf8(families[i % 4]);
        s.font.italic = i % 3 == 0;
        s.font.bold = i % 5 == 0;
        jobs.push_back({s, 96 + 24 * (i % 5)});
    }
    std::vector<QImage> sequential;
    for (const auto& [s, dpi] : jobs) {
        StyleRandom random;
        sequential.push_back(renderHeadless(s, {1920, 1080}, dpi, random));
    }
    std::vector<QImage> parallel(jobs.size());
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t i = t; i < jobs.size(); i += 4) {
                StyleRandom random;
                parallel[i] = renderHeadless(jobs[i].first, {1920, 1080}, jobs[i].second, random);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        ASSERT_FALSE(sequential[i].isNull()) << i;
        EXPECT_EQ(parallel[i], sequential[i]) << "job " << i;
    }
}

} // namespace
