#include "textraster.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace pismolot {

namespace {

int dotsPerMeter(int dpi) {
    return int(std::lround(dpi / 0.0254));
}

// The paint device metrics that fonts are scaled by.
QImage dpiProbe(int dpi) {
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(dotsPerMeter(dpi));
    probe.setDotsPerMeterY(dotsPerMeter(dpi));
    return probe;
}

} // namespace

QFont makeFont(const FontChoice& choice) {
    QFont font(choice.name);
    if (choice.size > 0)
        font.setPointSizeF(choice.size);
    font.setBold(choice.bold);
    font.setItalic(choice.italic);
    font.setUnderline(choice.underline);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setKerning(true);
    return font;
}

QSize measureText(const QString& text, const FontChoice& choice, int dpi) {
    const QImage probe = dpiProbe(dpi);
    const QFont font(makeFont(choice), &probe);
    const QFontMetricsF fm(font, &probe);
    const qreal ascent = fm.ascent();
    QRectF box(0, 0, fm.horizontalAdvance(text), fm.height());
    if (!text.isEmpty()) {
        // Italic overhang and glyphs that reach below the cell; one pixel of
        // slack for the rasteriser's rounding.
        const QRectF ink = fm.tightBoundingRect(text).translated(0, ascent);
        if (ink.right() > box.right() - 1)
            box.setRight(ink.right() + 1);
        if (ink.bottom() > box.bottom() - 1)
            box.setBottom(ink.bottom() + 1);
        if (choice.underline) {
            const qreal underlineBottom = ascent + fm.underlinePos() + fm.lineWidth() + 1;
            box.setBottom(std::max(box.bottom(), underlineBottom));
        }
    } else {
        box.setWidth(0);
    }
    return QSize(int(std::ceil(box.right())), int(std::ceil(box.bottom())));
}

void drawText(QImage& surface, const QString& text, const FontChoice& choice) {
    QPainter painter(&surface);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    const QFont font(makeFont(choice), &surface);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF fm(font, &surface);
    painter.drawText(QPointF(0, fm.ascent()), text);
}

namespace {

// Surfaces are large and short-lived: on Linux, back them with huge pages
// where the system offers them, which spares thousands of page faults.
constexpr std::size_t HugePage = std::size_t(2) << 20;

void freeSurface(void* memory) {
    std::free(memory);
}

QImage allocateSurface(QSize size) {
    const qsizetype bytesPerLine = qsizetype(size.width()) * 4;
    const std::size_t bytes = std::size_t(bytesPerLine) * std::size_t(size.height());
    if (bytes < HugePage)
        return QImage(size, QImage::Format_RGB32);
    const std::size_t rounded = (bytes + HugePage - 1) / HugePage * HugePage;
    void* memory = std::aligned_alloc(HugePage, rounded);
    if (!memory)
        return QImage(size, QImage::Format_RGB32);
#ifdef MADV_HUGEPAGE
    madvise(memory, rounded, MADV_HUGEPAGE);
#endif
    return QImage(static_cast<uchar*>(memory), size.width(), size.height(), bytesPerLine,
                  QImage::Format_RGB32, freeSurface, memory);
}

} // namespace

QImage makeSurface(QSize size, int dpi, QRgb fill) {
    QImage image = allocateSurface(size.expandedTo(QSize(0, 0)));
    image.setDotsPerMeterX(dotsPerMeter(dpi));
    image.setDotsPerMeterY(dotsPerMeter(dpi));
    image.fill(fill);
    return image;
}

QStringList sortedFontFamilies() {
    QStringList families = QFontDatabase::families();
    std::stable_sort(families.begin(), families.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return families;
}

QString defaultSansFamily() {
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setFamily(QStringLiteral("sans-serif"));
    return QFontInfo(font).family();
}

RasterView rasterOf(QImage& image) {
    Q_ASSERT(image.format() == QImage::Format_RGB32 || image.isNull());
    if (image.isNull())
        return {};
    return {reinterpret_cast<std::uint32_t*>(image.bits()),
            std::ptrdiff_t(image.bytesPerLine() / 4), image.width(), image.height()};
}

ConstRasterView rasterOf(const QImage& image) {
    if (image.isNull())
        return {};
    return {reinterpret_cast<const std::uint32_t*>(image.constBits()),
            std::ptrdiff_t(image.bytesPerLine() / 4), image.width(), image.height()};
}

} // namespace pismolot
