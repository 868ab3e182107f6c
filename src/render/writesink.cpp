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

sigset_t sigpipeOnly() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    return set;
}

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

SigpipeGuard::SigpipeGuard() {
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    wasPending_ = sigismember(&pending, SIGPIPE) == 1;
    const sigset_t pipe = sigpipeOnly();
    pthread_sigmask(SIG_BLOCK, &pipe, &previousMask_);
}

SigpipeGuard::~SigpipeGuard() {
    if (!wasPending_) {
        const sigset_t pipe = sigpipeOnly();
        const timespec now{};
        while (sigtimedwait(&pipe, nullptr, &now) == SIGPIPE) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}
#endif

} // namespace pismolot::detail
