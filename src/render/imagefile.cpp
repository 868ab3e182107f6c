#include "render/imagefile.h"

#include "render/vectorpicture.h"
#include "render/writesink.h"

#include <QBuffer>
#include <QFileDevice>
#include <QFileInfo>
#include <QImageWriter>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

namespace pismolot {

namespace {

constexpr quint64 BmpHeaderBytes = 54;
constexpr quint64 BmpMaxFileBytes = 0xFFFFFFFFu; // its size fields have 32 bits
constexpr int JpegMaxSide = 65500;               // libjpeg's JPEG_MAX_DIMENSION
constexpr int WebpMaxSide = 16383;               // WEBP_MAX_DIMENSION
constexpr int PngMaxSide = 1000000;              // libpng's default user limit, also for writing

qsizetype bmpRowBytes(int width) {
    return (qsizetype(width) * 3 + 3) & ~qsizetype(3);
}

quint64 bmpFileBytes(int width, int height) {
    return BmpHeaderBytes + quint64(bmpRowBytes(width)) * quint64(height);
}

const char* codecName(ImageFormat format) {
    switch (format) {
    case ImageFormat::Bmp:
        return "bmp";
    case ImageFormat::Png:
        return "png";
    case ImageFormat::Jpeg:
        return "jpeg";
    case ImageFormat::Ppm:
        return "ppm";
    case ImageFormat::Webp:
        return "webp";
    case ImageFormat::Svg:
        return "svg";
    case ImageFormat::Pdf:
        return "pdf";
    }
    return "";
}

// The colour channels as 0xffRRGGBB rows. An ARGB32 picture is read in
// place, its alpha byte ignored: the transparent picture's background pixels
// hold the background colour, so dropping alpha gives the opaque picture.
QImage opaqueRgb32(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_RGB32:
        return image;
    case QImage::Format_ARGB32:
        return QImage(image.constBits(), image.width(), image.height(), image.bytesPerLine(),
                      QImage::Format_RGB32);
    default:
        return image.convertToFormat(QImage::Format_RGB32);
    }
}

void put16(char* p, std::uint16_t v) {
    p[0] = char(v & 0xFF);
    p[1] = char(v >> 8);
}

void put32(char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = char(v >> (8 * i) & 0xFF);
}

// One row of 0xffRRGGBB pixels as blue, green, red bytes. Such a pixel is
// the bytes B, G, R, 0xFF in memory on a little-endian machine, so four-byte
// stores three bytes apart lay the row down, each overwriting the stray byte
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

// Passes writes on to a device and remembers the first one it did not take
// whole, with the errno of that moment (0 when the device set none).
class CheckedDevice final : public QIODevice {
public:
    explicit CheckedDevice(QIODevice& target) : target_(target) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool failed() const { return failed_; }
    int error() const { return error_; }
    void fail(int error) {
        if (!failed_)
            error_ = error;
        failed_ = true;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (failed_)
            return -1;
        errno = 0;
        const qint64 written = target_.write(data, size);
        if (written == size)
            return size;
        fail(errno);
        return -1;
    }

private:
    QIODevice& target_;
    bool failed_ = false;
    int error_ = 0;
};

} // namespace

QString formatTitle(ImageFormat format) {
    switch (format) {
    case ImageFormat::Bmp:
        return QStringLiteral("BMP");
    case ImageFormat::Png:
        return QStringLiteral("PNG");
    case ImageFormat::Jpeg:
        return QStringLiteral("JPEG");
    case ImageFormat::Ppm:
        return QStringLiteral("PPM");
    case ImageFormat::Webp:
        return QStringLiteral("WebP");
    case ImageFormat::Svg:
        return QStringLiteral("SVG");
    case ImageFormat::Pdf:
        return QStringLiteral("PDF");
    }
    return {};
}

