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
    // Opening an existing file to write changes nothing in it; a name that
    // does not exist yet is not opened at all.
    const HANDLE handle = CreateFileW(wide(name), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool terminal = isConsole(handle);
    CloseHandle(handle);
    return terminal;
}

bool namesNullDevice(const QString& name) {
    const QString last = QFileInfo(name).fileName();
    return checkWindowsName(last) == WindowsName::Device &&
           last.section(u'.', 0, 0).trimmed().compare(QLatin1String("NUL"), Qt::CaseInsensitive) ==
               0;
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

void write(std::FILE* stream, const QString& text) {
    const HANDLE handle = handleOf(_fileno(stream));
    if (!isConsole(handle)) {
        const QByteArray bytes = text.toUtf8();
        std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
        return;
    }
    // Characters, so that Polish letters show whatever the console's code
    // page; in pieces, as a console takes only so much at once.
    std::fflush(stream);
    constexpr qsizetype Piece = 8192;
    for (qsizetype at = 0; at < text.size(); at += Piece) {
        const QStringView piece = QStringView(text).mid(at, Piece);
        DWORD written = 0;
        WriteConsoleW(handle, piece.utf16(), DWORD(piece.size()), &written, nullptr);
    }
}

bool takesEscapes(int fd) {
    const HANDLE handle = handleOf(fd);
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode) == 0)
        return false;
    return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
           SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
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
