// System colours on Windows: the user's own, read when asked, so that a
// changed scheme (a high-contrast theme, another title colour) shows.
#include "colour.h"

#include <windows.h>

namespace pismolot {

ColourValue resolveSystemColour(int index) {
    // COLOR_MENUBAR (30) is the highest number Windows knows.
    if (index < 0 || index > COLOR_MENUBAR)
        return ColourValue::rgb(0, 0, 0);
    const COLORREF colour = GetSysColor(index);
    return ColourValue::rgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

} // namespace pismolot