QStringList formatExtensions(ImageFormat format) {
    switch (format) {
    case ImageFormat::Bmp:
        return {QStringLiteral(".bmp")};
    case ImageFormat::Png:
        return {QStringLiteral(".png")};
    case ImageFormat::Jpeg:
        return {QStringLiteral(".jpg"), QStringLiteral(".jpeg")};
    case ImageFormat::Ppm:
        return {QStringLiteral(".ppm")};
    case ImageFormat::Webp:
        return {QStringLiteral(".webp")};
    case ImageFormat::Svg:
        return {QStringLiteral(".svg")};
    case ImageFormat::Pdf:
        return {QStringLiteral(".pdf")};
    }
    return {};
}

std::optional<ImageFormat> formatOfExtension(QStringView extension) {
    if (extension.isEmpty())
        return std::nullopt;
    for (const ImageFormat format : AllImageFormats) {
        for (const QString& known : formatExtensions(format)) {
            if (QStringView(known).sliced(1).compare(extension, Qt::CaseInsensitive) == 0)
                return format;
        }
    }
    return std::nullopt;
}

ImageFormat formatForFileName(const QString& fileName, ImageFormat fallback) {
    // The extension of the last part only: "a.d/obraz" has none.
    return formatOfExtension(QFileInfo(fileName).suffix()).value_or(fallback);
}

bool isVectorFormat(ImageFormat format) {
    return format == ImageFormat::Svg || format == ImageFormat::Pdf;
}

bool canWriteFormat(ImageFormat format) {
    if (format == ImageFormat::Bmp || isVectorFormat(format))
        return true; // our own writers
    static const QList<QByteArray> writable = QImageWriter::supportedImageFormats();
    return writable.contains(codecName(format));
}

bool isEmptyPicture(const QImage& image) {
    return image.isNull() || image.width() <= 0 || image.height() <= 0;
}

WriteStatus checkPicture(const QImage& image, ImageFormat format, const VectorPicture* vector) {
    if (isEmptyPicture(image))
        return {WriteError::EmptyPicture,
                QStringLiteral("the picture is empty (it has no column or no row)")};
    if (!canWriteFormat(format))
        return {WriteError::Other,
                QStringLiteral("this build cannot write %1 (Qt's image plugin for it is missing)")
                    .arg(QString::fromLatin1(codecName(format)).toUpper())};
    const int w = image.width();
    const int h = image.height();
    auto sidesAtMost = [&](int limit, const char* name) -> WriteStatus {
        if (w <= limit && h <= limit)
            return {};
        return {WriteError::TooLarge, QStringLiteral("%1 pictures are at most %2 pixels a side")
                                          .arg(QLatin1String(name))
                                          .arg(limit)};
    };
    switch (format) {
    case ImageFormat::Bmp:
        if (bmpFileBytes(w, h) > BmpMaxFileBytes)
            return {WriteError::TooLarge, QStringLiteral("a BMP file cannot hold 4 GiB or more")};
        return {};
    case ImageFormat::Png:
        return sidesAtMost(PngMaxSide, "PNG");
    case ImageFormat::Jpeg:
        return sidesAtMost(JpegMaxSide, "JPEG");
    case ImageFormat::Webp:
        return sidesAtMost(WebpMaxSide, "WebP");
    case ImageFormat::Ppm:
        return {};
    case ImageFormat::Svg:
    case ImageFormat::Pdf:
        if (!vector || vector->size != image.size())
            return {WriteError::Other,
                    QStringLiteral("no outlines of this picture were made for %1")
                        .arg(formatTitle(format))};
        return {};
    }
    return {};
}

