// Light frames on Qt's Windows platform. The arguments, not QT_QPA_PLATFORM,
// carry the option, so programs that this one starts (the browser, the mail
// program) inherit nothing of it. Qt then builds arguments() from the argv it
// is given instead of the wide command line; the program takes no arguments
// beyond Qt's own, so no name of the user's is narrowed.
#include "app/platformoptions.h"

#include <QString>

namespace platformoptions {

std::vector<std::string> forThisPlatform(std::vector<std::string> args) {
    return lightFrameArguments(std::move(args),
                               qEnvironmentVariable("QT_QPA_PLATFORM").toStdString(), "windows");
}

} // namespace platformoptions
