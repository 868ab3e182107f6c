// Qt's other platforms draw no dark frames of their own: the command line
// goes to QApplication as it came.
#include "app/platformoptions.h"

namespace platformoptions {

std::vector<std::string> forThisPlatform(std::vector<std::string> args) {
    return args;
}

} // namespace platformoptions
