// Writes the program's icon files for installation, from the same drawing the
// windows use: DIR/scalable/apps/NAME.svg and DIR/SxS/apps/NAME.png for every
// size S given. Usage: pismolot_iconfiles DIR NAME SIZE...
#include "resources/icons.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <cstdio>

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

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s DIR NAME SIZE...\n", argv[0]);
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
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            std::fprintf(stderr, "not an icon size: %s\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            icons::paintProgramIcon(painter, QRectF(0, 0, size, size));
        }
        const QString folder = root + QStringLiteral("/%1x%1/apps").arg(size);
        const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!makeFolder(folder))
            return 1;
        if (!image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
