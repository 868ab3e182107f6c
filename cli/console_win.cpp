#include "console.h"

#include "render/filename.h"

#include <QByteArray>
#include <QFileInfo>

#include <windows.h>

#include <shellapi.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <mutex>
#include <set>
#include <sys/stat.h>

namespace pismolot::cli::console {

namespace {

const wchar_t* wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

QString systemText(int error) {
    return QString::fromWCharArray(_wcserror(error));
}

HANDLE handleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

// A console, not merely a character device: NUL is one of those too, and
// writing a picture there is as harmless as to /dev/null.
bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

} // namespace

bool isTerminal(int fd) {
    return isConsole(handleOf(fd));
}

bool namesTerminal(const QString& name) {
    // A device name with an extension (con.png) is refused as a reserved
    // name, whatever Windows makes of it: Windows 10 a device, 11 a file.
    const QString last = QFileInfo(name).fileName();
    if (checkWindowsName(last) == WindowsName::Device &&
        !QStringList{QStringLiteral("CON"), QStringLiteral("CONOUT$"), QStringLiteral("CONIN$")}
             .contains(last, Qt::CaseInsensitive))
        return false;
    // Opening an existing file changes nothing in it; a name that does not
    // exist yet is not opened at all. A console's mode is read only through a
    // handle that may read, and CON opens for reading or for writing, never
    // both: it is known by its handle's type then.
    constexpr DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE handle = CreateFileW(wide(name), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        const bool terminal = isConsole(handle);
        CloseHandle(handle);
        return terminal;
    }
    handle = CreateFileW(wide(name), GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool terminal = GetFileType(handle) == FILE_TYPE_CHAR;
    CloseHandle(handle);
    return terminal;
}

bool namesNullDevice(const QString& name) {
    return QFileInfo(name).fileName().compare(QLatin1String("NUL"), Qt::CaseInsensitive) == 0;
}

int openToRead(const QString& name, QString* error) {
    const DWORD attributes = GetFileAttributesW(wide(name));
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        *error = QStringLiteral("it is a folder");
        return -1;
    }
    const int fd = _wopen(wide(name), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (fd < 0)
        *error = systemText(errno);
    return fd;
}

std::int64_t readSome(int fd, char* data, std::int64_t size) {
    const unsigned chunk = size > (1 << 30) ? 1U << 30 : unsigned(size);
    return _read(fd, data, chunk);
}

std::optional<std::int64_t> regularFilePosition(int fd) {
    if (GetFileType(handleOf(fd)) != FILE_TYPE_DISK)
        return std::nullopt;
    const std::int64_t position = _lseeki64(fd, 0, SEEK_CUR);
    return position >= 0 ? std::optional<std::int64_t>(position) : std::nullopt;
}

bool seekTo(int fd, std::int64_t position) {
    return _lseeki64(fd, position, SEEK_SET) == position;
}

void setUpStreams() {
    // A picture on standard output must reach the pipe byte for byte.
    for (const int fd : {StandardInput, StandardOutput, StandardError})
        _setmode(fd, _O_BINARY);
}

QStringList arguments(int /*argc*/, char** /*argv*/) {
    // The bytes of argv are in the ANSI code page, which cannot hold every
    // name; the command line itself is UTF-16.
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    QStringList result;
    for (int i = 1; i < count; ++i)
        result << QString::fromWCharArray(words[i]);
    LocalFree(reinterpret_cast<HLOCAL>(words));
    return result;
}

namespace {

// The console's output mode belongs to the console, which the shell shares:
// escape codes are switched on only while this program writes them, so the
// mode is the shell's again between writes and at any exit.
std::mutex consoleLock;
std::set<HANDLE> escapesWanted;

// Writes all of `text`, in pieces a console takes, each as many characters
// as it reports written; false when the console refuses.
bool writeConsole(HANDLE handle, QStringView text) {
    constexpr qsizetype Piece = 8192;
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype end = pieceEnd(text, at, Piece);
        DWORD written = 0;
        if (!WriteConsoleW(handle, text.utf16() + at, DWORD(end - at), &written, nullptr) ||
            written == 0)
            return false;
        at += qsizetype(written);
    }
    return true;
}

} // namespace

void write(std::FILE* stream, const QString& text) {
    const HANDLE handle = handleOf(_fileno(stream));
    if (!isConsole(handle)) {
        // Pipes and files get UTF-8 (PowerShell 5.1 reads it with
        // [Console]::OutputEncoding = [Text.Encoding]::UTF8).
        const QByteArray bytes = text.toUtf8();
        std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
        return;
    }
    // Characters, so that Polish letters show whatever the console's code
    // page.
    std::fflush(stream);
    const std::lock_guard lock(consoleLock);
    DWORD mode = 0;
    const bool switchOn = escapesWanted.count(handle) != 0 && text.contains(u'\x1b') &&
                          GetConsoleMode(handle, &mode) &&
                          (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) == 0 &&
                          SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    writeConsole(handle, text);
    if (switchOn)
        SetConsoleMode(handle, mode);
}

bool takesEscapes(int fd) {
    const HANDLE handle = handleOf(fd);
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode) == 0)
        return false;
    if ((mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0)
        return true;
    // Tried, and put back at once: write() switches it on for its escapes.
    if (SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) == 0)
        return false;
    SetConsoleMode(handle, mode);
    const std::lock_guard lock(consoleLock);
    escapesWanted.insert(handle);
    return true;
}

void useHeadlessPlatform() {
    // The minimal platform with Windows' own font list (GDI), the one the
    // windows draw with; the offscreen platform reads only Qt's own font
    // folder here.
    qputenv("QT_QPA_PLATFORM", "minimal:enable_fonts");
    qunsetenv("QT_QPA_PLATFORMTHEME");
    qunsetenv("QT_QPA_GENERIC_PLUGINS");
}

} // namespace pismolot::cli::console
