// The program on screens of every dpi and device pixel ratio: CTest runs this
// program once per row of Screens, on an offscreen screen of that logical dpi
// (its configuration file) or with that QT_SCALE_FACTOR. The render job works
// in device pixels at the logical dpi times the ratio, so the window's picture
// is the renderer's for the screen's size in device pixels, and it is shown,
// copied and saved pixel for pixel.
#include "app/forms.h"
#include "editor/colourswatch.h"
#include "editor/redak.h"
#include "mainwin/mdi.h"
#include "mainwin/rys.h"
#include "mainwin/surface.h"
#include "render/fonts.h"
#include "render/headless.h"
#include "render/imagefile.h"
#include "render/textmeasure.h"
#include "resources/xdata.h"

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "clipboardpicture.h"
#include "freshwindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

using namespace pismolot;

namespace {

struct ScreenCase {
    const char* name; // PISMOLOT_TEST_SCREEN, set by CTest
    int logicalDpi;
    double ratio;
    int renderDpi;
    QSize editor; // 6975 x 4440 twips at 1440 / logicalDpi twips a pixel
};

constexpr ScreenCase Screens[] = {
    {"dpi96", 96, 1, 96, {465, 296}},         {"dpi48", 48, 1, 48, {232, 148}},
    {"dpi72", 72, 1, 72, {349, 222}},         {"dpi120", 120, 1, 120, {581, 370}},
    {"dpi144", 144, 1, 144, {698, 444}},      {"dpi192", 192, 1, 192, {930, 592}},
    {"ratio1.25", 96, 1.25, 120, {465, 296}}, {"ratio1.5", 96, 1.5, 144, {465, 296}},
    {"ratio1.75", 96, 1.75, 168, {465, 296}}, {"ratio2", 96, 2, 192, {465, 296}}};

const ScreenCase& thisScreen() {
    const QByteArray name = qEnvironmentVariable("PISMOLOT_TEST_SCREEN", "dpi96").toUtf8();
    for (const ScreenCase& screen : Screens)
        if (name == screen.name)
            return screen;
    ADD_FAILURE() << "no row for the screen " << name.constData();
    return Screens[0];
}

QSize deviceScreen() {
    const QSize logical = QGuiApplication::primaryScreen()->geometry().size();
    const double r = thisScreen().ratio;
    return {qRound(logical.width() * r), qRound(logical.height() * r)};
}

// The program's picture of `settings`, through the editor's "OK"; `settings`
// becomes what the editor hands on (the family it really draws).
QImage programPicture(EffectSettings& settings) {
    Redak& editor = forms::redak();
    editor.Text1->setText(settings.text);
    editor.Text1->setFont(makeFont(settings.font));
    editor.List2->setCurrentIndex(settings.styleIndex);
    editor.Label4->setBackColor(settings.background);
    settings = editor.effectSettings();
    QTest::mouseClick(editor.Command2, Qt::LeftButton);
    if (!QTest::qWaitFor([] { return forms::hasRys() && forms::rys().Picture1->isVisible(); },
                         10000))
        return {};
    return forms::rys().resultPicture().convertToFormat(QImage::Format_RGB32);
}

struct HiDpiCase {
    const char* name;
    QString text;
    FontChoice font;
    int style;
    ColourValue background;
};

class HiDpi : public FreshWindows<testing::TestWithParam<HiDpiCase>> {};

TEST_P(HiDpi, WindowPictureIsTheRenderersAtTheDeviceDpi) {
    const ScreenCase& screen = thisScreen();
    ASSERT_DOUBLE_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), screen.ratio)
        << "the platform takes the screen's ratio";
    ASSERT_EQ(QGuiApplication::primaryScreen()->logicalDotsPerInchY(), screen.logicalDpi);
    EXPECT_EQ(forms::redak().size(), screen.editor) << "layouts stay in logical pixels";

    const HiDpiCase& c = GetParam();
    EffectSettings settings{c.text, c.font, std::int16_t(c.style), c.background};
    StyleRandom random = styleRandom(); // the job draws from the same sequence
    const QImage picture = programPicture(settings);
    const QImage expected = renderHeadless(settings, deviceScreen(), screen.renderDpi, random);
    ASSERT_FALSE(expected.isNull());
    ASSERT_EQ(picture.size(), expected.size());
    // Every column of the picture, the last included, at every dpi.
    EXPECT_EQ(picture, expected);

    Rys& rys = forms::rys();
    // On screen one picture pixel is one device pixel.
    const QImage shown = rys.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_GE(shown.width(), picture.width());
    ASSERT_GE(shown.height(), picture.height());
    EXPECT_EQ(shown.copy(picture.rect()), picture);

    // The clipboard and the BMP file hold the same device pixels.
    MDI& mdi = forms::mdi();
    QStringList messages;
    mdi.showMessage = [&](const QString& m) { messages.append(m); };
    mdi.kopiuj_Click();
    EXPECT_EQ(clipboardPng(), picture);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("efekt.bmp");
    mdi.askFileName = [&](QWidget*, QString, const QString&, const QString&, QString*) {
        return path;
    };
    mdi.zapisz_Click();
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_EQ(QImage(path, "BMP").convertToFormat(QImage::Format_RGB32), picture);
    // Byte for byte the renderer's file, the resolution in its header included.
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), encodeBmp24(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, HiDpi,
    testing::Values(HiDpiCase{"BoldItalicUnderline", QStringLiteral("Pismolot"),
                              FontChoice{defaultSansFamily(), 28, true, true, true}, 5,
                              ColourValue::rgb(10, 20, 200)},
                    HiDpiCase{"RandomStripesOnTitleTextColour", QStringLiteral("Ząb HHH"),
                              FontChoice{defaultSansFamily(), 24, false, false, false}, 7,
                              syscolour::CaptionText}),
    [](const testing::TestParamInfo<HiDpiCase>& info) { return std::string(info.param.name); });

