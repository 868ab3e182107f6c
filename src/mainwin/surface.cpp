#include "mainwin/surface.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

SurfaceWidget::SurfaceWidget(QRgb fill, QWidget* parent) : QWidget(parent), fill_(fill) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurfaceWidget::setSurface(const QImage& surface, QRgb fill) {
    surface_ = surface;
    fill_ = fill;
    update();
}

QSize SurfaceWidget::deviceSize() const {
    const qreal dpr = devicePixelRatioF();
    return QSize(int(std::ceil(width() * dpr)), int(std::ceil(height() * dpr)));
}

void SurfaceWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Device coordinates: undoing the device pixel ratio leaves the identity,
    // so the surface is copied pixel for pixel, never scaled.
    const qreal dpr = devicePixelRatioF();
    painter.setWorldTransform(QTransform::fromScale(1 / dpr, 1 / dpr));
    const QSize area = deviceSize().expandedTo(surface_.size());
    const int w = surface_.width();
    const int h = surface_.height();
    painter.fillRect(QRect(w, 0, area.width() - w, area.height()), QColor::fromRgb(fill_));
    painter.fillRect(QRect(0, h, w, area.height() - h), QColor::fromRgb(fill_));
    if (!surface_.isNull())
        painter.drawImage(QPoint(0, 0), surface_);
    ++paintCount_;
    emit painted();
}
