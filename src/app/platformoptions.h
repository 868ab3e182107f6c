#pragma once

#include <string>
#include <vector>

// Options for Qt's platform, chosen before QApplication starts.
//
// Qt's Windows platform darkens the title bars when Windows' app mode is dark
// (its darkmode option, on by default for the frames), while the windows
// themselves keep the classic system colours: light windows under dark
// frames. The program asks for darkmode=0 unless the user chose a dark mode
// through QT_QPA_PLATFORM or -platform.
namespace platformoptions {

// The platform string ("windows:fontengine=freetype", or a list of
// them split by ';') with darkmode=0 added to each windows entry that names
// no darkmode; other platforms' entries are kept as they are.
std::string withLightFrames(const std::string& platform);

// The command line for QApplication: `args` (the program first) with the
// platform the user chose, through the last "-platform" argument, else
// `environment` (QT_QPA_PLATFORM), else `fallback` (the build's default),
// made to keep light frames. The user's words are kept where they need no
// change.
std::vector<std::string> lightFrameArguments(std::vector<std::string> args,
                                             const std::string& environment,
                                             const std::string& fallback);

// `args` as this platform's Qt is to get them: lightFrameArguments on
// Windows, unchanged elsewhere.
std::vector<std::string> forThisPlatform(std::vector<std::string> args);

// The command line the program hands QApplication (forThisPlatform), as argc
// and argv that live as long as this object.
class Arguments {
public:
    Arguments(int argc, char** argv);
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;

    int& argc() { return argc_; }
    char** argv() { return pointers_.data(); }

private:
    std::vector<std::string> words_;
    std::vector<char*> pointers_;
    int argc_ = 0;
};

} // namespace platformoptions
