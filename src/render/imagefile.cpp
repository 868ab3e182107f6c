#include "imagefile.h"

#include <QBuffer>
#include <QSaveFile>

#include <algorithm>

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
    // Qt's BGR888 is the BMP's byte order, and its rows are padded to four
    // bytes as the BMP's are: the rows can be written as they stand.
    QImage image = source.convertToFormat(QImage::Format_BGR888);
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
    Q_ASSERT(image.bytesPerLine() >= rowBytes);
    for (int y = h - 1; y >= 0; --y) {
        // Padding bytes are not pixels; keep them zero so equal pictures give equal files.
        uchar* row = image.scanLine(y);
        std::fill(row + qsizetype(w) * 3, row + rowBytes, uchar(0));
        if (device.write(reinterpret_cast<const char*>(row), rowBytes) != rowBytes)
            return false;
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
