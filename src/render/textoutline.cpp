#include "textoutline.h"

#include "fonts.h"
#include "textline.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>

#include <climits>
#include <cmath>

namespace pismolot {

namespace {

// A paint engine that keeps what QPainter hands it as shapes. Drawing text
// through it gives the outlines at exactly the places that QPainter puts
// them on the bitmap (its own layout, its own rounding) and its underline as
// the line it strokes.
class OutlineEngine final : public QPaintEngine {
public:
    // Every feature: QPainter then passes paths as paths, not as polygons.
    OutlineEngine() : QPaintEngine(AllFeatures) {}

    QPainterPath shapes;

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & DirtyTransform)
            transform_ = state.transform();
        if (state.state() & DirtyPen)
            pen_ = state.pen();
    }
    void drawPath(const QPainterPath& path) override { shapes.addPath(transform_.map(path)); }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override {
        QPainterPath path;
        path.addPolygon(QPolygonF(QList<QPointF>(points, points + count)));
        drawPath(path);
    }
    // Lines are the underline: a flat-capped pen, a rectangle across it.
    void drawLines(const QLineF* lines, int count) override {
        const qreal half = std::max<qreal>(pen_.widthF(), 1) / 2;
        for (int i = 0; i < count; ++i) {
            const QLineF& l = lines[i];
            QPainterPath path;
            path.addRect(QRectF(QPointF(std::min(l.x1(), l.x2()), l.y1() - half),
                                QPointF(std::max(l.x1(), l.x2()), l.y2() + half)));
            drawPath(path);
        }
    }
    // Glyphs that are pictures (colour emoji) have no outlines.
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
    }

private:
    QTransform transform_;
    QPen pen_;
};

// A device of `dpi` that fonts are scaled for, as the bitmap's surfaces are.
class OutlineDevice final : public QPaintDevice {
public:
    explicit OutlineDevice(int dpi) : dpi_(dpi) {}
    QPaintEngine* paintEngine() const override { return &engine_; }
    QPainterPath shapes() const { return engine_.shapes; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
        case PdmHeight:
            return MaxInkWidth;
        case PdmWidthMM:
        case PdmHeightMM:
            return int(MaxInkWidth * 25.4 / dpi_);
        case PdmNumColors:
            return INT_MAX;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return dpi_;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    int dpi_;
    mutable OutlineEngine engine_;
};

} // namespace

QPainterPath textOutline(const QString& text, const FontChoice& choice, int dpi) {
    OutlineDevice device(dpi);
    if (!text.isEmpty()) {
        // As the bitmap's surfaces draw it: the baseline at the ascent.
        const QFont font(makeFont(choice), &device);
        QPainter painter(&device);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(0, QFontMetricsF(font, &device).ascent()), text);
    }
    QPainterPath path = device.shapes();
    path.setFillRule(Qt::WindingFill);
    return path;
}

QPainterPath contoursReaching(const QPainterPath& path, const QRectF& area) {
    QPainterPath kept;
    kept.setFillRule(path.fillRule());
    const int count = path.elementCount();
    for (int start = 0; start < count;) {
        int end = start + 1;
        while (end < count && path.elementAt(end).type != QPainterPath::MoveToElement)
            ++end;
        QPolygonF points;
        for (int i = start; i < end; ++i)
            points << QPointF(path.elementAt(i));
        // The control points hold the curve: their box holds the contour. A
        // contour without area fills nothing.
        if (points.boundingRect().intersects(area)) {
            for (int i = start; i < end; ++i) {
                const QPainterPath::Element e = path.elementAt(i);
                switch (e.type) {
                case QPainterPath::MoveToElement:
                    kept.moveTo(e);
                    break;
                case QPainterPath::LineToElement:
                    kept.lineTo(e);
                    break;
                case QPainterPath::CurveToElement:
                    kept.cubicTo(e, path.elementAt(i + 1), path.elementAt(i + 2));
                    i += 2;
                    break;
                case QPainterPath::CurveToDataElement:
                    break;
                }
            }
        }
        start = end;
    }
    return kept;
}

} // namespace pismolot
