#pragma once

#include "render/colour.h"

#include <QImage>
#include <QWidget>

class QLabel;
class QTimer;

// The render window: its output surface and the result picture Picture1.
class Rys : public QWidget {
    Q_OBJECT
public:
    explicit Rys(QWidget* parent = nullptr);

    // The image of Picture1 as copy and save take it (empty before the job).
    QImage resultPicture() const;

    // Runs the render job; the timer's first tick calls it.
    void Timer1_Timer();

    // The output surface: the back-buffer of the client area that the window
    // paints from, white until the job fills it.
    const QImage& outputSurface() const { return output_; }
    QImage& outputSurface() { return output_; }
    // Fills the whole surface with `colour` (over the current client area),
    // erasing everything drawn before; the colour also fills any part the
    // window grows into later.
    void fillOutput(pismolot::ColourValue colour);
    // Picture1's picture, shown unscaled at the box's (0, 0).
    void setResultPicture(const QImage& picture);
    // The resolution the surfaces draw at: the screen's logical DPI.
    int dpi() const { return dpi_; }

    QLabel* Picture1 = nullptr;
    QLabel* XSize = nullptr; // measuring label, never shown
    QTimer* Timer1 = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    int dpi_;
    QRgb backColour_ = 0xFFFFFFFF;
    QImage output_;
    QImage result_;
};
