// Writing a picture to a path on Windows: the picture goes whole into a
// temporary file in the target's folder, which then replaces the old file in
// one step (MoveFileExW), so a failure at any point leaves the old file as it
// was and no temporary file behind. What Windows refuses is found before
// anything is written and named: device names, forbidden characters, paths
// too long, read-only files and files another program holds open.
#include "render/filename.h"
#include "render/imagefile.h"
#include "render/writesink.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <windows.h>

namespace pismolot {

namespace {

const wchar_t* wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

QString systemText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD flags =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    // English, as every message of the renderer is, where the system has it.
    DWORD length =
        FormatMessageW(flags, nullptr, error, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                       reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0)
        length =
            FormatMessageW(flags, nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString result = length ? QString::fromWCharArray(text, int(length)).trimmed()
                            : QStringLiteral("system error %1").arg(error);
    LocalFree(text);
    return result;
}

WriteStatus statusFrom(DWORD error) {
    WriteError kind = WriteError::Other;
    switch (error) {
    case ERROR_ACCESS_DENIED:
        kind = WriteError::NoPermission;
        break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        kind = WriteError::InUse;
        break;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        kind = WriteError::NoSuchFolder;
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE:
        kind = WriteError::DiskFull;
        break;
    case ERROR_WRITE_PROTECT:
        kind = WriteError::ReadOnlyFileSystem;
        break;
    case ERROR_FILENAME_EXCED_RANGE:
        kind = WriteError::PathTooLong;
        break;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        kind = WriteError::BadName;
        break;
    default:
        break;
    }
    return {kind, systemText(error)};
}

WriteStatus lastError() {
    return statusFrom(GetLastError());
}

// Whether another program has the file open in a way that forbids replacing
// it (an editor that holds it without sharing its deletion).
bool heldByAnother(const QString& path) {
    const HANDLE probe =
        CreateFileW(wide(path), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

// A new file beside `path`, "NAME.XXXXXX.tmp", opened to write.
HANDLE createTemporary(const QString& path, QString* name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name =
            path + QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate() % 0x1000000,
                                                 6, 16, QLatin1Char('0'));
        const HANDLE file = CreateFileW(wide(*name), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

WriteStatus writeAll(HANDLE file, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const DWORD piece = DWORD(std::min<qsizetype>(bytes.size() - done, 1 << 24));
        DWORD written = 0;
        if (!WriteFile(file, bytes.constData() + done, piece, &written, nullptr))
            return lastError();
        if (written == 0)
            return statusFrom(ERROR_DISK_FULL);
        done += written;
    }
    return {};
}

} // namespace

WriteStatus writeImageFile(const QString& path, const QImage& image, ImageFormat format, Commit how,
                           const VectorPicture* vector) {
    return detail::writeImageFile(path, image, format, how, detail::TemporaryFiles::Named, vector);
}

WriteStatus detail::writeImageFile(const QString& path, const QImage& image, ImageFormat format,
                                   Commit how, TemporaryFiles, const VectorPicture* vector) {
    if (WriteStatus refused = checkPicture(image, format, vector); !refused.ok())
        return refused;
    if (path.isEmpty())
        return {WriteError::IsDirectory, QStringLiteral("is a directory")};
    const QString target = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    switch (checkWindowsName(target)) {
    case WindowsName::Fine:
        break;
    case WindowsName::TooLong:
        return statusFrom(ERROR_FILENAME_EXCED_RANGE);
    case WindowsName::Device:
    case WindowsName::BadCharacter:
    case WindowsName::BadEnd:
        return statusFrom(ERROR_INVALID_NAME);
    }
    const DWORD attributes = GetFileAttributesW(wide(target));
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return {WriteError::IsDirectory, QStringLiteral("is a directory")};
        if (attributes & FILE_ATTRIBUTE_READONLY)
            return {WriteError::ReadOnlyFile, QStringLiteral("the file is read-only")};
        if (heldByAnother(target))
            return statusFrom(ERROR_SHARING_VIOLATION);
    }
    const DWORD folder = GetFileAttributesW(wide(QFileInfo(target).absolutePath()));
    if (folder == INVALID_FILE_ATTRIBUTES || !(folder & FILE_ATTRIBUTE_DIRECTORY))
        return {WriteError::NoSuchFolder, QStringLiteral("no such folder")};

    // Encoded first: a picture is at most a screen's, and a failure of the
    // encoder then costs no file at all.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QString reason;
        if (!encodeImage(buffer, image, format, &reason, vector))
            return {WriteError::Other, reason};
    }

    QString temporary;
    const HANDLE file = createTemporary(target, &temporary);
    if (file == INVALID_HANDLE_VALUE)
        return lastError();
    WriteStatus status = writeAll(file, bytes);
    if (status.ok() && how == Commit::Durable && !FlushFileBuffers(file))
        status = lastError();
    if (!CloseHandle(file) && status.ok())
        status = lastError();
    if (status.ok()) {
        const DWORD flags =
            MOVEFILE_REPLACE_EXISTING | (how == Commit::Durable ? MOVEFILE_WRITE_THROUGH : 0);
        if (!MoveFileExW(wide(temporary), wide(target), flags)) {
            status = lastError();
            // Taken in the meantime by a program that will not share it.
            if (status.error == WriteError::NoPermission && heldByAnother(target))
                status = statusFrom(ERROR_SHARING_VIOLATION);
        }
    }
    if (!status.ok())
        DeleteFileW(wide(temporary));
    return status;
}

} // namespace pismolot
