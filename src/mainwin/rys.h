#pragma once

#include "mainwin/surface.h"
#include "render/colour.h"

#include <QImage>

class QLabel;
class QTimer;

// The render window: its output surface and the result picture Picture1.
class Rys : public SurfaceWidget {
    Q_OBJECT
public:
    explicit Rys(QWidget* parent = nullptr);

    // The image of Picture1 as copy and save take it (empty before the job).
    QImage resultPicture() const;

    // Runs the render job; the timer's first tick calls it.
    void Timer1_Timer();

    // The output surface: the back-buffer of the client area that the window
    // paints from, white until the job fills it.
    const QImage& outputSurface() const { return image(); }
    QImage& outputSurface() { return image(); }
    // Fills the whole surface with `colour` (over the current client area),
    // erasing everything drawn before; the colour also fills any part the
    // window grows into later.
    void fillOutput(pismolot::ColourValue colour);
    // Picture1's picture, shown unscaled at the box's (0, 0).
    void setResultPicture(const QImage& picture);

    QLabel* Picture1 = nullptr;
    QLabel* XSize = nullptr; // measuring label, never shown
    QTimer* Timer1 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QImage result_;
};
