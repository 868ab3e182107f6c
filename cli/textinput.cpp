#include "textinput.h"

#include "console.h"

#include <QFile>
#include <QStringDecoder>

#include <cstdio>
#include <utility>

namespace pismolot::cli {

namespace {

constexpr QByteArrayView Bom("\xEF\xBB\xBF");

bool isLineBreak(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

QString escaped(const QString& text, bool quotes) {
    QString out;
    out.reserve(text.size() + 2);
    QChar previous;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const auto byte = escapedByte(std::exchange(previous, c), c);
        if (byte) {
            // A byte of a file name that is no UTF-8, as the shell writes it.
            out += QStringLiteral("\\x%1").arg(uint(*byte), 2, 16, QLatin1Char('0'));
        } else if (quotes && (u == u'\\' || u == u'"')) {
            out += QLatin1Char('\\');
            out += c;
        } else if (u == u'\n') {
            out += QLatin1String("\\n");
        } else if (u == u'\r') {
            out += QLatin1String("\\r");
        } else if (u == u'\t') {
            out += QLatin1String("\\t");
        } else if (u < 0x20 || (u >= 0x7F && u < 0xA0) || u == 0x2028 || u == 0x2029) {
            // Terminal controls and the Unicode line separators would break
            // the line or drive the terminal.
            out += QStringLiteral("\\u%1").arg(uint(u), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

QString fromUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

QString quoted(const QString& name) {
    return QLatin1Char('"') + escaped(name, true) + QLatin1Char('"');
}

QString oneLine(const QString& message) {
    return escaped(message, false);
}

QString lineProblem(const QString& text) {
    for (const QChar c : text) {
        if (isLineBreak(c))
            return QStringLiteral("the text must be one line: it holds a line break");
        if (c.unicode() == 0)
            return QStringLiteral("the text holds a NUL character");
    }
    return {};
}

TextResult decodeTextFile(QByteArrayView bytes) {
    if (const auto bad = invalidUtf8Offset(bytes))
        return {std::nullopt, QStringLiteral("invalid UTF-8 at byte offset %1").arg(*bad)};
    if (bytes.startsWith(Bom))
        bytes = bytes.sliced(Bom.size());
    if (bytes.endsWith("\r\n"))
        bytes.chop(2);
    else if (bytes.endsWith('\n') || bytes.endsWith('\r'))
        bytes.chop(1);
    QString text = fromUtf8(bytes);
    if (const QString problem = lineProblem(text); !problem.isEmpty())
        return {std::nullopt, problem};
    return {std::move(text), {}};
}

TextResult readTextFile(const QString& path) {
    const bool standardInput = path == QLatin1String("-");
    const QString name = standardInput ? QStringLiteral("standard input") : quoted(path);
    QFile file;
    QString why;
    const int fd = standardInput ? console::StandardInput : console::openToRead(path, &why);
    if (fd < 0)
        return {std::nullopt, QStringLiteral("cannot read %1: %2").arg(name, why)};
    if (!file.open(fd, QIODevice::ReadOnly,
                   standardInput ? QFileDevice::DontCloseHandle : QFileDevice::AutoCloseHandle))
        return {std::nullopt, QStringLiteral("cannot read %1: %2").arg(name, file.errorString())};
    // Read until the end (a pipe gives its bytes in pieces), refusing more
    // than a text can sensibly be.
    QByteArray bytes;
    char chunk[65536];
    for (;;) {
        const qint64 n = file.read(chunk, sizeof chunk);
        if (n < 0)
            return {std::nullopt,
                    QStringLiteral("cannot read %1: %2").arg(name, file.errorString())};
        if (n == 0)
            break;
        if (bytes.size() + n > MaxTextBytes)
            return {std::nullopt, QStringLiteral("%1 is larger than %2 bytes, too long for one "
                                                 "line of text")
                                      .arg(name)
                                      .arg(MaxTextBytes)};
        bytes.append(chunk, n);
    }
    TextResult result = decodeTextFile(bytes);
    if (!result.text)
        result.error = QStringLiteral("text file %1: %2").arg(name, result.error);
    return result;
}

QStringList decodeArguments(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << decodeFileName(argv[i]);
    return arguments;
}

std::optional<qsizetype> argumentUtf8Offset(const QString& argument) {
    for (qsizetype i = 0; i < argument.size(); ++i) {
        if (escapedByte(i > 0 ? argument[i - 1] : QChar(), argument[i]))
            return invalidUtf8Offset(encodeFileName(argument));
    }
    return std::nullopt;
}

BatchLine parseBatchLine(QByteArrayView bytes, bool first) {
    BatchLine line;
    auto bad = [&](const QString& error) {
        line.kind = BatchLine::Kind::Bad;
        line.error = error;
        return line;
    };
    if (first && bytes.startsWith(Bom))
        bytes = bytes.sliced(Bom.size());
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    if (bytes.isEmpty() || bytes.startsWith('#'))
        return line;
    // OUTPUT is a file name, any bytes; TEXT is UTF-8.
    const qsizetype tab = bytes.indexOf('\t');
    if (tab < 0) {
        if (const auto offset = invalidUtf8Offset(bytes))
            return bad(QStringLiteral("invalid UTF-8 at byte offset %1 of the line").arg(*offset));
        return bad(QStringLiteral("no tab between OUTPUT and TEXT"));
    }
    if (const auto offset = invalidUtf8Offset(bytes.sliced(tab + 1)))
        return bad(
            QStringLiteral("invalid UTF-8 at byte offset %1 of the line").arg(tab + 1 + *offset));
    line.output = decodeFileName(bytes.first(tab));
    line.text = fromUtf8(bytes.sliced(tab + 1));
    if (line.output.isEmpty())
        return bad(QStringLiteral("empty OUTPUT before the tab"));
    if (line.text.isEmpty())
        return bad(QStringLiteral("empty TEXT after the tab"));
    if (const QString problem = lineProblem(line.text); !problem.isEmpty())
        return bad(problem);
    line.kind = BatchLine::Kind::Picture;
    return line;
}

} // namespace pismolot::cli
