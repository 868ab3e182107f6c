// GDI draws glyphs from outlines (TrueType or CFF) or from raster fonts; a
// font whose glyphs are only colour bitmaps (CBDT, sbix) has neither, and
// Qt's GDI engine faults drawing it. Windows ships no such font, but Wine
// lists the host's (Noto Color Emoji), so each family is asked once.
#include "fonts.h"

#include <QHash>
#include <QMutex>

#include <windows.h>

#include <algorithm>
#include <cstdint>

namespace pismolot {
namespace {

constexpr DWORD tableTag(char a, char b, char c, char d) {
    return DWORD(std::uint8_t(a)) | DWORD(std::uint8_t(b)) << 8 | DWORD(std::uint8_t(c)) << 16 |
           DWORD(std::uint8_t(d)) << 24;
}

bool hasTable(HDC dc, DWORD tag) {
    return GetFontData(dc, tag, 0, nullptr, 0) != GDI_ERROR;
}

bool drawableByGdi(const QString& family) {
    LOGFONTW request = {};
    request.lfHeight = -16;
    request.lfCharSet = DEFAULT_CHARSET;
    const auto length = std::min<qsizetype>(family.size(), LF_FACESIZE - 1);
    std::copy_n(reinterpret_cast<const wchar_t*>(family.utf16()), length, request.lfFaceName);
    HFONT font = CreateFontIndirectW(&request);
    if (!font)
        return true;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    // Raster fonts have no tables at all; an OpenType font needs outlines.
    const bool openType = hasTable(dc, 0);
    const bool drawable = !openType || hasTable(dc, tableTag('g', 'l', 'y', 'f')) ||
                          hasTable(dc, tableTag('C', 'F', 'F', ' ')) ||
                          hasTable(dc, tableTag('C', 'F', 'F', '2'));
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(font);
    return drawable;
}

} // namespace

bool platformDrawsFamily(const QString& family) {
    static QMutex mutex;
    static QHash<QString, bool> known;
    const QString key = family.toCaseFolded();
    const QMutexLocker lock(&mutex);
    const auto found = known.constFind(key);
    if (found != known.cend())
        return *found;
    return *known.insert(key, drawableByGdi(family));
}

} // namespace pismolot
