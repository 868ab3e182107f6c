#pragma once

#include <QImage>
#include <QMainWindow>

class QAction;
class SurfaceWidget;

// The wait window "Proszę czekać....": covers the screen while the render
// job runs and shows the scratch surface the job prints the text on.
class Temp : public QMainWindow {
    Q_OBJECT
public:
    explicit Temp(QWidget* parent = nullptr);

    // Shows the window maximised, white until it is given a surface.
    void showWaiting();

    // The client area in device pixels.
    QSize surfaceSize() const;
    // Shows `surface` (device pixels) from the client area's top-left corner.
    void showSurface(const QImage& surface);
    const QImage& shownSurface() const;
    // The client area, which paints the surface.
    SurfaceWidget* surfaceWidget() const { return surface_; }

    QAction* mnuczekaj = nullptr;

private:
    SurfaceWidget* surface_ = nullptr;
};
