#include "render/writesink.h"

#ifdef Q_OS_UNIX
#include <poll.h>
#include <pthread.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <system_error>

namespace pismolot::detail {

#ifdef Q_OS_UNIX
namespace {

// Big enough that a small picture leaves in one write(2), small enough to
// stay in the allocator's fast path.
constexpr qsizetype BufferBytes = qsizetype{64} * 1024;

// A reader that went away (SIGPIPE) and a file size limit (SIGXFSZ) would
// end the process; blocked, the write fails with EPIPE or EFBIG instead.
constexpr int WriteSignals[] = {SIGPIPE, SIGXFSZ};

} // namespace
#endif

WriteStatus statusFromErrno(int error) {
    WriteError kind = WriteError::Other;
    switch (error) {
    case EACCES:
    case EPERM:
        kind = WriteError::NoPermission;
        break;
    case ENOENT:
    case ENOTDIR:
        kind = WriteError::NoSuchFolder;
        break;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
        kind = WriteError::DiskFull;
        break;
    case EROFS:
        kind = WriteError::ReadOnlyFileSystem;
        break;
    case EISDIR:
        kind = WriteError::IsDirectory;
        break;
    default:
        break;
    }
    return {kind, QString::fromLocal8Bit(std::generic_category().message(error))};
}

#ifdef Q_OS_UNIX
FdSink::FdSink(int fd) : fd_(fd) {
    buffer_.reserve(BufferBytes);
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

FdSink::~FdSink() = default;

qint64 FdSink::writeData(const char* data, qint64 size) {
    if (error_)
        return -1;
    if (qsizetype(buffer_.size()) + size > BufferBytes) {
        const bool sent = send(buffer_.data(), qint64(buffer_.size()));
        buffer_.clear();
        if (!sent)
            return -1;
        if (size >= BufferBytes)
            return send(data, size) ? size : -1;
    }
    buffer_.insert(buffer_.end(), data, data + size);
    return size;
}

int FdSink::finish() {
    if (!error_ && !buffer_.empty())
        send(buffer_.data(), qint64(buffer_.size()));
    buffer_.clear();
    return error_;
}

bool FdSink::send(const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, std::size_t(std::min<qint64>(size, 1 << 30)));
        if (n > 0) {
            data += n;
            size -= n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // A descriptor someone left non-blocking: wait until it takes more.
            pollfd ready{fd_, POLLOUT, 0};
            ::poll(&ready, 1, -1);
        } else {
            // A write that takes nothing without an error would loop forever.
            error_ = n < 0 ? errno : EIO;
            return false;
        }
    }
    return true;
}

WriteSignalGuard::WriteSignalGuard() {
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    sigset_t block;
    sigemptyset(&block);
    sigemptyset(&raisedHere_);
    for (const int signal : WriteSignals) {
        sigaddset(&block, signal);
        // One that was pending before is someone else's: it stays.
        if (sigismember(&pending, signal) != 1)
            sigaddset(&raisedHere_, signal);
    }
    pthread_sigmask(SIG_BLOCK, &block, &previousMask_);
}

WriteSignalGuard::~WriteSignalGuard() {
    const timespec now{};
    while (sigtimedwait(&raisedHere_, nullptr, &now) > 0) {
    }
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}
#endif

} // namespace pismolot::detail
