// Encoding pictures: the BMP bytes against a plain reference, the limits of
// each format, alpha, and a device that stops taking bytes part-way.
#include "render/imagefile.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>

using namespace pismolot;

namespace {

QImage sample(int w, int h, QImage::Format format = QImage::Format_RGB32) {
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgba(x * 40 % 256, y * 70 % 256, (x + y) * 13 % 256, 255));
    return image.convertToFormat(format);
}

// Letters on a background that is fully transparent but keeps its colour,
// as the renderer makes a transparent picture.
QImage transparentSample(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(qRgba(30, 140, 220, 0));
    for (int y = h / 4; y < h * 3 / 4; ++y)
        for (int x = w / 5; x < w * 4 / 5; ++x)
            if ((x / 3 + y / 4) % 2)
                image.setPixel(x, y, qRgba(250, y * 255 / h, 10, 255));
    return image;
}

void put32(QByteArray& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.append(char(v >> (8 * i) & 0xFF));
}

// A BMP written the plain way, pixel by pixel, to hold the fast writer to.
QByteArray referenceBmp(const QImage& image) {
    const int w = image.width();
    const int h = image.height();
    const int pad = (4 - w * 3 % 4) % 4;
    const std::uint32_t pixelBytes = std::uint32_t((w * 3 + pad) * h);
    QByteArray b("BM");
    put32(b, 54 + pixelBytes);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, std::uint32_t(w));
    put32(b, std::uint32_t(h));
    b.append(char(1)).append(char(0)).append(char(24)).append(char(0));
    put32(b, 0); // uncompressed
    put32(b, pixelBytes);
    put32(b, std::uint32_t(image.dotsPerMeterX()));
    put32(b, std::uint32_t(image.dotsPerMeterY()));
    put32(b, 0);
    put32(b, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const QRgb p = image.pixel(x, y);
            b.append(char(qBlue(p))).append(char(qGreen(p))).append(char(qRed(p)));
        }
        b.append(pad, '\0');
    }
    return b;
}

struct BmpCase {
    const char* name;
    QImage image;
};

void PrintTo(const BmpCase& c, std::ostream* os) {
    *os << c.name;
}

class BmpBytes : public testing::TestWithParam<BmpCase> {};

// Every byte, padding and header included: a writer that left stray bytes in
// the padding or lost a row at a chunk boundary would differ here.
TEST_P(BmpBytes, EqualTheReferenceWriter) {
    const QImage& image = GetParam().image;
    const QByteArray expected = referenceBmp(image);
    const QByteArray bmp = encodeBmp24(image);
    ASSERT_EQ(bmp.size(), expected.size());
    for (qsizetype i = 0; i < bmp.size(); ++i)
        ASSERT_EQ(uchar(bmp[i]), uchar(expected[i])) << "first difference at byte " << i;

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(writeImage(buffer, image, ImageFormat::Bmp).ok());
    EXPECT_EQ(buffer.data(), expected) << "the streaming writer gives the same bytes";
}

QImage withDensity(QImage image) {
    image.setDotsPerMeterX(5669);
    image.setDotsPerMeterY(4000);
    return image;
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, BmpBytes,
    testing::Values(BmpCase{"OneColumnThreePaddingBytes", sample(1, 3)},
                    BmpCase{"TwoColumnsTwoPaddingBytes", sample(2, 5)},
                    BmpCase{"ThreeColumnsOnePaddingByte", sample(3, 4)},
                    BmpCase{"FourColumnsNoPadding", sample(4, 2)},
                    BmpCase{"OneRow", sample(150, 1)}, BmpCase{"SmallLabel", sample(150, 40)},
                    BmpCase{"ThreeChunksPaddedRows", sample(333, 700)},
                    BmpCase{"TallColumnTwoChunks", sample(1, 70000)},
                    BmpCase{"DensityFromThePicture", withDensity(sample(7, 3))},
                    BmpCase{"AlphaDroppedColourKept", transparentSample(31, 9)},
                    BmpCase{"Rgb888Source", sample(13, 6, QImage::Format_RGB888)},
                    BmpCase{"IndexedSource", sample(9, 9, QImage::Format_Indexed8)}),
    [](const testing::TestParamInfo<BmpCase>& info) { return std::string(info.param.name); });

