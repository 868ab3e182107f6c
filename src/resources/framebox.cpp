#include "resources/framebox.h"

#include <QPainter>
#include <QStyle>

FrameBox::FrameBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

int FrameBox::borderTop() const {
    return title().isEmpty() ? 0 : fontMetrics().height() / 2;
}

QRect FrameBox::captionRect() const {
    if (title().isEmpty())
        return {};
    const QFontMetrics metrics = fontMetrics();
    QString shown = title();
    shown.remove(QLatin1Char('&'));
    const int width = metrics.horizontalAdvance(shown) + 2 * CaptionGap;
    // As high as the text needs: at some sizes a line needs more than the
    // font's height.
    const int height =
        std::max(metrics.height(), metrics.size(Qt::TextShowMnemonic, title()).height());
    return QRect(CaptionIndent, 0, std::min(width, this->width() - 2 * CaptionIndent), height);
}

void FrameBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    // Etched: a dark line with a light one inside and below it.
    const QRect frame = rect().adjusted(0, borderTop(), 0, 0);
    p.setPen(pal.color(QPalette::Dark));
    p.drawRect(frame.adjusted(0, 0, -2, -2));
    p.setPen(pal.color(QPalette::Light));
    p.drawRect(frame.adjusted(1, 1, -1, -1));

    const QRect caption = captionRect();
    if (caption.isEmpty())
        return;
    p.fillRect(caption, pal.window());
    style()->drawItemText(&p, caption, Qt::AlignCenter | Qt::TextShowMnemonic, pal, isEnabled(),
                          title(), QPalette::WindowText);
}
