// libFuzzer target: text measuring on the offscreen platform. Arbitrary
// UTF-16 text, size, bold/italic/underline, DPI and screen width from the
// input; the measure must never crash, never be Qt's placeholder, and hold
// every pixel that drawing the text inks within the screen's width.
#include "render/fonts.h"
#include "render/surfaces.h"
#include "render/textline.h"
#include "render/textmeasure.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdint>

using namespace pismolot;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int qtArgc = 1;
    static QGuiApplication app(qtArgc, *argv);
    (void)argc;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 6)
        return 0;
    const std::uint8_t flags = data[0];
    // 0.01 to about 200 points, denser at the small end where fonts break.
    const float points = 0.01f + float(data[1] | data[2] << 8) * float(data[2]) / 16384.0f;
    const int dpi = 72 + data[3] % 5 * 24 + (flags >> 6) * 3; // 72..177, some not whole twips
    const int screenWidth = 16 + data[4] * 4;
    const QStringList families = sortedFontFamilies();
    if (families.isEmpty())
        return 0;
    const QString family = families[data[5] % families.size()];
    QString text;
    for (std::size_t i = 6; i + 1 < size && text.size() < 32; i += 2)
        text.append(QChar(char16_t(data[i] | data[i + 1] << 8)));
    const FontChoice choice{family, points, (flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0};
    if (!fontSizeDrawable(points, dpi))
        return 0;

    const QSize screen(screenWidth, 64 + (flags & 8) * 40);
    const MeasuredText m = measureDrawnText(text, choice, dpi, screen, true);
    const QSize extent = m.extent;
    if (extent.width() < 0 || extent.height() < 0 || extent.width() >= 50000 ||
        extent.height() >= 50000)
        __builtin_trap(); // a placeholder or garbage
    if (extent.width() > 0 && m.surface.isNull())
        __builtin_trap(); // the scratch drawing must be kept

    // Draw once more with room on every side that matters: every black pixel
    // left of the screen's edge must lie inside the extent.
    const int room = 2 * extent.height() + 16;
    const int width = std::min(extent.width(), screenWidth) + room;
    QImage surface = makeSurface(QSize(width, extent.height() + room), dpi);
    drawText(surface, text, choice);
    for (int y = 0; y < surface.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(surface.constScanLine(y));
        for (int x = 0; x < std::min(surface.width(), screenWidth); ++x)
            if ((row[x] & 0xFFFFFF) == 0 && (x >= extent.width() || y >= extent.height()))
                __builtin_trap();
    }
    // The kept surface is that drawing.
    const QRect common = QRect(QPoint(0, 0), m.surface.size()).intersected(surface.rect());
    if (!common.isEmpty() && m.surface.copy(common) != surface.copy(common))
        __builtin_trap();
    return 0;
}
