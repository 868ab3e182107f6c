#include "options.h"

#include "render/styles.h"

#include <QRegularExpression>

#include <cmath>

namespace pismolot::cli {

namespace {

std::optional<int> parseStyle(const QString& value) {
    bool ok = false;
    const int index = value.toInt(&ok);
    if (ok)
        return index >= 0 && index < StyleCount ? std::optional<int>(index) : std::nullopt;
    for (int i = 0; i < StyleCount; ++i) {
        if (value == styleName(i))
            return i;
    }
    return std::nullopt;
}

std::optional<ColourValue> parseColour(QString value) {
    if (value.startsWith(QLatin1Char('#')))
        value.remove(0, 1);
    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{6}$"));
    if (!hex.match(value).hasMatch())
        return std::nullopt;
    const uint rgb = value.toUInt(nullptr, 16);
    return ColourValue::rgb(int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF));
}

std::optional<QSize> parseScreen(const QString& value) {
    static const QRegularExpression form(QStringLiteral("^(\\d{1,6})[xX](\\d{1,6})$"));
    const auto m = form.match(value);
    if (!m.hasMatch())
        return std::nullopt;
    const int w = m.captured(1).toInt();
    const int h = m.captured(2).toInt();
    if (w < 1 || h < 1 || w > MaxScreenSide || h > MaxScreenSide)
        return std::nullopt;
    return QSize(w, h);
}

} // namespace

bool wantsPng(const QString& output) {
    return output.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
}

ParseResult parseArguments(const QStringList& args) {
    Options o;
    std::optional<QString> text;
    auto bad = [](const QString& message) { return ParseResult{std::nullopt, message}; };

    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        QString name = arg;
        std::optional<QString> inlineValue;
        if (arg.startsWith(QStringLiteral("--")) && arg.contains(QLatin1Char('='))) {
            name = arg.section(QLatin1Char('='), 0, 0);
            inlineValue = arg.section(QLatin1Char('='), 1);
        }
        auto value = [&]() -> std::optional<QString> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        };
        auto missing = [&] { return bad(QStringLiteral("option %1 needs a value").arg(name)); };

        if (name == QStringLiteral("--")) {
            if (i + 1 < args.size() && !text && i + 2 == args.size()) {
                text = args[i + 1];
                break;
            }
            return bad(QStringLiteral("exactly one TEXT may follow --"));
        } else if (name == QStringLiteral("-h") || name == QStringLiteral("--help")) {
            o.action = Action::Help;
        } else if (name == QStringLiteral("--version")) {
            o.action = Action::Version;
        } else if (name == QStringLiteral("--list-styles")) {
            o.action = Action::ListStyles;
        } else if (name == QStringLiteral("--list-fonts")) {
            o.action = Action::ListFonts;
        } else if (name == QStringLiteral("--bold")) {
            o.settings.font.bold = true;
        } else if (name == QStringLiteral("--italic")) {
            o.settings.font.italic = true;
        } else if (name == QStringLiteral("--underline")) {
            o.settings.font.underline = true;
        } else if (name == QStringLiteral("-o") || name == QStringLiteral("--output")) {
            const auto v = value();
            if (!v || v->isEmpty())
                return missing();
            o.output = *v;
        } else if (name == QStringLiteral("--font")) {
            const auto v = value();
            if (!v || v->isEmpty())
                return missing();
            o.settings.font.name = *v;
            o.fontGiven = true;
        } else if (name == QStringLiteral("--size")) {
            const auto v = value();
            if (!v)
                return missing();
            bool ok = false;
            const double size = v->toDouble(&ok);
            if (!ok || !(size > 0) || size > MaxFontPoints)
                return bad(QStringLiteral("size not accepted: %1 (above 0 and at most 2048 points)")
                               .arg(*v));
            o.settings.font.size = float(size);
        } else if (name == QStringLiteral("--style")) {
            const auto v = value();
            if (!v)
                return missing();
            const auto style = parseStyle(*v);
            if (!style)
                return bad(QStringLiteral("unknown style: %1 (0-12 or a name from --list-styles)")
                               .arg(*v));
            o.settings.styleIndex = std::int16_t(*style);
        } else if (name == QStringLiteral("--background")) {
            const auto v = value();
            if (!v)
                return missing();
            const auto colour = parseColour(*v);
            if (!colour)
                return bad(QStringLiteral("malformed colour: %1 (use #RRGGBB or RRGGBB)").arg(*v));
            o.settings.background = *colour;
        } else if (name == QStringLiteral("--screen")) {
            const auto v = value();
            if (!v)
                return missing();
            const auto screen = parseScreen(*v);
            if (!screen)
                return bad(QStringLiteral("malformed --screen: %1 (WxH, each 1 to %2)")
                               .arg(*v)
                               .arg(MaxScreenSide));
            o.screen = *screen;
        } else if (name == QStringLiteral("--dpi")) {
            const auto v = value();
            if (!v)
                return missing();
            bool ok = false;
            const int dpi = v->toInt(&ok);
            if (!ok || dpi < MinDpi || dpi > MaxDpi)
                return bad(QStringLiteral("malformed --dpi: %1 (a whole number from %2 to %3)")
                               .arg(*v)
                               .arg(MinDpi)
                               .arg(MaxDpi));
            o.dpi = dpi;
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            return bad(QStringLiteral("unknown option: %1").arg(arg));
        } else {
            if (text)
                return bad(QStringLiteral("only one TEXT may be given (quote it): %1").arg(arg));
            text = arg;
        }
    }

    if (o.action != Action::Render)
        return {o, {}};
    if (!text)
        return bad(QStringLiteral("missing TEXT (see --help)"));
    if (text->contains(QLatin1Char('\n')) || text->contains(QLatin1Char('\r')))
        return bad(QStringLiteral("TEXT must be one line: it holds a line break"));
    o.settings.text = *text;
    return {o, {}};
}

QString usage() {
    return QStringLiteral(
        "Usage: pismolot-render [options] TEXT\n"
        "Renders TEXT as a coloured text picture, as Pismolot does, without a display.\n"
        "\n"
        "  -o, --output FILE     where to write (default pismolot.bmp); a name ending in .png\n"
        "                        (any case) gives PNG, every other name a 24-bit BMP\n"
        "  --font NAME           font family (default: the platform's default sans-serif family)\n"
        "  --size POINTS         font size in points (default 24); above 0 and at most 2048\n"
        "  --bold, --italic, --underline\n"
        "  --style N|NAME        letter style index 0-12, or its exact Polish name (default 0)\n"
        "  --background COLOUR   #RRGGBB or RRGGBB (default: the editor's starting colour)\n"
        "  --screen WxH          size in pixels of the screen, the scratch surface and the\n"
        "                        output surface (default 1920x1080)\n"
        "  --dpi N               logical dots per inch (default 96, that is 15 twips per pixel)\n"
        "  --list-styles         print index<TAB>name of every letter style\n"
        "  --list-fonts          print the font families, as the editor's font list orders them\n"
        "  --help, --version\n"
        "\n"
        "Exit status: 0 written, 1 nothing could be written, 2 bad arguments.\n");
}

} // namespace pismolot::cli
