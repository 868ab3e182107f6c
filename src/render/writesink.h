#pragma once

// Internal to the picture writers: the byte sink that knows the errno of
// every failed write, and what a failed call means to the user.

#include "render/imagefile.h"

#include <QIODevice>
#include <QtGlobal>

#include <csignal>
#include <vector>

namespace pismolot::detail {

// The cause of a failed system call, with the system's text for it.
WriteStatus statusFromErrno(int error);

// Encodes `image` to `out` in `format` (alpha kept or dropped as the format
// wants). False when the encoder gave up; `reason` then says why. Whether
// every byte arrived is for `out` to tell.
bool encodeImage(QIODevice& out, const QImage& image, ImageFormat format, QString* reason,
                 const VectorPicture* vector = nullptr);

// writeImageFile with a choice of temporary file: an unnamed one where the
// file system has them (the default), or always "NAME.XXXXXX", as on file
// systems without them (FAT on a memory stick, NFS).
enum class TemporaryFiles { UnnamedWherePossible, Named };
WriteStatus writeImageFile(const QString& path, const QImage& image, ImageFormat format, Commit how,
                           TemporaryFiles kind, const VectorPicture* vector = nullptr);

// The writer of systems without POSIX files, through QSaveFile (it always
// syncs before the rename). Built everywhere, so that it is tested here too.
WriteStatus writeImageFileWithSaveFile(const QString& path, const QImage& image, ImageFormat format,
                                       const VectorPicture* vector = nullptr);

#ifdef Q_OS_UNIX
// Writes to a file descriptor through one buffer, retrying interrupted and
// partial writes, and remembers the errno of the first write that fails;
// after that it takes nothing more. It owns neither the descriptor nor
// its closing.
class FdSink final : public QIODevice {
public:
    explicit FdSink(int fd);
    ~FdSink() override;

    // Sends what is still buffered; returns 0 when every byte written so far
    // reached the descriptor, else the errno of the first failure.
    int finish();
    int error() const { return error_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool send(const char* data, qint64 size);

    int fd_;
    int error_ = 0;
    std::vector<char> buffer_;
};

// Blocks SIGPIPE and SIGXFSZ in the calling thread while it lives, so that
// writing to a pipe whose reader has gone gives EPIPE, and writing past the
// file size limit EFBIG, instead of ending the process; swallows those
// signals that the writes raised.
class WriteSignalGuard {
public:
    WriteSignalGuard();
    ~WriteSignalGuard();
    WriteSignalGuard(const WriteSignalGuard&) = delete;
    WriteSignalGuard& operator=(const WriteSignalGuard&) = delete;

private:
    sigset_t previousMask_;
    sigset_t raisedHere_;
};
#else
// Without those signals (Windows) both are plain write errors.
class WriteSignalGuard {};
#endif

} // namespace pismolot::detail