bool writeBmp24(QIODevice& device, const QImage& source) {
    if (!checkPicture(source, ImageFormat::Bmp).ok())
        return false;
    const QImage image = opaqueRgb32(source);
    const int w = image.width();
    const int h = image.height();
    const qsizetype rowBytes = bmpRowBytes(w);
    const qsizetype pixelBytes = rowBytes * h;
    char header[BmpHeaderBytes] = {};
    header[0] = 'B';
    header[1] = 'M';
    put32(header + 2, std::uint32_t(bmpFileBytes(w, h)));
    put32(header + 10, BmpHeaderBytes);
    put32(header + 14, 40);
    put32(header + 18, std::uint32_t(w));
    put32(header + 22, std::uint32_t(h));
    put16(header + 26, 1);
    put16(header + 28, 24);
    put32(header + 34, std::uint32_t(pixelBytes));
    put32(header + 38, std::uint32_t(source.dotsPerMeterX() > 0 ? source.dotsPerMeterX() : 3780));
    put32(header + 42, std::uint32_t(source.dotsPerMeterY() > 0 ? source.dotsPerMeterY() : 3780));
    if (device.write(header, sizeof header) != qint64(sizeof header))
        return false;

    // Bottom-up rows of blue, green, red, each padded to four bytes, sent in
    // chunks of about 256 KiB (a small picture in one).
    const int rowsPerChunk = int(std::clamp<qsizetype>(qsizetype{256} * 1024 / rowBytes, 1, h));
    QByteArray chunk(rowBytes * rowsPerChunk + 1, Qt::Uninitialized);
    uchar* const base = reinterpret_cast<uchar*>(chunk.data());
    int filled = 0;
    for (int y = h - 1; y >= 0; --y) {
        uchar* row = base + rowBytes * filled;
        packRow(reinterpret_cast<const std::uint32_t*>(image.constScanLine(y)), w, row);
        // Padding bytes are not pixels: zero, so equal pictures give equal files.
        std::fill(row + qsizetype(w) * 3, row + rowBytes, uchar(0));
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
    if (!checkPicture(image, ImageFormat::Bmp).ok())
        return bytes;
    bytes.reserve(qsizetype(bmpFileBytes(image.width(), image.height())));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!writeBmp24(buffer, image))
        return QByteArray();
    return bytes;
}

bool detail::encodeImage(QIODevice& out, const QImage& image, ImageFormat format, QString* reason,
                         const VectorPicture* vector) {
    if (isVectorFormat(format)) {
        if (vector &&
            (format == ImageFormat::Svg ? writeSvg(out, *vector) : writePdf(out, *vector)))
            return true;
        if (reason)
            *reason = QStringLiteral("the %1 writer stopped").arg(formatTitle(format));
        return false;
    }
    if (format == ImageFormat::Bmp) {
        if (writeBmp24(out, image))
            return true;
        if (reason)
            *reason = QStringLiteral("the BMP writer stopped");
        return false;
    }
    const bool keepAlpha =
        (format == ImageFormat::Png || format == ImageFormat::Webp) && image.hasAlphaChannel();
    QImageWriter writer(&out, codecName(format));
    if (format == ImageFormat::Jpeg)
        writer.setQuality(95);
    else if (format == ImageFormat::Webp)
        writer.setQuality(100); // lossless: letter edges stay exact
    if (writer.write(keepAlpha ? image : opaqueRgb32(image)))
        return true;
    if (reason)
        *reason = writer.errorString();
    return false;
}

WriteStatus writeImage(QIODevice& device, const QImage& image, ImageFormat format,
                       const VectorPicture* vector) {
    if (WriteStatus refused = checkPicture(image, format, vector); !refused.ok())
        return refused;
    if (!device.isWritable())
        return {WriteError::Other, QStringLiteral("the output is not open for writing")};
    detail::WriteSignalGuard signalGuard;
    CheckedDevice sink(device);
    QString reason;
    const bool encoded = detail::encodeImage(sink, image, format, &reason, vector);
    // A file device holds the last bytes in its buffer until flushed.
    auto* file = qobject_cast<QFileDevice*>(&device);
    if (file && !sink.failed()) {
        errno = 0;
        if (!file->flush())
            sink.fail(errno);
    }
    if (sink.failed()) {
        WriteStatus status = detail::statusFromErrno(sink.error());
        if (sink.error() == 0) {
            const QString text = device.errorString();
            status = {WriteError::Other, text.isEmpty() || text == QLatin1String("Unknown error")
                                             ? QStringLiteral("the output did not take every byte")
                                             : text};
        }
        // What a file device could not send it would try again at its close,
        // outside the guard (a pipe without a reader would then end the
        // process): close it here, dropping those bytes.
        if (file)
            file->close();
        return status;
    }
    if (!encoded)
        return {WriteError::Other, reason};
    return {};
}

} // namespace pismolot
