// libFuzzer target: pismolot-render's option parser, text files, batch lines
// and the line reader, on input taken as NUL-separated arguments and as raw
// bytes. Every refusal must be one line; every acceptance must hold values
// the renderer can use.
#include "batch.h"
#include "options.h"
#include "textinput.h"

#include "render/styles.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using namespace pismolot;
using namespace pismolot::cli;

namespace {

void check(bool condition) {
    if (!condition)
        __builtin_trap();
}

bool oneLineOnly(const QString& text) {
    return std::none_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0) ||
               c.unicode() == 0x2028 || c.unicode() == 0x2029;
    });
}

bool holdsLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
           text.contains(QChar(0));
}

void fuzzArguments(const std::uint8_t* data, std::size_t size) {
    // Arguments separated by NUL, as the kernel hands them over.
    std::vector<std::string> parts(1, "pismolot-render");
    parts.emplace_back();
    for (std::size_t i = 1; i < size && parts.size() < 64; ++i) {
        if (data[i] == 0)
            parts.emplace_back();
        else
            parts.back().push_back(char(data[i]));
    }
    std::vector<const char*> argv;
    for (const std::string& part : parts)
        argv.push_back(part.c_str());
    const QStringList arguments = decodeArguments(int(argv.size()), argv.data());
    const bool webp = data[0] & 1;
    const ParseResult r = parseArguments(
        arguments, [webp](ImageFormat format) { return webp || format != ImageFormat::Webp; });
    if (!r.options) {
        check(!r.error.isEmpty() && oneLineOnly(r.error));
        return;
    }
    const Options& o = *r.options;
    check(o.settings.font.size > 0 && o.settings.font.size <= MaxFontPoints);
    check(o.dpi >= MinDpi && o.dpi <= MaxDpi);
    check(o.screen.width() >= 1 && o.screen.height() >= 1 && o.screen.width() <= MaxScreenSide &&
          o.screen.height() <= MaxScreenSide);
    check(o.settings.styleIndex >= 0 && o.settings.styleIndex < StyleCount);
    check(o.jobs >= 0 && o.jobs <= MaxJobs);
    check(!o.output.isEmpty());
    if (o.action == Action::Render) {
        check(!holdsLineBreak(o.settings.text));
        check(webp || o.format != ImageFormat::Webp);
        check(!o.transparent || o.format == ImageFormat::Png || o.format == ImageFormat::Webp ||
              isVectorFormat(o.format));
    }
}

void fuzzTexts(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const TextResult text = decodeTextFile(bytes);
    check(text.text.has_value() != !text.error.isEmpty());
    if (text.text)
        check(!holdsLineBreak(*text.text));
    else
        check(oneLineOnly(text.error));
    if (invalidUtf8Offset(bytes))
        check(!text.text && text.error.contains(QStringLiteral("UTF-8")));

    const BatchLine line = parseBatchLine(bytes, data[0] & 1);
    if (line.kind == BatchLine::Kind::Picture)
        check(!line.output.isEmpty() && !line.text.isEmpty() && !holdsLineBreak(line.text));
    if (line.kind == BatchLine::Kind::Bad)
        check(oneLineOnly(line.error));

    const QString name = fromUtf8(bytes);
    const QString q = quoted(name);
    check(oneLineOnly(q) && oneLine(q) == q);

    // The line reader gives the same lines whatever the pieces it reads.
    const qsizetype piece = 1 + data[0] % 17;
    qsizetype pos = 0;
    LineReader reader(
        [&](char* out, qint64 want) -> qint64 {
            const qsizetype n = std::min<qsizetype>({piece, qsizetype(want), bytes.size() - pos});
            std::memcpy(out, bytes.data() + pos, std::size_t(n));
            pos += n;
            return n;
        },
        64);
    QByteArray joined;
    bool tooLong = false;
    qint64 lines = 0;
    while (const auto next = reader.next(&tooLong)) {
        check(next->size() <= 64 && !next->contains('\n'));
        check(!tooLong || next->isEmpty());
        ++lines;
        if (!tooLong)
            joined += *next;
    }
    check(lines == reader.lineNumber());
    if (bytes.size() <= 64)
        check(joined == QByteArray(bytes.data(), bytes.size()).replace('\n', QByteArray()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    fuzzArguments(data, size);
    fuzzTexts(data, size);
    return 0;
}
