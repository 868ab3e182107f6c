// Writing a picture to a path: atomically over regular files, straight
// through to FIFOs and devices, and the cause when it fails.
#include "render/filecalls.h"
#include "render/filename.h"
#include "render/imagefile.h"
#include "render/writesink.h"

#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace pismolot {

detail::FileCalls& detail::fileCalls() {
    static FileCalls calls{::fsync, ::close, ::rename};
    return calls;
}

namespace {

// The file a path finally names, following symlinks (relative ones from
// their own folder). A dangling link names the file it would create, as a
// shell's redirection does. In bytes: a name need not be UTF-8.
QByteArray finalTarget(QByteArray path) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info;
        if (::lstat(path.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            break;
        QByteArray link(PATH_MAX, Qt::Uninitialized);
        const ssize_t n = ::readlink(path.constData(), link.data(), std::size_t(link.size()));
        if (n <= 0 || n >= link.size())
            break;
        link.truncate(n);
        path = link.startsWith('/') ? link : path.left(path.lastIndexOf('/') + 1) + link;
    }
    return path;
}

// The folder a file is made in: what its name holds before the last slash.
QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

WriteStatus encodingFailed(const QString& reason) {
    return {WriteError::Other,
            reason.isEmpty() ? QStringLiteral("the picture could not be encoded") : reason};
}

// A FIFO or device: written in place, as any Unix tool would; replacing it
// by a regular file would break whatever reads it.
WriteStatus writeThrough(const QByteArray& nativePath, const QImage& image, ImageFormat format,
                         const VectorPicture* vector) {
    int fd = -1;
    do
        fd = ::open(nativePath.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return detail::statusFromErrno(errno);
    detail::FdSink sink(fd);
    QString reason;
    const bool encoded = detail::encodeImage(sink, image, format, &reason, vector);
    int error = sink.finish();
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    if (error != 0)
        return detail::statusFromErrno(error);
    return encoded ? WriteStatus{} : encodingFailed(reason);
}

// Whether an unnamed file can be given a name later: through /proc, as
// linking it by descriptor alone needs a privilege.
bool canNameUnnamedFiles() {
    static const bool can = ::access("/proc/self/fd", X_OK) == 0;
    return can;
}

// The temporary file the picture is written to before it takes the
// target's name. Unnamed where the system allows, so that nothing is left
// behind whatever happens before it is linked in; otherwise "NAME.XXXXXX",
// removed again on every failure.
class TemporaryFile {
public:
    TemporaryFile(const QByteArray& folder, const QByteArray& target, mode_t mode,
                  detail::TemporaryFiles kind)
        : target_(target) {
#ifdef O_TMPFILE
        if (kind == detail::TemporaryFiles::UnnamedWherePossible && canNameUnnamedFiles()) {
            fd_ = ::open(folder.constData(), O_WRONLY | O_TMPFILE | O_CLOEXEC, mode);
            // Without support the flag reads as a directory open.
            if (fd_ >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) {
                error_ = fd_ < 0 ? errno : 0;
                return;
            }
        }
#endif
        Q_UNUSED(folder);
        Q_UNUSED(kind);
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray name = temporaryName(target);
            fd_ = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd_ >= 0)
                name_ = name;
            if (fd_ >= 0 || errno != EEXIST)
                break;
        }
        error_ = fd_ < 0 ? errno : 0;
    }
    ~TemporaryFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!name_.isEmpty())
            ::unlink(name_.constData());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const {
        return fd_;
    }
    int error() const {
        return error_;
    }

    // Gives the finished file the target's name, replacing what was there;
    // 0, or the errno of the step that failed (the old file then stays).
    int commit(bool replacing, Commit how) {
        if (how == Commit::Durable && detail::fileCalls().fsync(fd_) != 0)
            return errno;
        if (name_.isEmpty()) {
            // Unnamed: linked straight in where nothing has the name yet (a
            // file that came meanwhile makes the link fail, not vanish),
            // otherwise under a temporary name, renamed over the old file.
            if (!replacing && linkAs(target_) == 0) {
                name_ = target_; // ours to remove until closed without error
                if (const int error = close())
                    return error;
                name_.clear();
                return 0;
            }
            if (!replacing && errno != EEXIST)
                return errno;
            for (int attempt = 0; name_.isEmpty(); ++attempt) {
                const QByteArray name = temporaryName(target_);
                if (linkAs(name) == 0)
                    name_ = name;
                else if (errno != EEXIST || attempt == 100)
                    return errno;
            }
        }
        if (const int error = close())
            return error;
        if (detail::fileCalls().rename(name_.constData(), target_.constData()) != 0)
            return errno;
        name_.clear();
        return 0;
    }

