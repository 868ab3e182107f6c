#pragma once

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

// The picture's PNG bytes on the clipboard as the platform's programs read
// them: image/png on X11 and Wayland, the registered format "PNG" on
// Windows, which Qt reads under a name of its own.
inline QImage clipboardPng() {
#ifdef _WIN32
    const QString type = QStringLiteral("application/x-qt-windows-mime;value=\"PNG\"");
#else
    const QString type = QStringLiteral("image/png");
#endif
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return {};
    return QImage::fromData(data->data(type), "PNG").convertToFormat(QImage::Format_RGB32);
}
