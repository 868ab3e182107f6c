#include "console.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace pismolot::cli::console {

#ifdef _WIN32

bool isTerminal(int fd) {
    return _isatty(fd) != 0;
}

std::int64_t readSome(int fd, char* data, std::int64_t size) {
    const unsigned chunk = size > (1 << 30) ? 1u << 30 : unsigned(size);
    return _read(fd, data, chunk);
}

std::optional<std::int64_t> regularFilePosition(int fd) {
    struct _stat64 info = {};
    if (_fstat64(fd, &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG)
        return std::nullopt;
    const std::int64_t position = _lseeki64(fd, 0, SEEK_CUR);
    return position >= 0 ? std::optional<std::int64_t>(position) : std::nullopt;
}

bool seekTo(int fd, std::int64_t position) {
    return _lseeki64(fd, position, SEEK_SET) == position;
}

void ignoreBrokenPipes() {}

#else

bool isTerminal(int fd) {
    return ::isatty(fd) != 0;
}

std::int64_t readSome(int fd, char* data, std::int64_t size) {
    for (;;) {
        const ssize_t n = ::read(fd, data, std::size_t(size));
        if (n >= 0 || errno != EINTR)
            return std::int64_t(n);
    }
}

std::optional<std::int64_t> regularFilePosition(int fd) {
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    const off_t position = ::lseek(fd, 0, SEEK_CUR);
    return position >= 0 ? std::optional<std::int64_t>(position) : std::nullopt;
}

bool seekTo(int fd, std::int64_t position) {
    return ::lseek(fd, off_t(position), SEEK_SET) == off_t(position);
}

void ignoreBrokenPipes() {
    std::signal(SIGPIPE, SIG_IGN);
}

#endif

} // namespace pismolot::cli::console
