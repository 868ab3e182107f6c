#include "console.h"

#include "render/filename.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace pismolot::cli::console {

namespace {

int refuseFolder(int fd, QString* error) {
    *error = QStringLiteral("it is a folder");
#ifdef _WIN32
    _close(fd);
#else
    ::close(fd);
#endif
    return -1;
}

QString systemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

#ifdef _WIN32

bool isTerminal(int fd) {
    return _isatty(fd) != 0;
}

bool namesTerminal(const QString& name) {
    const int fd = _wopen(reinterpret_cast<const wchar_t*>(name.utf16()), _O_WRONLY | _O_BINARY);
    const bool terminal = fd >= 0 && _isatty(fd) != 0;
    if (fd >= 0)
        _close(fd);
    return terminal;
}

int openToRead(const QString& name, QString* error) {
    const int fd = _wopen(reinterpret_cast<const wchar_t*>(name.utf16()), _O_RDONLY | _O_BINARY);
    struct _stat64 info = {};
    if (fd < 0)
        *error = systemText(errno);
    else if (_fstat64(fd, &info) == 0 && (info.st_mode & _S_IFMT) == _S_IFDIR)
        return refuseFolder(fd, error);
    return fd;
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

bool namesTerminal(const QString& name) {
    const QByteArray path = encodeFileName(name);
    struct stat info = {};
    // Only a character device can be one; opening anything else could block
    // (a FIFO) or change it.
    if (path.contains('\0') || ::stat(path.constData(), &info) != 0 || !S_ISCHR(info.st_mode))
        return false;
    const int fd = ::open(path.constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    const bool terminal = fd >= 0 && ::isatty(fd) != 0;
    if (fd >= 0)
        ::close(fd);
    return terminal;
}

int openToRead(const QString& name, QString* error) {
    const QByteArray path = encodeFileName(name);
    if (path.contains('\0')) { // it would name another file
        *error = systemText(EINVAL);
        return -1;
    }
    int fd = -1;
    do
        fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    struct stat info = {};
    if (fd < 0)
        *error = systemText(errno);
    else if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode))
        return refuseFolder(fd, error);
    return fd;
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
