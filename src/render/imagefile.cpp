#include "imagefile.h"

#include <QBuffer>
#include <QSaveFile>

#include <algorithm>
#include <bit>
#include <cstring>

namespace pismolot {

namespace {

void put16(char* p, std::uint16_t v) {
    p[0] = char(v & 0xFF);
    p[1] = char(v >> 8);
}

void put32(char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = char(v >> (8 * i) & 0xFF);
}

// One row of 0xFFRRGGBB pixels as blue, green, red bytes. Such a pixel is
// the bytes B, G, R, 0xFF in memory on a little-endian machine, so four-byte
// stores three bytes apart lay the row down, each overwriting the stray 0xFF
// of the one before; `dst` needs one byte of room past the row.
void packRow(const std::uint32_t* src, int width, uchar* dst) {
    if constexpr (std::endian::native == std::endian::little) {
        for (int x = 0; x < width; ++x)
            std::memcpy(dst + 3 * qsizetype(x), src + x, 4);
    } else {
        for (int x = 0; x < width; ++x, dst += 3) {
            dst[0] = uchar(src[x]);
            dst[1] = uchar(src[x] >> 8);
            dst[2] = uchar(src[x] >> 16);
        }
    }
}

} // namespace

bool writeBmp24(QIODevice& device, const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    const qsizetype rowBytes = (qsizetype(w) * 3 + 3) & ~qsizetype(3);
    const qsizetype pixelBytes = rowBytes * h;
    char header[54] = {};
    header[0] = 'B';
    header[1] = 'M';
    put32(header + 2, std::uint32_t(54 + pixelBytes));
    put32(header + 10, 54);
    put32(header + 14, 40);
    put32(header + 18, std::uint32_t(w));
    put32(header + 22, std::uint32_t(h));
    put16(header + 26, 1);
    put16(header + 28, 24);
    put32(header + 34, std::uint32_t(pixelBytes));
    put32(header + 38, std::uint32_t(image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() : 3780));
    put32(header + 42, std::uint32_t(image.dotsPerMeterY() > 0 ? image.dotsPerMeterY() : 3780));
    if (device.write(header, sizeof header) != qint64(sizeof header))
        return false;

    // Bottom-up rows of blue, green, red, each padded to four bytes, sent in
    // chunks of about 256 KiB.
    const int rowsPerChunk = int(std::max<qsizetype>(1, (256 * 1024) / rowBytes));
    QByteArray chunk(rowBytes * rowsPerChunk + 1, '\0');
    int filled = 0;
    for (int y = h - 1; y >= 0; --y) {
        packRow(reinterpret_cast<const std::uint32_t*>(image.constScanLine(y)), w,
                reinterpret_cast<uchar*>(chunk.data()) + rowBytes * filled);
        // Padding bytes are not pixels: zero, so equal pictures give equal files.
        std::fill(chunk.data() + rowBytes * filled + qsizetype(w) * 3,
                  chunk.data() + rowBytes * (filled + 1), '\0');
        if (++filled == rowsPerChunk || y == 0) {
            const qsizetype bytes = rowBytes * filled;
            if (device.write(chunk.constData(), bytes) != bytes)
                return false;
            filled = 0;
        }
    }
    return true;
}

QByteArray encodeBmp24(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writeBmp24(buffer, image);
    return bytes;
}

bool writeImageFile(const QString& path, const QImage& image, ImageFileFormat format,
                    QString* error) {
    auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return fail(QStringLiteral("obraz jest pusty (nie ma ani jednej kolumny lub wiersza)"));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const bool written = format == ImageFileFormat::Bmp24
                             ? writeBmp24(file, image)
                             : image.convertToFormat(QImage::Format_RGB32).save(&file, "PNG");
    if (!written) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason.isEmpty() ? QStringLiteral("zapis się nie powiódł") : reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace pismolot
