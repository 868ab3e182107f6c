#pragma once

#include <cstdint>

namespace pismolot {

// A colour as the program stores it: either an RGB value packed
// red + 256·green + 65536·blue, or, with the top bit set, a reference to a
// system colour whose number is the low byte (0x80000009 is the active title
// text, 0x8000000F the button face).
class ColourValue {
public:
    constexpr ColourValue() = default;
    static constexpr ColourValue fromRaw(std::uint32_t raw) { return ColourValue(raw); }
    static constexpr ColourValue rgb(int r, int g, int b) {
        return ColourValue(std::uint32_t(r & 0xFF) | std::uint32_t(g & 0xFF) << 8 |
                           std::uint32_t(b & 0xFF) << 16);
    }
    static constexpr ColourValue system(int index) {
        return ColourValue(0x80000000u | std::uint32_t(index & 0xFF));
    }

    constexpr std::uint32_t raw() const { return raw_; }
    constexpr bool isSystem() const { return (raw_ & 0x80000000u) != 0; }
    constexpr int systemIndex() const { return int(raw_ & 0xFF); }
    constexpr int red() const { return int(raw_ & 0xFF); }
    constexpr int green() const { return int(raw_ >> 8 & 0xFF); }
    constexpr int blue() const { return int(raw_ >> 16 & 0xFF); }

    // The RGB value this colour shows as; system colours as the system
    // shows them (see resolveSystemColour).
    ColourValue toRgb() const;
    // 0xFFRRGGBB, the pixel layout of the program's rasters.
    std::uint32_t toArgb() const;

    friend constexpr bool operator==(ColourValue, ColourValue) = default;

private:
    constexpr explicit ColourValue(std::uint32_t raw) : raw_(raw) {}
    std::uint32_t raw_ = 0;
};

namespace syscolour {
inline constexpr ColourValue MenuText = ColourValue::system(7);
inline constexpr ColourValue CaptionText = ColourValue::system(9);
inline constexpr ColourValue ActiveBorder = ColourValue::system(10);
inline constexpr ColourValue AppWorkspace = ColourValue::system(12);
inline constexpr ColourValue HighlightText = ColourValue::system(14);
inline constexpr ColourValue ButtonFace = ColourValue::system(15);
} // namespace syscolour

// A system colour number in the classic standard desktop scheme (9 white,
// 7 black, 14 white, 15 light grey, ...); unknown numbers give black.
ColourValue standardSystemColour(int index);

// A system colour number as this system shows it, at the moment it is asked:
// the standard scheme on Linux, which has no such palette; the user's own
// colours on Windows (GetSysColor), whatever scheme is chosen there.
// Unknown numbers give black.
ColourValue resolveSystemColour(int index);

// Pixel helpers for 0xFFRRGGBB rasters.
constexpr std::uint32_t argbFromRgb(int r, int g, int b) {
    return 0xFF000000u | std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
}

} // namespace pismolot
