#pragma once

// Text that reaches the renderer from outside: arguments, text files, batch
// lines; and names quoted for one-line messages.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

namespace pismolot::cli {

// The most bytes read as one text (a --text-file, a batch line): far wider
// than any screen, small enough to hold a few per thread.
inline constexpr qsizetype MaxTextBytes = qsizetype(1) << 20;

// The offset of the first byte at which `bytes` stops being valid UTF-8
// (overlong forms, surrogates and code points above U+10FFFF included), or
// nothing when all of it is valid.
std::optional<qsizetype> invalidUtf8Offset(QByteArrayView bytes);

// UTF-8 to a string, keeping a leading U+FEFF (QString::fromUtf8 drops it):
// only a file's first bytes are a byte-order mark.
QString fromUtf8(QByteArrayView bytes);

// `name` in double quotes, with backslashes, quotes and control characters
// escaped, so that any file name or value fits on one line of a message.
QString quoted(const QString& name);

// A message made safe to print as one line: control characters escaped
// (what quoted() leaves is unchanged).
QString oneLine(const QString& message);

// Why `text` cannot be one line of the picture (it holds a line break or a
// NUL), or an empty string.
QString lineProblem(const QString& text);

struct TextResult {
    std::optional<QString> text; // empty on failure
    QString error;               // one line
};

// The text of a text file: UTF-8, a byte-order mark dropped, one trailing
// line break dropped, otherwise exactly one line.
TextResult decodeTextFile(QByteArrayView bytes);

// Reads and decodes a text file; "-" is standard input.
TextResult readTextFile(const QString& path);

// The command line's arguments (without the program name) as strings, each
// of which must be valid UTF-8.
struct ArgumentsResult {
    std::optional<QStringList> arguments;
    QString error;
};
ArgumentsResult decodeArguments(int argc, const char* const* argv);

// One line of a batch file, without its line feed.
struct BatchLine {
    enum class Kind { Skip, Picture, Bad };
    Kind kind = Kind::Skip;
    QString output;
    QString text;
    QString error; // for Bad
};
// `first` drops a byte-order mark, as the first line of a file may start
// with one. A trailing carriage return (a CRLF file) is dropped.
BatchLine parseBatchLine(QByteArrayView bytes, bool first);

} // namespace pismolot::cli
