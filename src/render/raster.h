#pragma once

#include <cstddef>
#include <cstdint>

namespace pismolot {

// A view of a raster owned elsewhere (a QImage in Format_RGB32, a window's
// back-buffer, a test array).
//
// Contract: `pixels` points at row 0, the top row; row y starts at
// pixels + y * stride (stride in pixels, not bytes). Each pixel is one
// 32-bit word 0xFFRRGGBB in native order, the layout of QImage::Format_RGB32.
// The rectangle is width x height; nothing outside it is read or written:
// reads there answer "no colour", writes there are dropped.
template <class Pixel> struct BasicRasterView {
    Pixel* pixels = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;

    Pixel* row(int y) const { return pixels + std::ptrdiff_t(y) * stride; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

using RasterView = BasicRasterView<std::uint32_t>;
using ConstRasterView = BasicRasterView<const std::uint32_t>;

inline ConstRasterView asConst(const RasterView& v) {
    return {v.pixels, v.stride, v.width, v.height};
}

// A letter pixel is one whose colour reads exactly black.
constexpr bool isLetterPixel(std::uint32_t pixel) {
    return (pixel & 0x00FFFFFFu) == 0;
}

} // namespace pismolot
