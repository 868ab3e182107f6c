#pragma once

#include "render/job.h"

#include <QImage>
#include <QMainWindow>

class QAction;
class SurfaceWidget;

// The wait window "Proszę czekać....": covers the screen while the render
// job runs, and its client area is the job's scratch surface, on which the
// text is printed in black and afterwards only read.
class Temp : public QMainWindow {
    Q_OBJECT
public:
    // `dpi`: the resolution the text is printed at.
    explicit Temp(int dpi, QWidget* parent = nullptr);

    // Shows the window maximised; its surface then covers its client area.
    void showWaiting();

    // Font of the next print.
    void setPrintFont(const pismolot::FontChoice& font) { font_ = font; }
    // Prints `text` in black with the top-left of its character cell at (0, 0).
    void print(const QString& text);

    // The scratch surface: white where nothing was printed.
    const QImage& surface() const;

    QAction* mnuczekaj = nullptr;

private:
    SurfaceWidget* surface_ = nullptr;
    pismolot::FontChoice font_;
};
