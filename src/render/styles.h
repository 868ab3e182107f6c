#pragma once

#include "colour.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <string_view>

namespace pismolot {

inline constexpr int StyleCount = 13;
inline constexpr int RandomStripesStyle = 7;

// The names of the letter styles, UTF-8, in list order: a name's position is
// its style index.
extern const std::array<std::string_view, StyleCount> StyleNames;

// The same names as Qt strings: one name (empty outside 0..12), and all of them.
QString styleName(int style);
QStringList styleNameList();

// The one source of random numbers of the program: uniform in [0, 1), single
// precision, always starting from the same state, so every program start
// repeats the same stripes.
class StyleRandom {
public:
    float next();

private:
    std::uint32_t state_ = 0x2F6B3A1Du;
};

// The process-wide generator that the render job draws from.
StyleRandom& styleRandom();

// Row colour of letter style `style` (0..12) at row level g (0..255).
// "Losowe kreski" ignores g and draws three numbers (red, green, blue) from
// `random`; no other style draws. An index outside 0..12 gives black.
ColourValue styleColour(int style, int g, StyleRandom& random);

} // namespace pismolot
