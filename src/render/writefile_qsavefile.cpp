// Writing a picture to a path where the program has no writer of the
// system's own: QSaveFile writes a temporary file beside the target and
// renames it over the old one, after syncing it to disk, so either commit is
// durable here.
// Built on every system, so that its tests run wherever the others do.
#include "render/imagefile.h"
#include "render/writesink.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace pismolot {

namespace {

WriteStatus failed(const QFileDevice& file) {
    const WriteError cause = file.error() == QFileDevice::PermissionsError
                                 ? WriteError::NoPermission
                                 : WriteError::Other;
    return {cause, file.errorString()};
}

} // namespace

WriteStatus detail::writeImageFileWithSaveFile(const QString& path, const QImage& image,
                                               ImageFormat format, const VectorPicture* vector) {
    if (WriteStatus refused = checkPicture(image, format, vector); !refused.ok())
        return refused;
    const QFileInfo info(path);
    if (path.isEmpty() || info.isDir())
        return {WriteError::IsDirectory, QStringLiteral("is a directory")};
    if (!info.absoluteDir().exists())
        return {WriteError::NoSuchFolder, QStringLiteral("no such folder")};
    const WriteSignalGuard signalGuard;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file);
    QString reason;
    const bool encoded = encodeImage(file, image, format, &reason, vector);
    // Every byte must be in the file before commit() may rename it.
    if (file.error() != QFileDevice::NoError || !file.flush()) {
        WriteStatus status = failed(file);
        file.cancelWriting();
        return status;
    }
    if (!encoded) {
        file.cancelWriting();
        return {WriteError::Other, reason};
    }
    if (!file.commit())
        return failed(file);
    return {};
}

#ifndef PISMOLOT_PLATFORM_FILES
WriteStatus writeImageFile(const QString& path, const QImage& image, ImageFormat format, Commit how,
                           const VectorPicture* vector) {
    return detail::writeImageFile(path, image, format, how, detail::TemporaryFiles::Named, vector);
}

WriteStatus detail::writeImageFile(const QString& path, const QImage& image, ImageFormat format,
                                   Commit, TemporaryFiles, const VectorPicture* vector) {
    return writeImageFileWithSaveFile(path, image, format, vector);
}
#endif

} // namespace pismolot
