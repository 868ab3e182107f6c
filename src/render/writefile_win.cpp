// Writing a picture to a path on Windows: the picture goes whole into a
// temporary file in the target's folder, which then takes the target's place
// in one step, so a failure at any point leaves the old file as it was and no
// temporary file behind. An existing file is replaced with ReplaceFileW,
// which keeps what the user gave the old one (access rules, attributes such
// as hidden, creation time, streams, encryption); a new name is made with
// MoveFileExW. What Windows refuses is found before anything is written and
// named: device names, forbidden characters, paths too long, read-only files.
// A file that another program holds for a moment (a virus scanner, the
// search indexer, a sync client) is waited for, up to about two seconds.
#include "render/filecalls_win.h"
#include "render/filename.h"
#include "render/imagefile.h"
#include "render/writesink.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <windows.h>

#include <algorithm>

namespace pismolot {

detail::WinFileCalls& detail::winFileCalls() {
    static WinFileCalls calls{::ReplaceFileW, ::MoveFileExW};
    return calls;
}

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
    // ReplaceFileW's own: the old file or the new one could not be renamed,
    // which another program's handle on it causes.
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
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

// The attributes of an old file that its replacement keeps.
constexpr DWORD KeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool exists(const QString& path) {
    return GetFileAttributesW(wide(path)) != INVALID_FILE_ATTRIBUTES;
}

// Removes a file of ours, also where ReplaceFileW had given it the old
// file's attributes (read-only among them) before it failed.
void removeOwn(const QString& path) {
    if (!DeleteFileW(wide(path))) {
        SetFileAttributesW(wide(path), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(wide(path));
    }
}

// The temporary file and the name the old file passes through while it is
// replaced: short names in the target's folder ("~pm1a2b3.tmp" and ".bak").
struct Scratch {
    QString temporary;
    QString backup;
    HANDLE file = INVALID_HANDLE_VALUE;
};

Scratch createScratch(const QString& folder) {
    Scratch scratch;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString stem = folder + QStringLiteral("\\~pm%1").arg(
                                          QRandomGenerator::global()->generate() % 0x100000, 5, 16,
                                          QLatin1Char('0'));
        scratch.temporary = stem + QStringLiteral(".tmp");
        scratch.backup = stem + QStringLiteral(".bak");
        scratch.file = CreateFileW(wide(scratch.temporary), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        if (scratch.file == INVALID_HANDLE_VALUE) {
            if (GetLastError() != ERROR_FILE_EXISTS)
                return scratch;
            continue;
        }
        if (!exists(scratch.backup))
            return scratch;
        CloseHandle(scratch.file);
        DeleteFileW(wide(scratch.temporary));
        scratch.file = INVALID_HANDLE_VALUE;
    }
    SetLastError(ERROR_FILE_EXISTS);
    return scratch;
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

// The name Windows takes without its path limit, made as Windows makes a
// full path ("..", "/" and the like resolved): the temporary and backup names
// may pass 259 characters where the target itself does not.
QString verbatim(const QString& absolute) {
    if (absolute.startsWith(QLatin1String(R"(\\?\)")) ||
        absolute.startsWith(QLatin1String(R"(\\.\)")))
        return absolute;
    QString full(MAX_PATH, Qt::Uninitialized);
    const DWORD length = GetFullPathNameW(wide(absolute), DWORD(full.size()),
                                          reinterpret_cast<wchar_t*>(full.data()), nullptr);
    if (length == 0 || length >= DWORD(full.size()))
        return absolute;
    full.truncate(length);
    if (full.startsWith(QLatin1String("\\\\")))
        return QStringLiteral(R"(\\?\UNC\)") + full.mid(2);
    if (full.size() >= 3 && full[1] == u':' && full[2] == u'\\')
        return QStringLiteral(R"(\\?\)") + full;
    return absolute;
}

// One attempt at putting the temporary file in the target's place: 0, or the
// system's error with the old file at its name as before.
DWORD replaceOnce(const QString& target, const Scratch& scratch, Commit how) {
    const auto move = [&](DWORD flags) -> DWORD {
        if (how == Commit::Durable)
            flags |= MOVEFILE_WRITE_THROUGH;
        return detail::winFileCalls().moveFile(wide(scratch.temporary), wide(target), flags)
                   ? 0
                   : GetLastError();
    };
    if (!exists(target))
        return move(0);
    // The old file passes through the backup name: without one, Windows may
    // fail after the old file is gone (ERROR_UNABLE_TO_MOVE_REPLACEMENT).
    // Attributes and access rules that cannot be carried over (no right to
    // change them) do not stop the save.
    if (detail::winFileCalls().replaceFile(wide(target), wide(scratch.temporary),
                                           wide(scratch.backup), REPLACEFILE_IGNORE_MERGE_ERRORS,
                                           nullptr, nullptr)) {
        removeOwn(scratch.backup);
        return 0;
    }
    const DWORD error = GetLastError();
    switch (error) {
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
        // The old file stands under the backup name: it goes back.
        if (!detail::winFileCalls().moveFile(wide(scratch.backup), wide(target),
                                             MOVEFILE_WRITE_THROUGH))
            return ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
        return ERROR_UNABLE_TO_MOVE_REPLACEMENT;
    case ERROR_FILE_NOT_FOUND:
        // Removed in the meantime: a new name now.
        if (!exists(target))
            return move(MOVEFILE_REPLACE_EXISTING);
        break;
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
    case ERROR_INVALID_PARAMETER:
        // A file system that cannot replace (some network shares, FAT
        // drives of other systems): both files keep their names, and a plain
        // rename is what it offers.
        return move(MOVEFILE_REPLACE_EXISTING);
    default:
        break;
    }
    // A file another program holds is reported as denied access by Windows,
    // as not found by Wine: both are a hold, which may soon end.
    return heldByAnother(target) ? DWORD(ERROR_SHARING_VIOLATION) : error;
}

bool worthRetrying(DWORD error) {
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_ACCESS_DENIED:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
        return true;
    default:
        return false;
    }
}

// Programs open a new file for a moment (virus scanners, the search indexer,
// sync clients, a viewer re-reading it): such a hold is waited out, for about
// two seconds in small steps, before the save gives up.
DWORD replaceWaiting(const QString& target, const Scratch& scratch, Commit how) {
    constexpr ULONGLONG Patience = 2000; // milliseconds
    const ULONGLONG deadline = GetTickCount64() + Patience;
    DWORD pause = 10;
    for (;;) {
        const DWORD error = replaceOnce(target, scratch, how);
        if (error == 0 || !worthRetrying(error) || GetTickCount64() >= deadline)
            return error;
        Sleep(pause);
        pause = std::min<DWORD>(pause * 2, 200);
    }
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

    const bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
    const QString longTarget = verbatim(target);
    Scratch scratch = createScratch(longTarget.left(longTarget.lastIndexOf(u'\\')));
    if (scratch.file == INVALID_HANDLE_VALUE)
        return lastError();
    WriteStatus status = writeAll(scratch.file, bytes);
    // On the disk before the name moves: where an old file is replaced, a
    // crash must not leave an empty file in its place.
    if (status.ok() && (replacing || how == Commit::Durable) && !FlushFileBuffers(scratch.file))
        status = lastError();
    if (!CloseHandle(scratch.file) && status.ok())
        status = lastError();
    // What the user gave the old file goes with the new one from the start:
    // ReplaceFileW carries it on NTFS, but not every file system (nor a
    // rename) does.
    if (status.ok() && replacing && (attributes & KeptAttributes) != 0)
        SetFileAttributesW(wide(scratch.temporary), attributes & KeptAttributes);
    if (status.ok()) {
        const DWORD error = replaceWaiting(longTarget, scratch, how);
        if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
            // The old file could not be put back: it stays under the backup
            // name, never deleted, and the message says where.
            removeOwn(scratch.temporary);
            return {WriteError::Other,
                    systemText(error) + QStringLiteral(" The old file is kept as ") +
                        scratch.backup.mid(scratch.backup.lastIndexOf(u'\\') + 1)};
        }
        if (error != 0) {
            status = statusFrom(error);
            // Taken in the meantime by a program that will not share it.
            if (status.error == WriteError::NoPermission && heldByAnother(target))
                status = statusFrom(ERROR_SHARING_VIOLATION);
        }
    }
    if (!status.ok())
        removeOwn(scratch.temporary);
    return status;
}

} // namespace pismolot