private:
    // "NAME.XXXXXX" beside the target, NAME shortened where the whole would
    // be too long a file name.
    static QByteArray temporaryName(const QByteArray& target) {
        static constexpr char Letters[] =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        const qsizetype base = target.lastIndexOf('/') + 1;
        QByteArray name =
            target.left(base + std::min<qsizetype>(target.size() - base, NAME_MAX - 7));
        name += '.';
        for (int i = 0; i < 6; ++i)
            name += Letters[QRandomGenerator::global()->bounded(int(sizeof Letters) - 1)];
        return name;
    }

    int linkAs(const QByteArray& name) const {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_);
        return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW);
    }

    // Some file systems (NFS) report a failed write only at the close; the
    // old file must then still be there to keep.
    int close() {
        const int fd = fd_;
        fd_ = -1;
        return detail::fileCalls().close(fd) == 0 || errno == EINTR ? 0 : errno;
    }

    QByteArray target_;
    QByteArray name_; // the file's name while it is ours to remove
    int fd_ = -1;
    int error_ = 0;
};

// A regular file, new or replaced: written whole to a temporary file in its
// folder, then renamed over it, so that the old file is either kept byte for
// byte or replaced by the whole new one. QSaveFile does the same but always
// syncs the file to disk before the rename, which costs milliseconds a file
// on a busy disk: far too slow for a batch of thousands of small pictures,
// and more than an atomic replace needs.
WriteStatus replaceAtomically(const QByteArray& path, const QImage& image, ImageFormat format,
                              Commit how, detail::TemporaryFiles kind,
                              const VectorPicture* vector) {
    const QByteArray nativeTarget = finalTarget(path);
    const QByteArray folder = folderOf(nativeTarget);
    struct stat old;
    const bool exists = ::stat(nativeTarget.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return detail::statusFromErrno(errno);
    if (exists && !S_ISREG(old.st_mode))
        return detail::statusFromErrno(S_ISDIR(old.st_mode) ? EISDIR : EEXIST);
    // A file its owner made read-only is not ours to replace.
    if (exists && ::faccessat(AT_FDCWD, nativeTarget.constData(), W_OK, AT_EACCESS) != 0)
        return detail::statusFromErrno(errno);

    TemporaryFile file(folder, nativeTarget, exists ? old.st_mode & 07777 : 0666, kind);
    if (file.fd() < 0) {
        WriteStatus status = detail::statusFromErrno(file.error());
        // A folder that is there but makes no files (/proc) answers ENOENT
        // too: that is no missing folder.
        struct stat there;
        if (status.error == WriteError::NoSuchFolder && ::stat(folder.constData(), &there) == 0 &&
            S_ISDIR(there.st_mode))
            status.error = WriteError::Other;
        return status;
    }
    // The new file keeps the old one's owner where we may give it (root
    // saving a user's file) and its permissions; a new one gets 0666 less
    // the umask, as the creating open applied.
    if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()))
        (void)!::fchown(file.fd(), old.st_uid, old.st_gid);
    if (exists && ::fchmod(file.fd(), old.st_mode & 07777) != 0)
        return detail::statusFromErrno(errno);
    detail::FdSink sink(file.fd());
    QString reason;
    const bool encoded = detail::encodeImage(sink, image, format, &reason, vector);
    if (const int error = sink.finish())
        return detail::statusFromErrno(error);
    if (!encoded)
        return encodingFailed(reason);
    if (const int error = file.commit(exists, how))
        return detail::statusFromErrno(error);
    return {};
}

} // namespace

WriteStatus writeImageFile(const QString& path, const QImage& image, ImageFormat format, Commit how,
                           const VectorPicture* vector) {
    return detail::writeImageFile(path, image, format, how,
                                  detail::TemporaryFiles::UnnamedWherePossible, vector);
}

WriteStatus detail::writeImageFile(const QString& path, const QImage& image, ImageFormat format,
                                   Commit how, TemporaryFiles kind, const VectorPicture* vector) {
    if (WriteStatus refused = checkPicture(image, format, vector); !refused.ok())
        return refused;
    // A NUL would cut the name short at the system call.
    if (path.isEmpty() || path.contains(QChar(0)))
        return {WriteError::Other,
                detail::statusFromErrno(path.isEmpty() ? ENOENT : EINVAL).systemText};
    const QByteArray nativePath = encodeFileName(path);
    const detail::WriteSignalGuard signalGuard;
    struct stat st;
    if (::stat(nativePath.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return detail::statusFromErrno(EISDIR);
        if (!S_ISREG(st.st_mode))
            return writeThrough(nativePath, image, format, vector);
    } else if (errno != ENOENT) {
        return detail::statusFromErrno(errno); // a file as a folder, a link loop, no access
    }
    return replaceAtomically(nativePath, image, format, how, kind, vector);
}

} // namespace pismolot
