#include "surfaces.h"

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

enum class Memory { Plain, HugePages };

#if defined(__linux__)
// Huge pages for the renderer's big one-shot surfaces: a 1920 x 1080 surface
// is 2,025 small pages, each a page fault on first touch, or 4 huge ones.
constexpr std::size_t HugePage = std::size_t(2) << 20;

void freeSurface(void* memory) {
    std::free(memory);
}

QImage allocateHuge(QSize size) {
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
#endif

QImage allocate(QSize size, int dpi, QRgb fill, Memory memory) {
    size = size.expandedTo(QSize(0, 0));
#if defined(__linux__)
    QImage image =
        memory == Memory::HugePages ? allocateHuge(size) : QImage(size, QImage::Format_RGB32);
#else
    (void)memory;
    QImage image(size, QImage::Format_RGB32);
#endif
    image.setDotsPerMeterX(dotsPerMeter(dpi));
    image.setDotsPerMeterY(dotsPerMeter(dpi));
    image.fill(fill);
    return image;
}

} // namespace

QImage dpiProbe(int dpi) {
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(dotsPerMeter(dpi));
    probe.setDotsPerMeterY(dotsPerMeter(dpi));
    return probe;
}

QImage makeSurface(QSize size, int dpi, QRgb fill) {
    return allocate(size, dpi, fill, Memory::Plain);
}

QImage makeRendererSurface(QSize size, int dpi, QRgb fill) {
    return allocate(size, dpi, fill, Memory::HugePages);
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
