#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

class QIODevice;

namespace pismolot {
struct VectorPicture;
}

// Writing the result picture: to a path (atomically where it replaces a
// file), or to an open device such as standard output. Every function here
// may be called from several threads at once, for different targets.
namespace pismolot {

// SVG and PDF hold the picture as shapes (a VectorPicture), the others as
// pixels.
enum class ImageFormat { Bmp, Png, Jpeg, Ppm, Webp, Svg, Pdf };
inline constexpr ImageFormat AllImageFormats[] = {
    ImageFormat::Bmp,  ImageFormat::Png, ImageFormat::Jpeg, ImageFormat::Ppm,
    ImageFormat::Webp, ImageFormat::Svg, ImageFormat::Pdf};

// Whether the format holds shapes rather than pixels.
bool isVectorFormat(ImageFormat format);

// The file extensions of a format, with the dot, the usual one first
// (".jpg", ".jpeg").
QStringList formatExtensions(ImageFormat format);
// The format's name as people write it ("JPEG", "WebP").
QString formatTitle(ImageFormat format);
// The format an extension names, without the dot and in any case ("PNG",
// "jpeg").
std::optional<ImageFormat> formatOfExtension(QStringView extension);
// The format the extension of a file name names, in any case ("OBRAZ.PNG"),
// or `fallback` when the name has no extension ("a.d/obraz") or one that
// names no format.
ImageFormat formatForFileName(const QString& fileName, ImageFormat fallback);

// Whether this build can write `format`: WebP needs Qt's image plugin for it.
bool canWriteFormat(ImageFormat format);

enum class WriteError {
    None,
    EmptyPicture, // no column or no row
    TooLarge,     // the format cannot hold a picture this big
    IsDirectory,
    NoPermission,
    NoSuchFolder, // the folder of the file is missing, or a part of the path is a file
    DiskFull,     // no space, quota, or the file size limit
    ReadOnlyFileSystem,
    // Windows' own refusals
    ReadOnlyFile, // the file has the read-only attribute
    InUse,        // another program holds the file open and will not let it be replaced
    BadName, // a device name (CON, AUX.bmp), a character Windows refuses, a dot or space at the end
    PathTooLong, // longer than Windows' 260 characters
    Other,
};

struct WriteStatus {
    WriteError error = WriteError::None;
    // The system's own text for the cause (strerror for a failed call; for
    // our own refusals a short English line that names the limit). Shown for
    // Other, kept as a fallback and for diagnostics otherwise.
    QString systemText;
    bool ok() const { return error == WriteError::None; }
};

// The one test for a picture with nothing to write or copy.
bool isEmptyPicture(const QImage& image);

// Refusals that need no file: an empty picture, one the format cannot hold
// (TooLarge: a BMP of 4 GiB or more, as its size fields have 32 bits; sides
// over 65500 in JPEG, 16383 in WebP, 1000000 in PNG, the limits of the
// libraries that write them), or a format this build cannot write (Other).
// SVG and PDF are written from `vector`, the same picture as shapes: without
// one they are refused (Other).
WriteStatus checkPicture(const QImage& image, ImageFormat format,
                         const VectorPicture* vector = nullptr);

// Encodes to an open device (standard output, a pipe), checking that every
// byte was taken and, for a file device, flushed. A reader that has gone away
// gives an error, not SIGPIPE. A file device that failed is closed, its
// unsent bytes dropped.
WriteStatus writeImage(QIODevice& device, const QImage& image, ImageFormat format,
                       const VectorPicture* vector = nullptr);

// Writes to a path. A regular file (or a symlink to one, however many links
// deep: the file is replaced, every link stays; a dangling link gets its file
// created) is written whole to a temporary file in its folder (unnamed where
// the file system allows, else "NAME.XXXXXX") and renamed over the old one,
// so a failure leaves an old file byte for byte as it was and no temporary
// file behind. An existing FIFO or device is written straight through, never
// replaced; a directory is refused.
//
// Commit::Fast renames without waiting for the disk: atomic, not durable, as
// a batch of thousands of pictures needs. Commit::Durable first syncs the
// file's data, as an interactive save should, so that a crash just after the
// save cannot leave an empty file under the name.
enum class Commit { Fast, Durable };
WriteStatus writeImageFile(const QString& path, const QImage& image, ImageFormat format,
                           Commit commit = Commit::Fast, const VectorPicture* vector = nullptr);

// PNG and WebP keep an image's alpha channel; every other format is written
// opaque: the colour channels as they are, the alpha dropped. JPEG is written
// at quality 95, WebP losslessly. SVG and PDF leave out the background
// rectangle of a picture made transparent.

// An uncompressed 24-bit bottom-up BMP with the 54-byte header, streamed in
// chunks (no second copy of a big picture in memory). False for a picture
// checkPicture refuses or a device that does not take every byte.
bool writeBmp24(QIODevice& device, const QImage& image);
// The same bytes in memory; empty for an empty or too large picture.
QByteArray encodeBmp24(const QImage& image);

} // namespace pismolot
