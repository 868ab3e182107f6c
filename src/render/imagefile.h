#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

class QIODevice;

namespace pismolot {

// An uncompressed 24-bit bottom-up BMP with the 54-byte header, written row
// by row (no second copy of the picture in memory).
bool writeBmp24(QIODevice& device, const QImage& image);
QByteArray encodeBmp24(const QImage& image);

enum class ImageFileFormat { Bmp24, Png };

// Writes `image` to `path` through a temporary file beside it and a rename,
// so a failure never leaves a partial file nor touches an existing one.
// On failure returns false and puts a reason (Polish) in `error`.
bool writeImageFile(const QString& path, const QImage& image, ImageFileFormat format,
                    QString* error);

} // namespace pismolot
