#include "app/platformoptions.h"

#include <string_view>

namespace platformoptions {

namespace {

std::vector<std::string_view> split(std::string_view text, char at) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t end = text.find(at);
        parts.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            return parts;
        text.remove_prefix(end + 1);
    }
}

// Qt finds its Windows platform by the exact key "windows".
bool isWindowsEntry(std::string_view entry) {
    return split(entry, ':').front() == "windows";
}

bool entryNamesDarkMode(std::string_view entry) {
    const std::vector<std::string_view> parts = split(entry, ':');
    for (std::size_t i = 1; i < parts.size(); ++i)
        if (parts[i].starts_with("darkmode="))
            return true;
    return false;
}

bool isPlatformOption(std::string_view arg) {
    return arg == "-platform" || arg == "--platform";
}

} // namespace

std::string withLightFrames(const std::string& platform) {
    std::string result;
    bool first = true;
    for (std::string_view entry : split(platform, ';')) {
        if (!first)
            result += ';';
        first = false;
        result += entry;
        if (isWindowsEntry(entry) && !entryNamesDarkMode(entry))
            result += ":darkmode=0";
    }
    return result;
}

std::vector<std::string> lightFrameArguments(std::vector<std::string> args,
                                             const std::string& environment,
                                             const std::string& fallback) {
    // Qt takes the last -platform that has a value, wherever it stands.
    std::size_t chosen = 0;
    for (std::size_t i = 1; i + 1 < args.size(); ++i)
        if (isPlatformOption(args[i]))
            chosen = ++i;
    if (chosen) {
        args[chosen] = withLightFrames(args[chosen]);
        return args;
    }
    const std::string& platform = environment.empty() ? fallback : environment;
    const std::string light = withLightFrames(platform);
    if (light != platform) {
        // Right after the program's name, where Qt takes it out again.
        const auto at = args.empty() ? args.end() : args.begin() + 1;
        args.insert(at, {"-platform", light});
    }
    return args;
}

Arguments::Arguments(int argc, char** argv)
    : words_(forThisPlatform(std::vector<std::string>(argv, argv + argc))) {
    for (std::string& word : words_)
        pointers_.push_back(word.data());
    pointers_.push_back(nullptr);
    argc_ = int(words_.size());
}

} // namespace platformoptions
