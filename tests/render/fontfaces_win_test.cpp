// Windows' GDI draws no font whose glyphs are only colour bitmaps. Wine lists
// the host's (Noto Color Emoji, which the Linux tests install): it is not
// offered, and asked for by name it is replaced by a family that draws.
#include "render/fonts.h"
#include "render/surfaces.h"
#include "render/textline.h"

#include <QFontDatabase>
#include <QImage>

#include <gtest/gtest.h>

namespace {

using namespace pismolot;

const QString ColourBitmapFamily = QStringLiteral("Noto Color Emoji");

int inkedPixels(const QImage& surface) {
    int count = 0;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            count += surface.pixel(x, y) != 0xFFFFFFFFu;
    return count;
}

TEST(ColourBitmapFamily, LeftOutOfTheListAndReplaced) {
    if (!QFontDatabase::hasFamily(ColourBitmapFamily))
        GTEST_SKIP() << "no colour bitmap font is installed to try (fonts-noto-color-emoji)";
    for (const QString& name : {ColourBitmapFamily, ColourBitmapFamily.toLower()})
        EXPECT_FALSE(platformDrawsFamily(name)) << name.toStdString();
    EXPECT_FALSE(sortedFontFamilies().contains(ColourBitmapFamily, Qt::CaseInsensitive));
    EXPECT_NE(resolvedFamily(ColourBitmapFamily).compare(ColourBitmapFamily, Qt::CaseInsensitive),
              0);
    // Drawn with the family that replaces it, as the renderer warns.
    QImage surface = makeSurface(QSize(120, 60), 96);
    drawText(surface, QStringLiteral("Ala"), FontChoice{ColourBitmapFamily, 24});
    EXPECT_GT(inkedPixels(surface), 20);
}

// Outline fonts of both kinds, a symbol font, the dialog alias and a name
// that is not installed (GDI substitutes one) all draw.
TEST(ColourBitmapFamily, OtherFamiliesDraw) {
    for (const char* family :
         {"DejaVu Sans", "Tahoma", "Marlett", "MS Shell Dlg 2", "C059", "Nie ma takiego kroju"})
        EXPECT_TRUE(platformDrawsFamily(QString::fromUtf8(family))) << family;
}

} // namespace
