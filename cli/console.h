#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The process's standard streams and the descriptors of open files, the
// same on POSIX systems and on Windows.
namespace pismolot::cli::console {

inline constexpr int StandardInput = 0;
inline constexpr int StandardOutput = 1;
inline constexpr int StandardError = 2;

bool isTerminal(int fd);

// Whether the file `name` names (as decodeFileName() gives it) is a
// terminal, as /dev/stdout or /dev/tty can be. Creates nothing.
bool namesTerminal(const QString& name);

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

// A reader that goes away must not end the process: writes to it fail, and
// the caller reports that. (Windows has no such signal.)
void ignoreBrokenPipes();

} // namespace pismolot::cli::console
