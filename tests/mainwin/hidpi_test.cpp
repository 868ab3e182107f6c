// The program on a screen with a device pixel ratio r (QT_SCALE_FACTOR, set
// by CTest): the render job works in device pixels at 96 r dpi, so the
// window's picture is the headless renderer's for the screen's size in device
// pixels, and it is shown, copied and saved pixel for pixel.
#include "app/forms.h"
#include "editor/colourswatch.h"
#include "editor/redak.h"
#include "mainwin/mdi.h"
#include "mainwin/rys.h"
#include "mainwin/surface.h"
#include "render/headless.h"
#include "render/imagefile.h"
#include "render/textraster.h"
#include "resources/xdata.h"

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "freshwindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

using namespace pismolot;

namespace {

double scaleFactor() {
    const QByteArray scale = qgetenv("QT_SCALE_FACTOR");
    return scale.isEmpty() ? 1.0 : scale.toDouble();
}

QSize deviceScreen() {
    const QSize logical = QGuiApplication::primaryScreen()->geometry().size();
    return {qRound(logical.width() * scaleFactor()), qRound(logical.height() * scaleFactor())};
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
    const double r = scaleFactor();
    ASSERT_DOUBLE_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), r)
        << "the platform takes the scale factor";
    const int dpi = int(std::lround(96 * r));

    const HiDpiCase& c = GetParam();
    Redak& editor = forms::redak();
    EXPECT_EQ(editor.size(), QSize(465, 296)) << "layouts stay in logical pixels";
    editor.Text1->setText(c.text);
    editor.Text1->setFont(makeFont(c.font));
    editor.List2->setCurrentIndex(c.style);
    editor.Label4->setBackColor(c.background);
    const EffectSettings settings = editor.effectSettings();

    StyleRandom random = styleRandom(); // the job draws from the same sequence
    QTest::mouseClick(editor.Command2, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return forms::hasRys() && forms::rys().Picture1->isVisible(); }, 10000));
    const QImage expected = renderHeadless(settings, deviceScreen(), dpi, random);
    ASSERT_FALSE(expected.isNull());

    Rys& rys = forms::rys();
    const QImage picture = rys.resultPicture().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), expected.size());
    // Every column of the picture, the last included, at every dpi.
    EXPECT_EQ(picture, expected);

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
    EXPECT_EQ(QImage::fromData(QGuiApplication::clipboard()->mimeData()->data("image/png"), "PNG")
                  .convertToFormat(QImage::Format_RGB32),
              picture);
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
    const double r = scaleFactor();
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
