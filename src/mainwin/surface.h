#pragma once

#include <QImage>
#include <QWidget>

// A window area with persistent drawing: what is drawn on it is kept in a
// back-buffer of its size, which it repaints from. The buffer grows with the
// area, the new part in the fill colour, and never shrinks, so nothing drawn
// is lost when the window is made smaller for a moment.
class SurfaceWidget : public QWidget {
public:
    // `dpi`: the resolution text is drawn at on the buffer.
    SurfaceWidget(int dpi, QRgb fill, QWidget* parent = nullptr);

    const QImage& image() const { return image_; }
    QImage& image() { return image_; }
    int dpi() const { return dpi_; }

    // Fills the whole buffer with `fill`, erasing everything drawn before; the
    // colour also fills any part the area grows into later.
    void refill(QRgb fill);
    // Makes the buffer cover the area now (before the first resize event).
    void coverArea();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    const int dpi_;
    QRgb fill_;
    QImage image_;
};
