#include "options.h"

#include "render/styles.h"
#include "textinput.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>

namespace pismolot::cli {

namespace {

struct OptionRule {
    QStringList names;
    QString valueName; // empty for a flag
};

const QList<OptionRule>& optionRules() {
    static const QList<OptionRule> rules = {
        {{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("FILE")},
        {{QStringLiteral("format")}, QStringLiteral("FORMAT")},
        {{QStringLiteral("transparent")}, {}},
        {{QStringLiteral("text-file")}, QStringLiteral("FILE")},
        {{QStringLiteral("batch")}, QStringLiteral("FILE")},
        {{QStringLiteral("jobs")}, QStringLiteral("N")},
        {{QStringLiteral("font")}, QStringLiteral("NAME")},
        {{QStringLiteral("size")}, QStringLiteral("POINTS")},
        {{QStringLiteral("bold")}, {}},
        {{QStringLiteral("italic")}, {}},
        {{QStringLiteral("underline")}, {}},
        {{QStringLiteral("style")}, QStringLiteral("STYLE")},
        {{QStringLiteral("background")}, QStringLiteral("COLOUR")},
        {{QStringLiteral("screen")}, QStringLiteral("WxH")},
        {{QStringLiteral("dpi")}, QStringLiteral("N")},
        {{QStringLiteral("list-styles")}, {}},
        {{QStringLiteral("list-fonts")}, {}},
        {{QStringLiteral("list-formats")}, {}},
        {{QStringLiteral("h"), QStringLiteral("help")}, {}},
        {{QStringLiteral("version")}, {}},
    };
    return rules;
}

// Whole-value patterns: a bare "$" would also match before a final line feed.
bool matchesWhole(const QString& value, const QString& pattern, QRegularExpressionMatch* match) {
    const QRegularExpression re(QRegularExpression::anchoredPattern(pattern));
    const QRegularExpressionMatch m = re.match(value);
    if (match)
        *match = m;
    return m.hasMatch();
}

std::optional<int> parseWhole(const QString& value, int low, int high) {
    if (!matchesWhole(value, QStringLiteral("[0-9]{1,9}"), nullptr))
        return std::nullopt;
    const int n = value.toInt();
    return n >= low && n <= high ? std::optional<int>(n) : std::nullopt;
}

// Above 0 and at most MaxFontPoints as the single-precision value the font
// is given, so that 1e-50 (0 as a float) is refused.
std::optional<float> parseSize(const QString& value) {
    if (!matchesWhole(value,
                      QStringLiteral("[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]{1,4})?"),
                      nullptr))
        return std::nullopt;
    bool ok = false;
    const double wide = value.toDouble(&ok);
    const float size = float(wide);
    if (!ok || !std::isfinite(wide) || !(size > 0) || size > MaxFontPoints)
        return std::nullopt;
    return size;
}

// The largest size in hundredths of a point that the font engine draws at
// `dpi`, for the message that refuses a larger one.
double largestDrawableSize(int dpi) {
    double points = std::floor(double(maxPixelsPerEm()) * 72.0 / dpi * 100.0) / 100.0;
    while (points > 0.01 && !sizeDrawable(float(points), dpi))
        points -= 0.01;
    return std::min(points, double(MaxFontPoints));
}

std::optional<int> parseStyle(const QString& value) {
    if (matchesWhole(value, QStringLiteral("[0-9]{1,3}"), nullptr)) {
        const int index = value.toInt();
        return index < StyleCount ? std::optional<int>(index) : std::nullopt;
    }
    const int index = int(styleNameList().indexOf(value));
    return index >= 0 ? std::optional<int>(index) : std::nullopt;
}

std::optional<ColourValue> parseColour(const QString& value) {
    QRegularExpressionMatch m;
    if (!matchesWhole(value, QStringLiteral("#?([0-9A-Fa-f]{6})"), &m))
        return std::nullopt;
    const uint rgb = m.captured(1).toUInt(nullptr, 16);
    return ColourValue::rgb(int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF));
}

std::optional<QSize> parseScreen(const QString& value) {
    QRegularExpressionMatch m;
    if (!matchesWhole(value, QStringLiteral("([0-9]{1,6})[xX]([0-9]{1,6})"), &m))
        return std::nullopt;
    const int w = m.captured(1).toInt();
    const int h = m.captured(2).toInt();
    if (w < 1 || h < 1 || w > MaxScreenSide || h > MaxScreenSide)
        return std::nullopt;
    return QSize(w, h);
}

// Qt's parser writes sentences ("Unknown option 'x'."); this program's
// messages, as most Unix tools' are, start in lower case without a full stop.
QString parserMessage(QString text) {
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

// Whether a picture in the format can leave its background out.
bool hasAlpha(ImageFormat format) {
    return format == ImageFormat::Png || format == ImageFormat::Webp || isVectorFormat(format);
}

} // namespace

QString formatName(ImageFormat format) {
    return formatExtensions(format).constFirst().mid(1);
}

std::optional<ImageFormat> formatNamed(const QString& name) {
    return formatOfExtension(name);
}

FormatResult chooseFormat(const QString& output, std::optional<ImageFormat> forced,
                          bool transparent, const FormatAvailable& available) {
    ImageFormat format = ImageFormat::Bmp;
    if (forced) {
        format = *forced;
    } else if (output != QLatin1String("-")) {
        format = formatForFileName(output, ImageFormat::Bmp);
        // Unlike the save dialog, which falls back to its filter, the
        // renderer refuses an extension that names no format: a script's
        // "out.gif" must not silently become BMP.
        const QString suffix = QFileInfo(output).suffix();
        if (!suffix.isEmpty() && !formatOfExtension(suffix))
            return {std::nullopt, QStringLiteral("unknown format %1; use --format")
                                      .arg(oneLine(QLatin1Char('.') + suffix))};
    }
    if (!available(format))
        return {std::nullopt,
                QStringLiteral("this build cannot write %1: Qt's image plugin for it is missing")
                    .arg(formatTitle(format))};
    if (transparent && !hasAlpha(format))
        return {std::nullopt,
                QStringLiteral("--transparent needs PNG, WebP, SVG or PDF, and %1 is %2")
                    .arg(output == QLatin1String("-") ? QStringLiteral("standard output")
                                                      : quoted(output),
                         formatTitle(format))};
    return {format, {}};
}

QStringList optionNames() {
    QStringList names;
    for (const OptionRule& option : optionRules())
        names << option.names.constLast();
    return names;
}

ParseResult parseArguments(const QStringList& args, const FormatAvailable& available) {
    auto bad = [](const QString& message) { return ParseResult{std::nullopt, oneLine(message)}; };

    QCommandLineParser parser;
    for (const OptionRule& option : optionRules())
        parser.addOption(QCommandLineOption(option.names, QString(), option.valueName));
    if (!parser.parse(QStringList{QStringLiteral("pismolot-render")} + args))
        return bad(parserMessage(parser.errorText()) + QStringLiteral(" (see --help)"));

    Options o;
    auto set = [&](const char* name) { return parser.isSet(QLatin1String(name)); };
    auto value = [&](const char* name) { return parser.value(QLatin1String(name)); };

    // A request for information wins over everything else on the line.
    const std::pair<const char*, Action> requests[] = {
        {"help", Action::Help},
        {"version", Action::Version},
        {"list-styles", Action::ListStyles},
        {"list-fonts", Action::ListFonts},
        {"list-formats", Action::ListFormats},
    };
    for (const auto& [name, action] : requests) {
        if (set(name)) {
            o.action = action;
            return {o, {}};
        }
    }

    // File names keep their bytes; every other value is text, and UTF-8.
    for (const OptionRule& option : optionRules()) {
        const QString& name = option.names.constLast();
        if (name == QLatin1String("output") || name == QLatin1String("text-file") ||
            name == QLatin1String("batch"))
            continue;
        for (const QString& v : parser.values(name)) {
            if (const auto offset = argumentUtf8Offset(v))
                return bad(QStringLiteral("the value of --%1 is not valid UTF-8 (byte offset %2)")
                               .arg(name)
                               .arg(*offset));
        }
    }
    for (const QString& text : parser.positionalArguments()) {
        if (const auto offset = argumentUtf8Offset(text))
            return bad(QStringLiteral("TEXT is not valid UTF-8 (byte offset %1)").arg(*offset));
    }

    auto nonEmpty = [&](const char* name, const char* what,
                        QString& into) -> std::optional<ParseResult> {
        if (!set(name))
            return std::nullopt;
        into = value(name);
        if (into.isEmpty())
            return bad(QStringLiteral("option --%1 needs %2")
                           .arg(QLatin1String(name), QLatin1String(what)));
        return std::nullopt;
    };
    if (auto r = nonEmpty("output", "a file name (or - for standard output)", o.output))
        return *r;
    if (auto r = nonEmpty("text-file", "a file name (or - for standard input)", o.textFile))
        return *r;
    if (auto r = nonEmpty("batch", "a file name (or - for standard input)", o.batchFile))
        return *r;
    if (auto r = nonEmpty("font", "a font family name", o.settings.font.name))
        return *r;
    o.fontGiven = set("font");
    o.transparent = set("transparent");
    o.settings.font.bold = set("bold");
    o.settings.font.italic = set("italic");
    o.settings.font.underline = set("underline");

    if (set("format")) {
        o.forcedFormat = formatNamed(value("format"));
        if (!o.forcedFormat)
            return bad(QStringLiteral("unknown --format: %1 (bmp, png, jpg, ppm, webp, svg or pdf)")
                           .arg(quoted(value("format"))));
    }
    if (set("jobs")) {
        const auto jobs = parseWhole(value("jobs"), 1, MaxJobs);
        if (!jobs)
            return bad(QStringLiteral("malformed --jobs: %1 (a whole number from 1 to %2)")
                           .arg(quoted(value("jobs")))
                           .arg(MaxJobs));
        o.jobs = *jobs;
    }
    if (set("size")) {
        const auto size = parseSize(value("size"));
        if (!size)
            return bad(QStringLiteral("size not accepted: %1 (above 0 and at most %2 points)")
                           .arg(quoted(value("size")))
                           .arg(double(MaxFontPoints)));
        o.settings.font.size = *size;
    }
    if (set("style")) {
        const auto style = parseStyle(value("style"));
        if (!style)
            return bad(QStringLiteral("unknown style: %1 (0-12 or a name from --list-styles)")
                           .arg(quoted(value("style"))));
        o.settings.styleIndex = std::int16_t(*style);
    }
    if (set("background")) {
        const auto colour = parseColour(value("background"));
        if (!colour)
            return bad(QStringLiteral("malformed colour: %1 (use #RRGGBB or RRGGBB)")
                           .arg(quoted(value("background"))));
        o.settings.background = *colour;
    }
    if (set("screen")) {
        const auto screen = parseScreen(value("screen"));
        if (!screen)
            return bad(QStringLiteral("malformed --screen: %1 (WxH, each 1 to %2)")
                           .arg(quoted(value("screen")))
                           .arg(MaxScreenSide));
        o.screen = *screen;
    }
    if (set("dpi")) {
        const auto dpi = parseWhole(value("dpi"), MinDpi, MaxDpi);
        if (!dpi)
            return bad(QStringLiteral("malformed --dpi: %1 (a whole number from %2 to %3)")
                           .arg(quoted(value("dpi")))
                           .arg(MinDpi)
                           .arg(MaxDpi));
        o.dpi = *dpi;
    }
    if (!sizeDrawable(o.settings.font.size, o.dpi))
        return bad(
            QStringLiteral("size %1 pt is too large at %2 dpi: the font engine draws at most "
                           "%3 pixels per em (size x dpi / 72), that is %4 pt here")
                .arg(double(o.settings.font.size))
                .arg(o.dpi)
                .arg(maxPixelsPerEm())
                .arg(largestDrawableSize(o.dpi)));

    const QStringList texts = parser.positionalArguments();
    if (texts.size() > 1)
        return bad(
            QStringLiteral("only one TEXT may be given (quote it): %1").arg(quoted(texts.at(1))));
    const bool textGiven = texts.size() == 1;

    if (set("batch")) {
        if (textGiven)
            return bad(QStringLiteral("--batch takes no TEXT: each line of the batch holds one"));
        if (set("text-file"))
            return bad(QStringLiteral("--batch and --text-file cannot be used together"));
        if (set("output"))
            return bad(QStringLiteral("--batch takes no --output: each line of the batch names "
                                      "its output"));
        o.action = Action::Batch;
        if (o.forcedFormat) {
            // Every line takes this format: refuse it once, here.
            const FormatResult f =
                chooseFormat(QStringLiteral("-"), o.forcedFormat, o.transparent, available);
            if (!f.format)
                return bad(f.error);
        } else if (o.transparent && !available(ImageFormat::Png) && !available(ImageFormat::Webp)) {
            return bad(QStringLiteral("--transparent needs PNG or WebP, and this build writes "
                                      "neither"));
        }
        return {o, {}};
    }

    if (set("text-file")) {
        if (textGiven)
            return bad(QStringLiteral("TEXT and --text-file cannot be used together"));
    } else {
        if (!textGiven)
            return bad(QStringLiteral("missing TEXT (see --help)"));
        o.settings.text = texts.constFirst();
        if (const QString problem = lineProblem(o.settings.text); !problem.isEmpty())
            return bad(QStringLiteral("TEXT: ") + problem);
    }
    const FormatResult f = chooseFormat(o.output, o.forcedFormat, o.transparent, available);
    if (!f.format)
        return bad(f.error);
    o.format = *f.format;
    return {o, {}};
}

QString usage() {
    return QStringLiteral(
        "Usage: pismolot-render [options] TEXT\n"
        "       pismolot-render [options] --text-file FILE\n"
        "       pismolot-render [options] --batch FILE\n"
        "Renders TEXT as a coloured text picture, as Pismolot does, without a display.\n"
        "A TEXT that starts with - goes after --: pismolot-render -- \"-5 stopni\"\n"
        "\n"
        "Output:\n"
        "  -o, --output FILE     where to write (default pismolot.bmp); - is standard\n"
        "                        output, which must not be a terminal\n"
        "  --format FORMAT       bmp, png, jpg, ppm, webp, svg or pdf (see\n"
        "                        --list-formats); without it the output name's\n"
        "                        extension decides, in any case: .bmp, .png, .jpg or\n"
        "                        .jpeg (quality 95), .ppm, .webp, .svg, .pdf; a name\n"
        "                        without an extension, and standard output, get BMP;\n"
        "                        SVG and PDF hold the letters as outlines, sharp at\n"
        "                        any size\n"
        "  --transparent         background pixels fully transparent (PNG, WebP), or\n"
        "                        no background shape (SVG, PDF)\n"
        "\n"
        "Text and look:\n"
        "  --text-file FILE      read the text from a UTF-8 file (- for standard input);\n"
        "                        one line, a final line break is dropped\n"
        "  --font NAME           font family from --list-fonts (default: the\n"
        "                        platform's sans-serif family); a name not installed\n"
        "                        is replaced, with a warning that names the family\n"
        "                        drawn\n"
        "  --size POINTS         font size in points (default 24); above 0, at most\n"
        "                        2048, and within the font engine's limit at the\n"
        "                        chosen dpi\n"
        "  --bold, --italic, --underline\n"
        "  --style STYLE         letter style index 0-12, or its exact Polish name from\n"
        "                        --list-styles (default 0)\n"
        "  --background COLOUR   #RRGGBB or RRGGBB (default: the editor's starting\n"
        "                        colour, the active title's text colour: white on\n"
        "                        Linux, the Windows colour scheme's own on Windows)\n"
        "  --screen WxH          size in pixels of the screen, the scratch surface and\n"
        "                        the output surface (default 1920x1080)\n"
        "  --dpi N               logical dots per inch, 24 to 1440 (default 96, that\n"
        "                        is 15 twips per pixel)\n"
        "\n"
        "Many pictures:\n"
        "  --batch FILE          one picture per line of FILE (- for standard input),\n"
        "                        each line OUTPUT<TAB>TEXT, rendered with the options\n"
        "                        above; empty lines and lines starting with # are\n"
        "                        skipped; a bad line is reported as LINE: message and\n"
        "                        the rest go on\n"
        "  --jobs N              threads for --batch, 1 to 256 (default: the number of\n"
        "                        processors); the pictures do not depend on it\n"
        "\n"
        "Information:\n"
        "  --list-styles         print index<TAB>name of every letter style\n"
        "  --list-fonts          print the font families, as the editor's font list\n"
        "                        shows them\n"
        "  --list-formats        print name<TAB>extensions of every format this build\n"
        "                        writes\n"
        "  -h, --help, --version\n"
        "\n"
        "File names are taken byte for byte; TEXT, batch texts and text files are\n"
        "UTF-8.\n"
        "On Windows, -o NUL writes nothing and a device name with an extension\n"
        "(nul.bmp, con.png) is refused; lists and messages reach a pipe as UTF-8,\n"
        "which PowerShell 5.1 reads after\n"
        "  [Console]::OutputEncoding = [Text.Encoding]::UTF8\n"
        "\n"
        "Examples:\n"
        "  pismolot-render --style \"Losowe kreski\" --size 72 --bold -o napis.bmp \\\n"
        "      \"Dzień dobry\"\n"
        "  pismolot-render --transparent --background 000000 -o logo.png \"Pismolot\"\n"
        "  pismolot-render --size 480 -o plakat.svg \"Pismolot\"\n"
        "  pismolot-render --format png -o - \"Cześć\" | xclip -selection clipboard \\\n"
        "      -t image/png\n"
        "  awk '{ print $0 \".png\\t\" $0 }' names.txt | pismolot-render --style 7 --batch -\n"
        "\n"
        "Exit status: 0 written (with --batch: every picture), 1 not everything could be\n"
        "written, 2 bad arguments (one line on standard error).\n");
}

} // namespace pismolot::cli
