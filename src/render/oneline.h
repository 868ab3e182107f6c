#pragma once

#include <QString>

namespace pismolot {

// The text as a one-line text box shows it, which is what the picture draws:
// every line break (CR LF as one, CR, LF, VT, FF, NEL, U+2028, U+2029), tab
// and other C0 control character becomes one space. Text drawing would
// otherwise drop them, and words pasted on two lines would run together.
// When `cursor` is given, it is a position in `text` and is moved to the same
// place in the result.
QString shownOnOneLine(const QString& text, int* cursor = nullptr);

} // namespace pismolot
