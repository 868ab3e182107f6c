#include "imagefile.h"

#include <QBuffer>
#include <QSaveFile>

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

QByteArray encodeBmp24(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    const qsizetype rowBytes = (qsizetype(w) * 3 + 3) & ~qsizetype(3);
    const qsizetype pixelBytes = rowBytes * h;
    QByteArray out(54 + pixelBytes, '\0');
    char* p = out.data();
    p[0] = 'B';
    p[1] = 'M';
    put32(p + 2, std::uint32_t(out.size()));
    put32(p + 10, 54);
    put32(p + 14, 40);
    put32(p + 18, std::uint32_t(w));
    put32(p + 22, std::uint32_t(h));
    put16(p + 26, 1);
    put16(p + 28, 24);
    put32(p + 34, std::uint32_t(pixelBytes));
    const std::uint32_t ppm = std::uint32_t(image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() : 3780);
    put32(p + 38, ppm);
    put32(p + 42, std::uint32_t(image.dotsPerMeterY() > 0 ? image.dotsPerMeterY() : 3780));
    // Bottom-up rows, blue-green-red.
    for (int y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        char* dst = p + 54 + rowBytes * (h - 1 - y);
        for (int x = 0; x < w; ++x) {
            dst[3 * x] = char(src[x] & 0xFF);
            dst[3 * x + 1] = char(src[x] >> 8 & 0xFF);
            dst[3 * x + 2] = char(src[x] >> 16 & 0xFF);
        }
    }
    return out;
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

    QByteArray bytes;
    if (format == ImageFileFormat::Bmp24) {
        bytes = encodeBmp24(image);
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.convertToFormat(QImage::Format_RGB32).save(&buffer, "PNG"))
            return fail(QStringLiteral("nie udało się zakodować obrazu PNG"));
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace pismolot
