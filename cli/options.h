#pragma once

#include "backend.h"
#include "render/job.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace pismolot::cli {

enum class Action { Render, Batch, Help, Version, ListStyles, ListFonts, ListFormats };

struct Options {
    Action action = Action::Render;
    EffectSettings settings; // the text is TEXT's; with --text-file it is read later
    bool fontGiven = false;  // otherwise the default sans-serif family
    QString output = QStringLiteral("pismolot.bmp"); // "-" is standard output
    ImageFormat format = ImageFormat::Bmp;           // of `output`, for a single picture
    std::optional<ImageFormat> forcedFormat;         // --format
    QString textFile;                                // --text-file, "-" standard input
    QString batchFile;                               // --batch, "-" standard input
    bool transparent = false;
    int jobs = 0; // --jobs; 0 is the number of processors
    QSize screen{1920, 1080};
    int dpi = 96;
};

struct ParseResult {
    std::optional<Options> options; // empty when the arguments are bad
    QString error;                  // one line, for standard error
};

// Whether this build can write a format; injected so that a missing WebP
// plugin can be tested where it is installed.
using FormatAvailable = std::function<bool(ImageFormat)>;

// Reads the command line (without the program name). Needs no application
// object: Qt must not see arguments such as --style.
ParseResult parseArguments(const QStringList& args,
                           const FormatAvailable& available = formatAvailable);

// The format a picture written to `output` takes: `forced` when given,
// otherwise the name's extension (case-insensitive; none is BMP, standard
// output is BMP). With `transparent`, only formats with alpha.
struct FormatResult {
    std::optional<ImageFormat> format;
    QString error; // one line
};
FormatResult chooseFormat(const QString& output, std::optional<ImageFormat> forced,
                          bool transparent, const FormatAvailable& available);

// "bmp", "png", "jpg", "ppm", "webp": the names --format takes.
QString formatName(ImageFormat format);
// The format of a --format value: any of its extensions, in any case ("jpeg" too).
std::optional<ImageFormat> formatNamed(const QString& name);
inline constexpr const auto& AllFormats = AllImageFormats;

// Every long option name the parser knows, for documentation checks.
QStringList optionNames();

QString usage();

inline constexpr int MinDpi = 24;
inline constexpr int MaxDpi = 1440;
inline constexpr int MaxScreenSide = 16384;
inline constexpr int MaxJobs = 256;

} // namespace pismolot::cli
