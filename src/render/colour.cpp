#include "colour.h"

#include <array>

namespace pismolot {

namespace {
// The classic standard desktop scheme, indexed by system colour number.
constexpr std::array<ColourValue, 25> StandardScheme = {
    ColourValue::rgb(192, 192, 192), // 0 scroll bar
    ColourValue::rgb(0, 128, 128),   // 1 desktop
    ColourValue::rgb(0, 0, 128),     // 2 active title
    ColourValue::rgb(128, 128, 128), // 3 inactive title
    ColourValue::rgb(192, 192, 192), // 4 menu
    ColourValue::rgb(255, 255, 255), // 5 window background
    ColourValue::rgb(0, 0, 0),       // 6 window frame
    ColourValue::rgb(0, 0, 0),       // 7 menu text
    ColourValue::rgb(0, 0, 0),       // 8 window text
    ColourValue::rgb(255, 255, 255), // 9 active title text
    ColourValue::rgb(192, 192, 192), // 10 active border
    ColourValue::rgb(192, 192, 192), // 11 inactive border
    ColourValue::rgb(128, 128, 128), // 12 application workspace
    ColourValue::rgb(0, 0, 128),     // 13 highlight
    ColourValue::rgb(255, 255, 255), // 14 highlight text
    ColourValue::rgb(192, 192, 192), // 15 button face
    ColourValue::rgb(128, 128, 128), // 16 button shadow
    ColourValue::rgb(128, 128, 128), // 17 grey text
    ColourValue::rgb(0, 0, 0),       // 18 button text
    ColourValue::rgb(192, 192, 192), // 19 inactive title text
    ColourValue::rgb(255, 255, 255), // 20 button highlight
    ColourValue::rgb(0, 0, 0),       // 21 3-D dark shadow
    ColourValue::rgb(223, 223, 223), // 22 3-D light
    ColourValue::rgb(0, 0, 0),       // 23 tooltip text
    ColourValue::rgb(255, 255, 225), // 24 tooltip background
};
} // namespace

ColourValue standardSystemColour(int index) {
    if (index < 0 || index >= int(StandardScheme.size()))
        return ColourValue::rgb(0, 0, 0);
    return StandardScheme[std::size_t(index)];
}

ColourValue ColourValue::toRgb() const {
    return isSystem() ? resolveSystemColour(systemIndex()) : ColourValue(raw_ & 0xFFFFFF);
}

std::uint32_t ColourValue::toArgb() const {
    const ColourValue c = toRgb();
    return argbFromRgb(c.red(), c.green(), c.blue());
}

} // namespace pismolot
