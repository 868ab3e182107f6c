#include "render/imagefile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstring>

using namespace pismolot;

namespace {

QImage sample(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 40 % 256, y * 70 % 256, (x + y) * 13 % 256));
    return image;
}

std::uint32_t le32(const QByteArray& b, int at) {
    std::uint32_t v;
    std::memcpy(&v, b.constData() + at, 4);
    return v;
}

TEST(Bmp, HeaderAndBottomUpRowsWithPadding) {
    const QImage image = sample(5, 3); // 15 bytes a row, padded to 16
    const QByteArray bmp = encodeBmp24(image);
    ASSERT_EQ(bmp.size(), 54 + 16 * 3);
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(le32(bmp, 2), std::uint32_t(bmp.size()));
    EXPECT_EQ(le32(bmp, 10), 54u);
    EXPECT_EQ(le32(bmp, 14), 40u);
    EXPECT_EQ(le32(bmp, 18), 5u);
    EXPECT_EQ(le32(bmp, 22), 3u);
    EXPECT_EQ(bmp[28], 24);
    EXPECT_EQ(le32(bmp, 30), 0u); // uncompressed
    // The first stored row is the bottom one, blue first.
    const QRgb bottomLeft = image.pixel(0, 2);
    EXPECT_EQ(uchar(bmp[54]), qBlue(bottomLeft));
    EXPECT_EQ(uchar(bmp[55]), qGreen(bottomLeft));
    EXPECT_EQ(uchar(bmp[56]), qRed(bottomLeft));
    QImage back;
    ASSERT_TRUE(back.loadFromData(bmp, "BMP"));
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image);
}

TEST(WriteImage, BothFormatsReadBackToTheSamePixels) {
    QTemporaryDir dir;
    const QImage image = sample(37, 11);
    for (auto [name, format] : {std::pair{"a.bmp", ImageFileFormat::Bmp24},
                                std::pair{"noextension", ImageFileFormat::Bmp24},
                                std::pair{"b.PNG", ImageFileFormat::Png}}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QString error;
        ASSERT_TRUE(writeImageFile(path, image, format, &error)) << error.toStdString();
        QImage back(path);
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image) << name;
    }
}

TEST(WriteImage, FailureLeavesNoFileAndKeepsAnExistingOne) {
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("keep.bmp"));
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("precious");
    }
    QString error;
    EXPECT_FALSE(writeImageFile(existing, QImage(), ImageFileFormat::Bmp24, &error));
    EXPECT_FALSE(error.isEmpty());
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("precious"));

    const QString missingDir = dir.filePath(QStringLiteral("no/such/dir/x.bmp"));
    EXPECT_FALSE(writeImageFile(missingDir, sample(2, 2), ImageFileFormat::Bmp24, &error));
    EXPECT_FALSE(QFile::exists(missingDir));
}

} // namespace
