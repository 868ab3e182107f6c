#include "backend.h"

#include "render/headless.h"
#include "render/imagefile.h"
#include "render/textraster.h"
#include "textinput.h"

#include <QFileDevice>
#include <QIODevice>

namespace pismolot::cli {

QImage renderPicture(const EffectSettings& settings, QSize screen, int dpi, bool transparent) {
    StyleRandom fresh;
    return renderHeadless(settings, screen, dpi, fresh, RenderOptions{transparent});
}

bool formatAvailable(ImageFormat format) {
    return format == ImageFormat::Bmp || format == ImageFormat::Png;
}

bool sizeDrawable(float points, int dpi) {
    return fontSizeDrawable(points, dpi);
}

int maxPixelsPerEm() {
    return MaxPixelsPerEm;
}

QStringList fontFamilies() {
    return sortedFontFamilies();
}

QString defaultFamily() {
    return defaultSansFamily();
}

QString familyDrawn(const QString& requested) {
    return resolvedFamily(requested);
}

WriteStatus checkPictureFor(const QImage& picture, ImageFormat) {
    if (picture.isNull())
        return {WriteError::EmptyPicture, {}};
    return {};
}

WriteStatus writePictureFile(const QString& path, const QImage& picture, ImageFormat format) {
    if (picture.isNull())
        return {WriteError::EmptyPicture, {}};
    QString error;
    if (!writeImageFile(path, picture,
                        format == ImageFormat::Png ? ImageFileFormat::Png : ImageFileFormat::Bmp24,
                        &error))
        return {WriteError::Other, error};
    return {};
}

WriteStatus writePictureTo(QIODevice& device, const QImage& picture, ImageFormat format) {
    const bool written = format == ImageFormat::Png
                             ? picture.convertToFormat(QImage::Format_RGB32).save(&device, "PNG")
                             : writeBmp24(device, picture);
    auto* file = qobject_cast<QFileDevice*>(&device);
    if (!written || (file && !file->flush()))
        return {WriteError::Other, device.errorString()};
    return {};
}

QString describe(const WriteStatus& status) {
    switch (status.error) {
    case WriteError::None:
        return QStringLiteral("written");
    case WriteError::EmptyPicture:
        return QStringLiteral("the picture is empty (no columns or rows): the text shows nothing");
    case WriteError::TooLarge:
        return QStringLiteral("the picture is too large for this format");
    case WriteError::IsDirectory:
        return QStringLiteral("it is a folder");
    case WriteError::NoPermission:
        return QStringLiteral("permission denied");
    case WriteError::NoSuchFolder:
        return QStringLiteral("no such folder");
    case WriteError::DiskFull:
        return QStringLiteral("no space left on the device");
    case WriteError::ReadOnlyFileSystem:
        return QStringLiteral("read-only file system");
    case WriteError::Other:
        break;
    }
    return status.systemText.isEmpty() ? QStringLiteral("the write failed")
                                       : oneLine(status.systemText);
}

} // namespace pismolot::cli