QImage rendererPicture(const EffectSettings& s, QSize screen, int dpi) {
    QTemporaryDir dir;
    const QString path = dir.filePath("out.bmp");
    QProcess renderer;
    renderer.start(QStringLiteral(PISMOLOT_RENDER_EXE),
                   {"--font", s.font.name, "--size", QString::number(s.font.size), "--underline",
                    "--style", QString::number(s.styleIndex), "--background", "000080", "--screen",
                    QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height()), "--dpi",
                    QString::number(dpi), "-o", path, "--", s.text});
    EXPECT_TRUE(renderer.waitForFinished(60000));
    EXPECT_EQ(renderer.exitCode(), 0) << renderer.readAllStandardError().toStdString();
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

class Geometry : public FreshWindows<> {};

// As many columns as the text is wide but no more than the screen has, as
// many rows as it is high; a text wider than the screen has letters up to its
// last column. The program and the renderer give the same picture.
TEST_F(Geometry, ColumnsRowsAndTheWidthClampAtEveryDpi) {
    const ScreenCase& screen = thisScreen();
    const QSize device = deviceScreen();
    const QRgb navy = qRgb(0, 0, 128);
    for (const bool wide : {true, false}) {
        SCOPED_TRACE(wide ? "wider than the screen" : "narrower than the screen");
        forms::unloadAll();
        EffectSettings s{wide ? QString(80, 'W') : QStringLiteral("Ząb"),
                         FontChoice{QStringLiteral("DejaVu Sans"), 24, false, false, true}, 3,
                         ColourValue::rgb(0, 0, 128)};
        const QImage picture = programPicture(s);
        const QSize full = measureText(s.text, s.font, screen.renderDpi);
        ASSERT_EQ(full.width() > device.width(), wide) << full.width() << " at " << screen.name;
        EXPECT_EQ(picture.size(), QSize(std::min(full.width(), device.width()), full.height()));
        EXPECT_EQ(rendererPicture(s, device, screen.renderDpi), picture);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.pixel(0, 0), navy);
        int lastColumnLetters = 0;
        for (int y = 0; y < picture.height(); ++y)
            lastColumnLetters += picture.pixel(picture.width() - 1, y) != navy;
        EXPECT_GT(lastColumnLetters, 0) << "no empty strip on the right";
    }
}

// The surfaces of the render and wait windows are shown one surface pixel on
// one device pixel, and the fill colour beyond them.
TEST(HiDpiSurface, ShownPixelForPixel) {
    QImage surface(97, 61, QImage::Format_RGB32);
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            surface.setPixel(x, y, qRgb(x * 2, y * 4, (x ^ y) & 0xFF));
    SurfaceWidget widget(qRgb(1, 2, 3));
    widget.resize(200, 150);
    widget.setSurface(surface, qRgb(1, 2, 3));
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    const QImage shown = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(widget.deviceSize(), shown.size());
    EXPECT_EQ(shown.copy(surface.rect()), surface);
    EXPECT_EQ(QColor(shown.pixel(shown.width() - 1, shown.height() - 1)), QColor(1, 2, 3));
    EXPECT_EQ(QColor(shown.pixel(surface.width(), 0)), QColor(1, 2, 3));
}

// The stored 104 x 65 previews keep their logical size and are scaled
// smoothly to the device pixels.
TEST(HiDpiPreview, StoredPictureIsDrawnSmoothlyScaled) {
    const double r = thisScreen().ratio;
    Redak& editor = forms::redak();
    editor.List2->setCurrentIndex(5);
    const QPixmap shown = editor.Image1->pixmap();
    const QImage stored = forms::xdata().picture(5);
    ASSERT_EQ(stored.size(), QSize(104, 65));
    EXPECT_EQ(shown.deviceIndependentSize().toSize(), QSize(104, 65));
    EXPECT_EQ(shown.size(), QSize(qRound(104 * r), qRound(65 * r)));
    if (r != 1.0) {
        // Nearest-neighbour scaling would show only the stored colours.
        std::set<QRgb> storedColours;
        for (int y = 0; y < stored.height(); ++y)
            for (int x = 0; x < stored.width(); ++x)
                storedColours.insert(stored.pixel(x, y));
        const QImage image = shown.toImage();
        int blended = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                blended += !storedColours.count(image.pixel(x, y) | 0xFF000000u);
        EXPECT_GT(blended, 0);
    }
    forms::unloadAll();
}

} // namespace
