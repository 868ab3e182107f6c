// The copy on Windows, read back through Windows' own clipboard as Paint,
// Word and browsers read it: the standard bitmap (CF_DIB) and PNG, both of
// the picture's own pixels; and a clipboard that another program holds open
// takes nothing and says so in Polish.
#include "mainwin/output.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <thread>

namespace {

QImage picture() {
    QImage image(40, 12, QImage::Format_RGB32);
    image.fill(qRgb(200, 30, 90));
    image.setPixel(3, 4, qRgb(0, 0, 0));
    image.setPixel(39, 11, qRgb(10, 250, 20));
    return image;
}

// The bytes of one clipboard format, empty where it is not offered.
QByteArray clipboardBytes(UINT format) {
    QByteArray bytes;
    if (!OpenClipboard(nullptr))
        return bytes;
    if (HANDLE handle = GetClipboardData(format)) {
        if (const void* data = GlobalLock(handle)) {
            bytes = QByteArray(static_cast<const char*>(data), qsizetype(GlobalSize(handle)));
            GlobalUnlock(handle);
        }
    }
    CloseClipboard();
    return bytes;
}

// A CF_DIB as a BMP file: the file header the format leaves out, before it.
QImage fromDib(const QByteArray& dib) {
    if (dib.size() < qsizetype(sizeof(BITMAPINFOHEADER)))
        return {};
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib.constData(), sizeof header);
    DWORD offset = sizeof(BITMAPFILEHEADER) + header.biSize + header.biClrUsed * 4;
    if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER))
        offset += 3 * 4;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfSize = DWORD(sizeof file + dib.size());
    file.bfOffBits = offset;
    QByteArray bmp(reinterpret_cast<const char*>(&file), sizeof file);
    bmp += dib;
    return QImage::fromData(bmp, "BMP");
}

TEST(WindowsClipboard, HoldsTheStandardBitmapAndPng) {
    QClipboard& clipboard = *QGuiApplication::clipboard();
    ASSERT_EQ(output::copyPicture(clipboard, picture()), QString());
    const QImage dib = fromDib(clipboardBytes(CF_DIB));
    ASSERT_FALSE(dib.isNull()) << "no CF_DIB on the clipboard";
    EXPECT_EQ(dib.convertToFormat(QImage::Format_RGB32), picture());
    const QImage png = QImage::fromData(clipboardBytes(RegisterClipboardFormatW(L"PNG")), "PNG");
    ASSERT_FALSE(png.isNull()) << "no PNG on the clipboard";
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), picture());
}

TEST(WindowsClipboard, HeldByAnotherProgramSaysSo) {
    QClipboard& clipboard = *QGuiApplication::clipboard();
    // Another program, on a thread of its own, opens the clipboard and keeps
    // it open while the picture is copied.
    std::promise<bool> opened;
    std::promise<void> done;
    std::thread holder([&] {
        opened.set_value(OpenClipboard(nullptr) != FALSE);
        done.get_future().wait();
        CloseClipboard();
    });
    ASSERT_TRUE(opened.get_future().get());
    const QString message = output::copyPicture(clipboard, picture());
    done.set_value();
    holder.join();
    EXPECT_TRUE(message.startsWith(QStringLiteral("Nie udało się skopiować efektu do schowka.")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("inny program"))) << message.toStdString();
}

} // namespace
