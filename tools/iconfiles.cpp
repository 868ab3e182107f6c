// Writes the program's icon files for installation, from the same drawing the
// windows use: DIR/scalable/apps/NAME.svg and DIR/SxS/apps/NAME.png for every
// size S given; or, with --ico, one Windows icon file holding every size.
// Usage: pismolot_iconfiles DIR NAME SIZE...
//        pismolot_iconfiles --ico FILE SIZE...
#include "resources/icons.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QtEndian>

#include <cstdio>
#include <cstring>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool makeFolder(const QString& path) {
    if (QDir().mkpath(path))
        return true;
    std::fprintf(stderr, "cannot make the folder %s\n", qPrintable(path));
    return false;
}

int iconSize(const char* argument) {
    bool ok = false;
    const int size = QString::fromLocal8Bit(argument).toInt(&ok);
    if (!ok || size < 1 || size > 1024) {
        std::fprintf(stderr, "not an icon size: %s\n", argument);
        return 0;
    }
    return size;
}

QImage iconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        icons::paintProgramIcon(painter, QRectF(0, 0, size, size));
    }
    return image.convertToFormat(QImage::Format_ARGB32);
}

// An .ico file whose images are PNGs, as Windows takes them since Vista:
// a 6-byte header, a 16-byte entry per image, then the images.
int writeIco(const QString& path, const char* const* sizes, int count) {
    QByteArray head(6 + 16 * count, '\0');
    QByteArray images;
    auto* h = reinterpret_cast<uchar*>(head.data());
    qToLittleEndian<quint16>(1, h + 2); // an icon, not a cursor
    qToLittleEndian<quint16>(quint16(count), h + 4);
    for (int i = 0; i < count; ++i) {
        const int size = iconSize(sizes[i]);
        if (size == 0 || size > 256)
            return 2;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!iconImage(size).save(&buffer, "PNG"))
            return 1;
        uchar* entry = h + 6 + 16 * i;
        entry[0] = uchar(size % 256); // 0 stands for 256
        entry[1] = uchar(size % 256);
        qToLittleEndian<quint16>(1, entry + 4);  // planes
        qToLittleEndian<quint16>(32, entry + 6); // bits per pixel
        qToLittleEndian<quint32>(quint32(png.size()), entry + 8);
        qToLittleEndian<quint32>(quint32(head.size() + images.size()), entry + 12);
        images += png;
    }
    return writeFile(path, head + images) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--ico") == 0)
        return writeIco(QString::fromLocal8Bit(argv[2]), argv + 3, argc - 3);
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s DIR NAME SIZE...\n       %s --ico FILE SIZE...\n", argv[0],
                     argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);

    const QString scalable = root + QStringLiteral("/scalable/apps");
    if (!makeFolder(scalable) ||
        !writeFile(scalable + QLatin1Char('/') + name + QStringLiteral(".svg"),
                   icons::programIconSvg()))
        return 1;

    for (int i = 3; i < argc; ++i) {
        const int size = iconSize(argv[i]);
        if (size == 0)
            return 2;
        const QString folder = root + QStringLiteral("/%1x%1/apps").arg(size);
        const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!makeFolder(folder))
            return 1;
        if (!iconImage(size).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
