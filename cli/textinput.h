#pragma once

// Text that reaches the renderer from outside: arguments, text files, batch
// lines; and names quoted for one-line messages.

#include "render/filename.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

namespace pismolot::cli {

// The most bytes read as one text (a --text-file, a batch line): far wider
// than any screen, small enough to hold a few per thread.
inline constexpr qsizetype MaxTextBytes = qsizetype(1) << 20;

using pismolot::invalidUtf8Offset;
// The same for an argument from decodeArguments(): the offset, in its bytes,
// of the first that was no UTF-8.
std::optional<qsizetype> argumentUtf8Offset(const QString& argument);

// UTF-8 to a string, keeping a leading U+FEFF (QString::fromUtf8 drops it):
// only a file's first bytes are a byte-order mark.
QString fromUtf8(QByteArrayView bytes);

// `name` in double quotes, with backslashes, quotes and control characters
// escaped, and the bytes of a name that are no UTF-8 as \xFF, so that any
// file name or value fits on one line of a message.
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

// Reads and decodes a text file (its name as decodeFileName() gives it); "-"
// is standard input.
TextResult readTextFile(const QString& path);

// The command line's arguments (without the program name) as strings, each
// decoded as a file name is: file names keep their bytes, and other values
// are refused when they are no UTF-8.
QStringList decodeArguments(int argc, const char* const* argv);

// One line of a batch file, without its line feed.
struct BatchLine {
    enum class Kind { Skip, Picture, Bad };
    Kind kind = Kind::Skip;
    QString output; // as decodeFileName() gives it
    QString text;
    QString error; // for Bad
};
// `first` drops a byte-order mark, as the first line of a file may start
// with one. A trailing carriage return (a CRLF file) is dropped.
BatchLine parseBatchLine(QByteArrayView bytes, bool first);

} // namespace pismolot::cli
