#include "backend.h"

#include "console.h"

#include "render/fonts.h"
#include "render/headless.h"
#include "render/imagefile.h"
#include "render/oneline.h"
#include "render/textfit.h"
#include "render/vectorpicture.h"
#include "textinput.h"

namespace pismolot::cli {

namespace {

// Tabs and the breaks a line may hold are drawn as the spaces that the
// program's text box shows for them.
EffectSettings asShown(const EffectSettings& settings) {
    EffectSettings shown = settings;
    shown.text = shownOnOneLine(settings.text);
    return shown;
}

} // namespace

QImage renderPicture(const EffectSettings& settings, QSize screen, int dpi, bool transparent,
                     bool* lettersCut, VectorPicture* vector) {
    StyleRandom fresh;
    const EffectSettings shown = asShown(settings);
    RenderOutcome outcome;
    QImage picture = renderHeadless(shown, screen, dpi, fresh, RenderOptions{transparent},
                                    lettersCut, vector ? &outcome : nullptr);
    if (vector)
        *vector = makeVectorPicture(shown, dpi, picture.size(), outcome, transparent);
    return picture;
}

QString lettersCutWarning(const EffectSettings& settings, QSize screen, int dpi) {
    const EffectSettings shown = asShown(settings);
    const int fits = largestFittingSize(shown.text, shown.font, dpi, screen);
    const QString screenText = QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height());
    const QString advice =
        fits > 0 ? QStringLiteral("size %1 or less fits; or give a larger --screen").arg(fits)
                 : QStringLiteral("no size fits; shorten the text or give a larger --screen");
    return QStringLiteral("letters beyond the %1 screen were cut off the picture; %2")
        .arg(screenText, advice);
}

bool formatAvailable(ImageFormat format) {
    return canWriteFormat(format);
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

WriteStatus checkPictureFor(const QImage& picture, ImageFormat format,
                            const VectorPicture* vector) {
    return checkPicture(picture, format, vector);
}

WriteStatus writePictureFile(const QString& path, const QImage& picture, ImageFormat format,
                             const VectorPicture* vector) {
    // Windows' NUL takes a picture as /dev/null does: checked, then dropped.
    if (console::namesNullDevice(path))
        return checkPicture(picture, format, vector);
    return writeImageFile(path, picture, format, Commit::Fast, vector);
}

WriteStatus writePictureTo(QIODevice& device, const QImage& picture, ImageFormat format,
                           const VectorPicture* vector) {
    return writeImage(device, picture, format, vector);
}

QString describe(const WriteStatus& status) {
    switch (status.error) {
    case WriteError::None:
        return QStringLiteral("written");
    case WriteError::EmptyPicture:
        return QStringLiteral("the picture is empty (no columns or rows): the text shows nothing");
    case WriteError::TooLarge:
        // The writer's own line names the format's limit.
        return status.systemText.isEmpty()
                   ? QStringLiteral("the picture is too large for this format")
                   : oneLine(status.systemText);
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
    case WriteError::ReadOnlyFile:
        return QStringLiteral("the file is read-only");
    case WriteError::InUse:
        return QStringLiteral("the file is open in another program, which does not let it be "
                              "replaced");
    case WriteError::BadName:
        return QStringLiteral("Windows does not allow this file name (device names such as CON "
                              "or AUX, the characters \\ / : * ? \" < > | and a dot or space at "
                              "the end are refused)");
    case WriteError::PathTooLong:
        return QStringLiteral("the path is longer than the 259 characters Windows allows");
    case WriteError::Other:
        break;
    }
    return status.systemText.isEmpty() ? QStringLiteral("the write failed")
                                       : oneLine(status.systemText);
}

} // namespace pismolot::cli
