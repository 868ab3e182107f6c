#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>

// The process's command line, its standard streams and the descriptors of
// open files, the same on POSIX systems and on Windows (console_posix.cpp,
// console_win.cpp).
namespace pismolot::cli::console {

inline constexpr int StandardInput = 0;
inline constexpr int StandardOutput = 1;
inline constexpr int StandardError = 2;

bool isTerminal(int fd);

// Whether the file `name` names (as decodeFileName() gives it) is a
// terminal, as /dev/stdout or /dev/tty can be. Creates nothing.
bool namesTerminal(const QString& name);

// Whether `name` is Windows' null device: a last part of exactly NUL, in any
// case. Never on Linux, where /dev/null is written through as any device is.
// A device name with an extension (nul.bmp) is not one: Windows 10 takes it
// as the device, Windows 11 as a file, so it is refused as a reserved name.
bool namesNullDevice(const QString& name);

// Opens a file to read, by a name as decodeFileName() gives it: the
// descriptor, or -1 with the reason in `error` (a folder is refused).
int openToRead(const QString& name, QString* error);

// Reads up to `size` bytes: the count, 0 at the end, -1 on an error.
// Interrupted reads are retried.
std::int64_t readSome(int fd, char* data, std::int64_t size);

// Where a regular file's descriptor stands; nothing for pipes, terminals and
// devices, which cannot be read twice.
std::optional<std::int64_t> regularFilePosition(int fd);
bool seekTo(int fd, std::int64_t position);

// Called first: a reader that goes away must not end the process (writes to
// it fail, and the caller reports that); on Windows the standard streams
// carry bytes as they are, with no line-end translation.
void setUpStreams();

// The arguments after the program's name, as the user gave them: on Linux
// bytes decoded as file names are (decodeFileName), on Windows the UTF-16
// command line.
QStringList arguments(int argc, char** argv);

// Writes `text` to `stream`: UTF-8, or as characters where the stream is a
// Windows console, whatever its code page.
void write(std::FILE* stream, const QString& text);

// Where a piece of `text` that starts at `from` and holds about `most` UTF-16
// units ends: at most `most` units, never between the halves of a surrogate
// pair (a console would show each half as a box), and never empty while
// text is left (a pair is taken whole where `most` is below 2).
inline qsizetype pieceEnd(QStringView text, qsizetype from, qsizetype most) {
    qsizetype end = std::min(text.size(), from + std::max<qsizetype>(most, 1));
    if (end < text.size() && text[end - 1].isHighSurrogate() && text[end].isLowSurrogate())
        end += end - 1 > from ? -1 : 1;
    return end;
}

// Whether a terminal on `fd` redraws a line with escape codes.
bool takesEscapes(int fd);

// Chooses Qt's platform for drawing without a window or a display, with the
// system's fonts; called before the application object exists.
void useHeadlessPlatform();

} // namespace pismolot::cli::console
