#pragma once

#include <QImage>
#include <QWidget>

// A window area with persistent drawing: it shows the surface it is given,
// one device pixel of the surface on one device pixel of the screen, from its
// top-left corner, and the fill colour wherever the surface does not reach
// (also where the area grows later). It draws nothing of its own.
class SurfaceWidget : public QWidget {
    Q_OBJECT
public:
    explicit SurfaceWidget(QRgb fill, QWidget* parent = nullptr);

    // Shows `surface`, whose pixels are device pixels (device pixel ratio 1),
    // on a ground of `fill`. The image is shared, not copied.
    void setSurface(const QImage& surface, QRgb fill);

    const QImage& surface() const { return surface_; }
    QRgb fill() const { return fill_; }
    // The area in device pixels.
    QSize deviceSize() const;
    // Paint events handled since the widget was made.
    int paintCount() const { return paintCount_; }

signals:
    void painted();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage surface_;
    QRgb fill_;
    int paintCount_ = 0;
};
