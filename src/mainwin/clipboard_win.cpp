// The picture on Windows' clipboard as Paint, Word and browsers read it: the
// registered format "PNG" and the standard bitmap, CF_DIB (from which
// Windows makes CF_BITMAP and CF_DIBV5 itself). Qt 6.4 offers neither for an
// opaque picture (only formats named after MIME types, which only Qt
// programs know, and a bitmap of its own), and reads back its own data even
// where the system refused it; so the clipboard is written here, and a
// clipboard that another program holds open is seen as such.
#include "mainwin/clipboard.h"

#include <QByteArray>
#include <QMimeData>

#include <windows.h>

#include <cstring>
#include <memory>

namespace {

// BITMAPFILEHEADER, which a BMP file has and CF_DIB leaves out.
constexpr qsizetype BmpFileHeaderSize = 14;
// A clipboard that another program has open now may be free a moment later.
constexpr int OpenAttempts = 5;
constexpr DWORD OpenRetryMs = 20;

bool put(UINT format, QByteArrayView bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, SIZE_T(bytes.size()));
    if (!block)
        return false;
    void* target = GlobalLock(block);
    if (!target) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(target, bytes.data(), std::size_t(bytes.size()));
    GlobalUnlock(block);
    if (!SetClipboardData(format, block)) {
        GlobalFree(block);
        return false;
    }
    return true; // the clipboard owns the block now
}

// The clipboard is opened for a window, or SetClipboardData fails: a
// message-only one of its own, for as long as the copy takes.
struct ClipboardOwner {
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ClipboardOwner() = default;
    ClipboardOwner(const ClipboardOwner&) = delete;
    ClipboardOwner& operator=(const ClipboardOwner&) = delete;
    ~ClipboardOwner() {
        if (window)
            DestroyWindow(window);
    }
};

} // namespace

// Windows' clipboard gets the registered PNG and the bitmap only.
bool clipboardTakesSvg() {
    return false;
}

bool placePicture(QClipboard& /*clipboard*/, QMimeData* data, const QImage& /*picture*/) {
    const std::unique_ptr<QMimeData> owned(data);
    const QByteArray png = data->data(QStringLiteral("image/png"));
    const QByteArray bmp = data->data(QStringLiteral("image/bmp"));
    if (bmp.size() <= BmpFileHeaderSize)
        return false;
    const ClipboardOwner owner;
    if (!owner.window)
        return false;
    bool open = false;
    for (int attempt = 0; attempt < OpenAttempts && !open; ++attempt) {
        if (attempt > 0)
            Sleep(OpenRetryMs);
        open = OpenClipboard(owner.window) != FALSE;
    }
    if (!open)
        return false;
    // The order is the offer, as elsewhere: PNG first, then the bitmap.
    bool placed = EmptyClipboard() != FALSE;
    if (placed && !png.isEmpty())
        placed = put(RegisterClipboardFormatW(L"PNG"), png);
    if (placed)
        placed = put(CF_DIB, QByteArrayView(bmp).sliced(BmpFileHeaderSize));
    CloseClipboard();
    return placed;
}
