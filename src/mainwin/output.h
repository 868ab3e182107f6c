#pragma once

#include "render/imagefile.h"

#include <QImage>
#include <QString>

class QClipboard;

// What the main window's output commands do with the result picture. Each
// returns "" on success, otherwise the message (Polish) to show the user.
namespace output {

// Clears the clipboard and puts `picture` on it as an image. An empty
// picture is refused before the clipboard is touched, so whatever it held is
// kept.
QString copyPicture(QClipboard& clipboard, const QImage& picture);

// Writes `picture` to exactly `path` as an uncompressed 24-bit BMP, replacing
// the file; a failed write leaves an existing file as it was.
QString savePicture(const QString& path, const QImage& picture);

// The message for a write of `path` that ended with `status`: the file's
// name and a reason of our own, the system's text only where we have none.
QString saveFailureMessage(const QString& path, const pismolot::WriteStatus& status);

} // namespace output
