#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

namespace pismolot {

// Reads a text as a number the way every input box of the program does:
// blanks, tabs and line feeds are skipped wherever they stand; then an
// optional sign, digits, at most one decimal point and an optional exponent
// (E or D, optional sign, digits). Reading stops at the first character that
// cannot continue the number. "&H..." and "&O..." are hexadecimal and octal
// integers. A text with no number reads 0. Overflow gives ±infinity.
double readNumber(std::u16string_view text);

// Rounds half to even (20.5 -> 20, 21.5 -> 22), the rule for every
// float-to-integer conversion. Values beyond Int's range saturate; NaN gives 0.
template <class Int> constexpr Int roundHalfEven(double x) {
    if (x != x)
        return 0;
    constexpr double lo = double(std::numeric_limits<Int>::min());
    constexpr double hi = double(std::numeric_limits<Int>::max());
    if (x <= lo)
        return std::numeric_limits<Int>::min();
    if (x >= hi)
        return std::numeric_limits<Int>::max();
    double r = std::floor(x);
    const double frac = x - r;
    if (frac > 0.5 || (frac == 0.5 && std::fmod(r, 2.0) != 0.0))
        r += 1.0;
    return Int(r);
}

} // namespace pismolot
