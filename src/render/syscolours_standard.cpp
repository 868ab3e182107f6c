// System colours where the desktop has no such palette (Linux): the
// standard scheme.
#include "colour.h"

namespace pismolot {

ColourValue resolveSystemColour(int index) {
    return standardSystemColour(index);
}

} // namespace pismolot
