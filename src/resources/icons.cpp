#include "resources/icons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace icons {

namespace {

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

QIcon common() {
    static const QIcon icon(letterPixmap(QLatin1Char('A'), QStringLiteral("serif"),
                                         QColor(255, 255, 0), QColor(128, 96, 0), true, false,
                                         false));
    return icon;
}

QIcon editor() {
    static const QIcon icon = [] {
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
        return QIcon(pixmap);
    }();
    return icon;
}

QPixmap attributeLetter(char letter) {
    return letterPixmap(QLatin1Char(letter), QStringLiteral("serif"), Qt::black, Qt::black,
                        letter == 'B', letter == 'I', letter == 'U');
}

} // namespace icons
