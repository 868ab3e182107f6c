#include "imagefile.h"

#include <QBuffer>
#include <QSaveFile>

#include <algorithm>
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
    // chunks of about 256 KiB. A Format_RGB32 pixel is the bytes B, G, R, 0xFF
    // in memory, so four-byte stores three bytes apart lay the row down and
    // each next store overwrites the stray 0xFF.
    const int rowsPerChunk = int(std::max<qsizetype>(1, (256 * 1024) / rowBytes));
    QByteArray chunk(rowBytes * rowsPerChunk + 1, '\0');
    int filled = 0;
    for (int y = h - 1; y >= 0; --y) {
        const uchar* src = image.constScanLine(y);
        char* dst = chunk.data() + rowBytes * filled;
        for (int x = 0; x < w; ++x)
            std::memcpy(dst + 3 * qsizetype(x), src + 4 * qsizetype(x), 4);
        // Padding bytes are not pixels: zero, so equal pictures give equal files.
        std::fill(dst + qsizetype(w) * 3, dst + rowBytes, '\0');
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
