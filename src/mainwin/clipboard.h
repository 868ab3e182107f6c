#pragma once

class QClipboard;
class QImage;
class QMimeData;

// Replaces the clipboard's contents with `data` (taking it over), adding
// what the platform's own programs read a picture from; false when the
// system did not take it, as when another program holds the clipboard.
bool placePicture(QClipboard& clipboard, QMimeData* data, const QImage& picture);

// Whether the clipboard offers the picture as SVG too, so that the copy
// should carry it: X11 and Wayland programs paste it as shapes.
bool clipboardTakesSvg();
