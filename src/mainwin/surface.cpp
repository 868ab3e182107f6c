#include "mainwin/surface.h"

#include "render/textraster.h"

#include <QPaintEvent>
#include <QPainter>

SurfaceWidget::SurfaceWidget(int dpi, QRgb fill, QWidget* parent)
    : QWidget(parent), dpi_(dpi), fill_(fill) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    coverArea();
}

void SurfaceWidget::refill(QRgb fill) {
    fill_ = fill;
    image_ = QImage();
    coverArea();
    update();
}

void SurfaceWidget::coverArea() {
    const QSize wanted = image_.size().expandedTo(size().expandedTo(QSize(0, 0)));
    if (wanted == image_.size() && !image_.isNull())
        return;
    QImage grown = pismolot::makeSurface(wanted, dpi_, fill_);
    if (!image_.isNull()) {
        QPainter painter(&grown);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), image_);
    }
    image_ = grown;
}

void SurfaceWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), image_, event->rect());
}

void SurfaceWidget::resizeEvent(QResizeEvent*) {
    coverArea();
}