constexpr ImageFormat AllFormats[] = {ImageFormat::Bmp, ImageFormat::Png, ImageFormat::Jpeg,
                                      ImageFormat::Ppm, ImageFormat::Webp};

std::string formatName(ImageFormat format) {
    switch (format) {
    case ImageFormat::Bmp:
        return "Bmp";
    case ImageFormat::Png:
        return "Png";
    case ImageFormat::Jpeg:
        return "Jpeg";
    case ImageFormat::Ppm:
        return "Ppm";
    case ImageFormat::Webp:
        return "Webp";
    case ImageFormat::Svg:
        return "Svg";
    case ImageFormat::Pdf:
        return "Pdf";
    }
    return "?";
}

} // namespace

namespace pismolot {
void PrintTo(ImageFormat format, std::ostream* os) {
    *os << formatName(format);
}
} // namespace pismolot

namespace {

const char* readerFormat(ImageFormat format) {
    switch (format) {
    case ImageFormat::Bmp:
        return "BMP";
    case ImageFormat::Png:
        return "PNG";
    case ImageFormat::Jpeg:
        return "JPEG";
    case ImageFormat::Ppm:
        return "PPM";
    case ImageFormat::Webp:
        return "WEBP";
    case ImageFormat::Svg:
    case ImageFormat::Pdf:
        break;
    }
    return "";
}

QByteArray encoded(const QImage& image, ImageFormat format) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const WriteStatus status = writeImage(buffer, image, format);
    EXPECT_TRUE(status.ok()) << status.systemText.toStdString();
    return buffer.data();
}

// Every extension in the table names its own format back, in any case; a
// name's extension only counts where it names one.
TEST(FormatNames, ExtensionsNameTheirFormatInAnyCase) {
    for (const ImageFormat format : AllFormats) {
        for (const QString& extension : formatExtensions(format)) {
            ASSERT_TRUE(extension.startsWith('.'));
            EXPECT_EQ(formatOfExtension(extension.mid(1).toUpper()), format);
            EXPECT_EQ(formatForFileName("a/obraz" + extension, ImageFormat::Ppm), format);
        }
    }
    for (const char* name : {"obraz", "obraz.", "obraz.gif", "a.png/obraz", ".", "obraz.png.txt"})
        EXPECT_EQ(formatForFileName(name, ImageFormat::Webp), ImageFormat::Webp) << name;
    EXPECT_EQ(formatOfExtension(u""), std::nullopt);
    EXPECT_EQ(formatOfExtension(u".png"), std::nullopt);
}

TEST(EmptyPicture, IsRefusedByEveryWriterWithoutAByteWritten) {
    EXPECT_TRUE(encodeBmp24(QImage()).isEmpty());
    for (const QImage& empty : {QImage(), QImage(0, 7, QImage::Format_RGB32)}) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        EXPECT_FALSE(writeBmp24(buffer, empty));
        for (ImageFormat format : AllFormats) {
            EXPECT_EQ(checkPicture(empty, format).error, WriteError::EmptyPicture);
            EXPECT_EQ(writeImage(buffer, empty, format).error, WriteError::EmptyPicture);
        }
        EXPECT_TRUE(buffer.data().isEmpty());
    }
}

struct LimitCase {
    const char* name;
    ImageFormat format;
    int width, height;
    bool fits;
};

void PrintTo(const LimitCase& c, std::ostream* os) {
    *os << c.name;
}

class FormatLimits : public testing::TestWithParam<LimitCase> {};

