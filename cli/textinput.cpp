#include "textinput.h"

#include <QFile>
#include <QStringDecoder>

#include <cstdio>

namespace pismolot::cli {

namespace {

constexpr QByteArrayView Bom("\xEF\xBB\xBF");

bool isLineBreak(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

QString escaped(const QString& text, bool quotes) {
    QString out;
    out.reserve(text.size() + 2);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (quotes && (u == u'\\' || u == u'"')) {
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

std::optional<qsizetype> invalidUtf8Offset(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned lead = p[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int continuation = 0;
        unsigned low = 0x80, high = 0xBF; // allowed range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            continuation = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            continuation = 2;
            if (lead == 0xE0)
                low = 0xA0; // overlong
            else if (lead == 0xED)
                high = 0x9F; // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            continuation = 3;
            if (lead == 0xF0)
                low = 0x90; // overlong
            else if (lead == 0xF4)
                high = 0x8F; // above U+10FFFF
        } else {
            return i;
        }
        if (i + continuation >= n)
            return i;
        if (p[i + 1] < low || p[i + 1] > high)
            return i;
        for (int k = 2; k <= continuation; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return i;
        }
        i += continuation + 1;
    }
    return std::nullopt;
}

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
    bool opened = false;
    if (standardInput) {
        opened = file.open(stdin, QIODevice::ReadOnly, QFileDevice::DontCloseHandle);
    } else {
        file.setFileName(path);
        opened = file.open(QIODevice::ReadOnly);
    }
    if (!opened)
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

ArgumentsResult decodeArguments(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView bytes(argv[i]);
        if (const auto bad = invalidUtf8Offset(bytes))
            return {
                std::nullopt,
                QStringLiteral("argument %1 is not valid UTF-8 (byte offset %2)").arg(i).arg(*bad)};
        arguments << fromUtf8(bytes);
    }
    return {std::move(arguments), {}};
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
    if (const auto offset = invalidUtf8Offset(bytes))
        return bad(QStringLiteral("invalid UTF-8 at byte offset %1 of the line").arg(*offset));
    const qsizetype tab = bytes.indexOf('\t');
    if (tab < 0)
        return bad(QStringLiteral("no tab between OUTPUT and TEXT"));
    line.output = fromUtf8(bytes.first(tab));
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
