#include "console.h"

#include "render/filename.h"
#include "textinput.h"

#include <QByteArray>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

#include <unistd.h>

namespace pismolot::cli::console {

namespace {

int refuseFolder(int fd, QString* error) {
    *error = QStringLiteral("it is a folder");
    ::close(fd);
    return -1;
}

QString systemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

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

bool namesNullDevice(const QString& /*name*/) {
    return false;
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

void setUpStreams() {
    std::signal(SIGPIPE, SIG_IGN);
}

QStringList arguments(int argc, char** argv) {
    return decodeArguments(argc, argv);
}

void write(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

bool takesEscapes(int /*fd*/) {
    return qgetenv("TERM") != "dumb";
}

void useHeadlessPlatform() {
    // Only the offscreen platform works in every session: the desktop's
    // platform named in the environment aborts the process where no display
    // answers (ssh, cron). Its theme and input plugins are the desktop's
    // too, and its GLX side would open a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QPA_OFFSCREEN_NO_GLX", "1");
    qunsetenv("QT_QPA_PLATFORMTHEME");
    qunsetenv("QT_QPA_GENERIC_PLUGINS");
    // No event loop runs here: the plain dispatcher starts faster than GLib's.
    if (qEnvironmentVariableIsEmpty("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
}

} // namespace pismolot::cli::console