// Only the size matters, so a picture of any size can stand on one small
// buffer that is never read.
TEST_P(FormatLimits, RefuseWhatTheFileCannotHold) {
    const LimitCase& c = GetParam();
    if (!canWriteFormat(c.format))
        GTEST_SKIP() << "this build writes no " << formatName(c.format)
                     << " (Qt's image plugin for it is missing)";
    static const uchar pixels[16] = {};
    const QImage image(pixels, c.width, c.height, qsizetype(c.width) * 4, QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(c.width, c.height));
    const WriteStatus status = checkPicture(image, c.format);
    EXPECT_EQ(status.error, c.fits ? WriteError::None : WriteError::TooLarge)
        << status.systemText.toStdString();
    if (!c.fits) {
        EXPECT_FALSE(status.systemText.isEmpty());
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        EXPECT_EQ(writeImage(buffer, image, c.format).error, WriteError::TooLarge);
        EXPECT_TRUE(buffer.data().isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, FormatLimits,
    testing::Values(
        // 54 + 65532 * 65539 bytes is the largest BMP under 4 GiB of this width.
        LimitCase{"BmpLargestUnder4GiB", ImageFormat::Bmp, 21844, 65539, true},
        LimitCase{"BmpOneRowMore", ImageFormat::Bmp, 21844, 65540, false},
        LimitCase{"BmpWideAndTall", ImageFormat::Bmp, 100000, 100000, false},
        LimitCase{"JpegWidest", ImageFormat::Jpeg, 65500, 1, true},
        LimitCase{"JpegTooWide", ImageFormat::Jpeg, 65501, 1, false},
        LimitCase{"JpegTooTall", ImageFormat::Jpeg, 1, 65501, false},
        LimitCase{"WebpWidest", ImageFormat::Webp, 16383, 2, true},
        LimitCase{"WebpTooWide", ImageFormat::Webp, 16384, 2, false},
        LimitCase{"WebpTooTall", ImageFormat::Webp, 2, 16384, false},
        LimitCase{"PngWidest", ImageFormat::Png, 1000000, 1, true},
        LimitCase{"PngTooWide", ImageFormat::Png, 1000001, 1, false},
        LimitCase{"PpmVeryWide", ImageFormat::Ppm, 1000001, 1, true}),
    [](const testing::TestParamInfo<LimitCase>& info) {
        if (info.param.format == ImageFormat::Webp && !canWriteFormat(ImageFormat::Webp))
            return std::string(info.param.name) + "_NoPlugin";
        return std::string(info.param.name);
    });

// Takes `limit` bytes, then stops: the last write that crosses the limit is
// taken in part, every later one refused.
class StoppingDevice final : public QIODevice {
public:
    explicit StoppingDevice(qint64 limit) : limit_(limit) { open(QIODevice::WriteOnly); }
    QByteArray taken;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        const qint64 room = limit_ - taken.size();
        if (room <= 0)
            return -1;
        const qint64 n = std::min(room, size);
        taken.append(data, n);
        return n;
    }

private:
    qint64 limit_;
};

enum class Cut { Nothing, InsideHeader, MidRows, LastByte };

qint64 cutAt(Cut cut, qint64 size) {
    switch (cut) {
    case Cut::Nothing:
        return 0;
    case Cut::InsideHeader:
        return 10;
    case Cut::MidRows:
        return size / 2;
    case Cut::LastByte:
        return size - 1;
    }
    return size;
}

std::string cutName(Cut cut) {
    const char* names[] = {"Nothing", "InsideHeader", "MidRows", "AllButTheLastByte"};
    return names[int(cut)];
}

void PrintTo(Cut cut, std::ostream* os) {
    *os << cutName(cut);
}

class DeviceStops : public testing::TestWithParam<std::tuple<ImageFormat, Cut>> {};

TEST_P(DeviceStops, IsAnErrorForEveryFormat) {
    const auto [format, cut] = GetParam();
    if (!canWriteFormat(format))
        GTEST_SKIP() << "Qt's image plugin for this format is not installed";
    const QImage image = sample(300, 120);
    const QByteArray whole = encoded(image, format);
    const qint64 limit = cutAt(cut, whole.size());
    StoppingDevice device(limit);
    const WriteStatus status = writeImage(device, image, format);
    EXPECT_FALSE(status.ok()) << "took " << device.taken.size() << " of " << whole.size();
    EXPECT_FALSE(status.systemText.isEmpty());
    EXPECT_EQ(device.taken, whole.left(limit));
    if (format == ImageFormat::Bmp) {
        StoppingDevice again(limit);
        EXPECT_FALSE(writeBmp24(again, image));
    }
}

TEST(DeviceTakesEverything, AndTheBytesAreTheEncodersOwn) {
    const QImage image = sample(300, 120);
    for (ImageFormat format : AllFormats) {
        if (!canWriteFormat(format))
            continue;
        const QByteArray whole = encoded(image, format);
        StoppingDevice device(whole.size());
        EXPECT_TRUE(writeImage(device, image, format).ok()) << formatName(format);
        EXPECT_EQ(device.taken, whole) << formatName(format);
    }
}

INSTANTIATE_TEST_SUITE_P(Cuts, DeviceStops,
                         testing::Combine(testing::ValuesIn(AllFormats),
                                          testing::Values(Cut::Nothing, Cut::InsideHeader,
                                                          Cut::MidRows, Cut::LastByte)),
                         [](const testing::TestParamInfo<std::tuple<ImageFormat, Cut>>& info) {
                             return formatName(std::get<0>(info.param)) + "_" +
                                    cutName(std::get<1>(info.param));
                         });

struct AlphaCase {
    ImageFormat format;
    bool keepsAlpha;
    bool lossy;
};

void PrintTo(const AlphaCase& c, std::ostream* os) {
    *os << formatName(c.format);
}

class Alpha : public testing::TestWithParam<AlphaCase> {};

// PNG and WebP keep transparency; the others hold the opaque picture, whose
// background pixels have the background colour, never black.
TEST_P(Alpha, KeptOrDroppedAsTheFormatAllows) {
    const AlphaCase& c = GetParam();
    if (!canWriteFormat(c.format))
        GTEST_SKIP() << "Qt's image plugin for this format is not installed";
    const QImage image = transparentSample(60, 30);
    const QImage back = QImage::fromData(encoded(image, c.format), readerFormat(c.format));
    ASSERT_FALSE(back.isNull());
    ASSERT_EQ(back.size(), image.size());
    EXPECT_EQ(back.hasAlphaChannel(), c.keepsAlpha);
    const QImage got = back.convertToFormat(QImage::Format_ARGB32);
    int worst = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb want = image.pixel(x, y);
            const QRgb have = got.pixel(x, y);
            // JPEG blurs colours across the letter edges: judge it on the
            // background away from them.
            if (c.lossy && y >= image.height() / 4 - 8)
                continue;
            if (c.keepsAlpha) {
                ASSERT_EQ(qAlpha(have), qAlpha(want)) << "at " << x << "," << y;
                if (qAlpha(want) == 0)
                    continue;
            } else {
                ASSERT_EQ(qAlpha(have), 255);
            }
            worst = std::max({worst, std::abs(qRed(have) - qRed(want)),
                              std::abs(qGreen(have) - qGreen(want)),
                              std::abs(qBlue(have) - qBlue(want))});
        }
    }
    EXPECT_LE(worst, c.lossy ? 4 : 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, Alpha,
                         testing::Values(AlphaCase{ImageFormat::Png, true, false},
                                         AlphaCase{ImageFormat::Webp, true, false},
                                         AlphaCase{ImageFormat::Bmp, false, false},
                                         AlphaCase{ImageFormat::Ppm, false, false},
                                         AlphaCase{ImageFormat::Jpeg, false, true}),
                         [](const testing::TestParamInfo<AlphaCase>& info) {
                             return formatName(info.param.format);
                         });

double totalError(const QImage& want, const QImage& have) {
    double error = 0;
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x) {
            const QRgb a = want.pixel(x, y);
            const QRgb b = have.pixel(x, y);
            error += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                     std::abs(qBlue(a) - qBlue(b));
        }
    return error;
}

// Quality 95: on a smooth picture, where JPEG's colour subsampling does
// not dominate, well closer than Qt's default of 75.
TEST(Jpeg, IsWrittenAtHighQuality) {
    QImage image(120, 60, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 2, y * 4, 255 - x - y));
    const QImage ours = QImage::fromData(encoded(image, ImageFormat::Jpeg), "JPEG");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "JPEG", 75));
    const QImage usual = QImage::fromData(buffer.data(), "JPEG");
    EXPECT_LT(totalError(image, ours), 0.6 * totalError(image, usual));
}

} // namespace
