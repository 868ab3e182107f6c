#include "resources/icons.h"

#include <QFont>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

#include <initializer_list>

namespace icons {

namespace {

// The program's icon is designed on a 32 x 32 grid.
constexpr qreal IconGrid = 32;
constexpr QRgb IconFill = 0xFFFF00;    // yellow
constexpr QRgb IconOutline = 0x806000; // dark gold
constexpr qreal IconOutlineWidth = 1.2;

// The capital "A" as the union of its strokes, serifs and crossbar, so that
// one outline runs round the whole letter and its counter.
QPainterPath programIconPath() {
    using Polygon = std::initializer_list<QPointF>;
    const Polygon parts[] = {
        {{14.0, 3.0}, {18.9, 3.0}, {26.1, 27.0}, {21.1, 27.0}},   // thick right stroke
        {{14.0, 3.0}, {16.4, 3.0}, {7.8, 27.0}, {5.4, 27.0}},     // thin left stroke
        {{12.2, 3.0}, {14.6, 3.0}, {14.0, 5.2}},                  // apex serif
        {{9.8, 17.2}, {19.4, 17.2}, {19.4, 19.6}, {9.8, 19.6}},   // crossbar
        {{2.6, 27.0}, {10.4, 27.0}, {10.4, 29.0}, {2.6, 29.0}},   // left foot
        {{3.8, 27.0}, {7.2, 23.0}, {7.2, 27.0}},                  // and its brackets
        {{7.6, 23.8}, {9.6, 27.0}, {7.0, 27.0}},                  //
        {{18.9, 27.0}, {29.4, 27.0}, {29.4, 29.0}, {18.9, 29.0}}, // right foot
        {{19.3, 27.0}, {20.8, 23.5}, {21.6, 27.0}},               // and its brackets
        {{24.6, 23.5}, {28.0, 27.0}, {24.6, 27.0}},               //
    };
    QPainterPath letter;
    for (const Polygon& part : parts) {
        QPainterPath piece;
        piece.addPolygon(QPolygonF(part));
        piece.closeSubpath();
        letter = letter.united(piece);
    }
    return letter;
}

QPen programIconPen() {
    return QPen(QColor(IconOutline), IconOutlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QString svgNumber(qreal value) {
    return QString::number(value, 'g', 6);
}

QString svgColour(QRgb rgb) {
    return QColor(rgb).name(QColor::HexRgb);
}

// Paints the program's icon at whatever size Qt asks for, so it is sharp on
// every screen scale.
class ProgramIconEngine final : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.4);
        paintProgramIcon(*painter, rect);
        painter->restore();
    }
    // Qt's default leaves the pixmap unfilled, which shows as a black square.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }
    QIconEngine* clone() const override { return new ProgramIconEngine; }
    QString key() const override { return QStringLiteral("pismolot-program-icon"); }
};

QPixmap letterPixmap(QChar letter, const QString& family, QColor fill, QColor outline, bool bold,
                     bool italic, bool underline) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(family);
    font.setPixelSize(28);
    font.setBold(bold);
    font.setItalic(italic);
    QPainterPath path;
    path.addText(0, 0, font, QString(letter));
    const QRectF box = path.boundingRect();
    path.translate(16 - box.center().x(), 16 - box.center().y() - (underline ? 2 : 0));
    p.setPen(QPen(outline, 1.2));
    p.setBrush(fill);
    p.drawPath(path);
    if (underline)
        p.fillRect(QRectF(6, 28, 20, 2.5), outline);
    return pixmap;
}

} // namespace

void paintProgramIcon(QPainter& painter, const QRectF& box) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.topLeft());
    painter.scale(box.width() / IconGrid, box.height() / IconGrid);
    painter.setPen(programIconPen());
    painter.setBrush(QColor(IconFill));
    painter.drawPath(programIconPath());
    painter.restore();
}

QByteArray programIconSvg() {
    const QPainterPath path = programIconPath();
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            if (i > 0)
                d += QStringLiteral("Z");
            d += QStringLiteral("M");
        } else if (e.isLineTo()) {
            d += QStringLiteral("L");
        } else if (e.isCurveTo()) {
            d += QStringLiteral("C");
        } else {
            d += QStringLiteral(" "); // the control points that follow a CurveTo
        }
        d += svgNumber(e.x) + QLatin1Char(' ') + svgNumber(e.y);
    }
    if (!d.isEmpty())
        d += QStringLiteral("Z");
    const QPen pen = programIconPen();
    const QString size = svgNumber(IconGrid);
    const QString svg =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                       "viewBox=\"0 0 %1 %1\">\n"
                       "  <path fill=\"%2\" fill-rule=\"%3\" stroke=\"%4\" stroke-width=\"%5\" "
                       "stroke-linejoin=\"round\" stroke-linecap=\"round\"\n"
                       "        d=\"%6\"/>\n"
                       "</svg>\n")
            .arg(size, svgColour(IconFill),
                 path.fillRule() == Qt::OddEvenFill ? QStringLiteral("evenodd")
                                                    : QStringLiteral("nonzero"),
                 svgColour(IconOutline), svgNumber(pen.widthF()), d);
    return svg.toUtf8();
}

QIcon common() {
    return QIcon(new ProgramIconEngine);
}

QIcon editor() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 4, 0, 28);
    gradient.setColorAt(0, QColor(255, 11, 100));
    gradient.setColorAt(1, QColor(0, 11, 100));
    QFont font(QStringLiteral("sans-serif"));
    font.setPixelSize(26);
    font.setBold(true);
    QPainterPath path;
    path.addText(0, 0, font, QStringLiteral("P"));
    const QRectF box = path.boundingRect();
    path.translate(16 - box.center().x(), 16 - box.center().y());
    p.setPen(QPen(QColor(40, 0, 40), 1));
    p.setBrush(gradient);
    p.drawPath(path);
    p.end();
    return QIcon(pixmap);
}

QPixmap attributeLetter(char letter) {
    return letterPixmap(QLatin1Char(letter), QStringLiteral("serif"), Qt::black, Qt::black,
                        letter == 'B', letter == 'I', letter == 'U');
}

} // namespace icons
