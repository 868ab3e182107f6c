// Writing a picture to a path: atomically over regular files, straight
// through to FIFOs and devices, and the user's reason when it fails.
#include "render/imagefile.h"
#include "render/writesink.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace pismolot {

namespace {

// The file a path finally names, following symlinks as QSaveFile does (a
// dangling link names the file it would create).
QString finalTarget(const QString& path) {
    QFileInfo info(path);
    for (int depth = 0; depth < 128 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.filePath();
}

// Why a file could not be created at, or renamed onto, `path`, asked of the
// file system itself once QSaveFile has failed (it keeps no errno): the
// folder, a creation in it, and an existing file's own permission.
WriteStatus diagnose(const QString& path, const QString& qtText) {
    const QString target = finalTarget(path);
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    struct stat st;
    if (::stat(folder.constData(), &st) != 0)
        return detail::statusFromErrno(errno);
    if (!S_ISDIR(st.st_mode))
        return detail::statusFromErrno(ENOTDIR);
    // An unnamed file leaves nothing behind, whatever happens next.
    const int probe = ::open(folder.constData(), O_WRONLY | O_TMPFILE | O_CLOEXEC, 0600);
    if (probe >= 0) {
        ::close(probe);
    } else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        return detail::statusFromErrno(errno);
    } else if (::faccessat(AT_FDCWD, folder.constData(), W_OK | X_OK, AT_EACCESS) != 0) {
        return detail::statusFromErrno(errno);
    }
    if (::faccessat(AT_FDCWD, QFile::encodeName(target).constData(), W_OK, AT_EACCESS) != 0 &&
        errno != ENOENT)
        return detail::statusFromErrno(errno);
    return {WriteError::Other, qtText};
}

WriteStatus encodingFailed(const QString& reason) {
    return {WriteError::Other,
            reason.isEmpty() ? QStringLiteral("the picture could not be encoded") : reason};
}

// A FIFO or device: written in place, as any Unix tool would; replacing it
// by a regular file would break whatever reads it.
WriteStatus writeThrough(const QByteArray& nativePath, const QImage& image, ImageFormat format) {
    detail::SigpipeGuard pipeGuard;
    int fd;
    do
        fd = ::open(nativePath.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return detail::statusFromErrno(errno);
    detail::FdSink sink(fd);
    QString reason;
    const bool encoded = detail::encodeImage(sink, image, format, &reason);
    int error = sink.finish();
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    if (error != 0)
        return detail::statusFromErrno(error);
    return encoded ? WriteStatus{} : encodingFailed(reason);
}

// A regular file, new or replaced: QSaveFile's unnamed temporary file beside
// it, renamed over it only once every byte has been written. The bytes go to
// its descriptor through our own sink, which keeps the errno of the write
// that failed (QSaveFile keeps only a text) and leaves QSaveFile's buffer
// empty, so its commit writes nothing more.
WriteStatus replaceAtomically(const QString& path, const QImage& image, ImageFormat format) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return diagnose(path, file.errorString());
    detail::FdSink sink(file.handle());
    QString reason;
    const bool encoded = detail::encodeImage(sink, image, format, &reason);
    const int error = sink.finish();
    if (error != 0 || !encoded) {
        file.cancelWriting();
        file.commit(); // after cancelWriting: drops the temporary file, renames nothing
        return error != 0 ? detail::statusFromErrno(error) : encodingFailed(reason);
    }
    if (!file.commit())
        return diagnose(path, file.errorString());
    return {};
}

} // namespace

WriteStatus writeImageFile(const QString& path, const QImage& image, ImageFormat format) {
    if (WriteStatus refused = checkPicture(image, format); !refused.ok())
        return refused;
    // A NUL would cut the name short at the system call.
    if (path.isEmpty() || path.contains(QChar(0)))
        return {WriteError::Other,
                detail::statusFromErrno(path.isEmpty() ? ENOENT : EINVAL).systemText};
    const QByteArray nativePath = QFile::encodeName(path);
    struct stat st;
    if (::stat(nativePath.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return detail::statusFromErrno(EISDIR);
        if (!S_ISREG(st.st_mode))
            return writeThrough(nativePath, image, format);
    } else if (errno != ENOENT) {
        return detail::statusFromErrno(errno); // a file as a folder, a link loop, no access
    }
    return replaceAtomically(path, image, format);
}

} // namespace pismolot
