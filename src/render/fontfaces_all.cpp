// FreeType, behind Qt's text drawing on Linux, draws every font that
// fontconfig lists, colour bitmap ones included.
#include "fonts.h"

namespace pismolot {

bool platformDrawsFamily(const QString& /*family*/) {
    return true;
}

} // namespace pismolot
