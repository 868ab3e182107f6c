// The floor of a single run: a bare Qt program that loads a font, draws one
// line of text without antialiasing and writes it as a 24-bit BMP. Nothing
// of Pismolot; bench/compare times pismolot-render against it.
// Usage: floor_render OUTPUT FAMILY POINTS TEXT
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

int main(int argc, char** argv) {
    if (argc != 5)
        return 2;
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    QFont font(QString::fromLocal8Bit(argv[2]));
    font.setPointSizeF(QString::fromLocal8Bit(argv[3]).toDouble());
    font.setStyleStrategy(QFont::NoAntialias);
    const QString text = QString::fromLocal8Bit(argv[4]);
    const QFontMetrics metrics(font);
    QImage image(metrics.size(Qt::TextSingleLine, text), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(0, metrics.ascent(), text);
    painter.end();
    return image.save(QString::fromLocal8Bit(argv[1]), "BMP") ? 0 : 1;
}
