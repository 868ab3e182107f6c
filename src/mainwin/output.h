#pragma once

#include "render/imagefile.h"

#include <QImage>
#include <QList>
#include <QString>

#include <functional>

class QClipboard;
class QMimeData;

// What the main window's output commands do with the result picture. Each
// returns "" on success, otherwise the message (Polish) to show the user.
namespace output {

// The picture's data as other programs take it: "image/png" first (chat
// programs, web forms and office documents want it), then "image/bmp", both
// of the same pixels, and last, given the picture as shapes, "image/svg+xml"
// (drawing and office programs paste it as shapes; Windows' clipboard takes
// only the first two). Null for an empty picture.
QMimeData* pictureData(const QImage& picture, const pismolot::VectorPicture* vector = nullptr);

// Clears the clipboard and puts pictureData on it. An empty picture is
// refused before the clipboard is touched, so whatever it held is kept.
QString copyPicture(QClipboard& clipboard, const QImage& picture,
                    const pismolot::VectorPicture* vector = nullptr);

// The formats "Zapisz jako..." offers, in the dialog's order: BMP first,
// then PNG, JPEG and, where this build can write it, WebP; then SVG and PDF.
struct SaveFormat {
    pismolot::ImageFormat format;
    QString nameFilter; // "Pliki PNG (*.png)"
};
using FormatAvailable = std::function<bool(pismolot::ImageFormat)>;
QList<SaveFormat> saveFormats(const FormatAvailable& available = pismolot::canWriteFormat);
// The same as the dialog's filter argument: "Pliki BMP (*.bmp)|*.bmp|...".
QString saveFilter(const FormatAvailable& available = pismolot::canWriteFormat);

// The format a save to `path` writes: the one its extension names (any
// case), otherwise the one of the name filter selected in the dialog,
// otherwise BMP.
pismolot::ImageFormat saveFormatFor(const QString& path, const QString& selectedNameFilter);

// Writes `picture` to exactly `path` in `format` (BMP uncompressed 24-bit,
// JPEG and WebP as the renderer writes them, SVG and PDF from `vector`),
// replacing the file; a failed write leaves an existing file as it was.
QString savePicture(const QString& path, const QImage& picture,
                    pismolot::ImageFormat format = pismolot::ImageFormat::Bmp,
                    const pismolot::VectorPicture* vector = nullptr);

// The message for a write of `path` that ended with `status`: the file's
// name and a reason of our own, the system's text only where we have none.
QString saveFailureMessage(const QString& path, const pismolot::WriteStatus& status);

// The message for a picture that lost letters beyond the screen, naming the
// largest size that fits (0: none does, the text is too long).
QString lettersCutMessage(int fittingSize);

// A dragged picture: its PNG data and, for file managers and editors that
// want a file, the same bytes as a PNG file in `folder` named after `text`
// (text/uri-list). Without the file where it cannot be written. Null for an
// empty picture.
QMimeData* dragData(const QImage& picture, const QString& text, const QString& folder);
// The file name a drag gives the picture of `text`: one safe to create in
// any folder ("/", NUL and control characters replaced, no leading dot,
// bounded length), "efekt.png" where the text gives no name.
QString dragFileName(const QString& text);
// A new, empty folder for one drag's file, inside a temporary folder of the
// program's own that is removed when the program ends. "" when the system
// gives none.
QString newDragFolder();

} // namespace output
