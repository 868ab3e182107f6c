#include "resources/colourbutton.h"

#include "resources/palette.h"

#include <QPainter>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

ColourButton::ColourButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {}

void ColourButton::setBackColor(pismolot::ColourValue colour) {
    colour_ = colour;
    update();
}

void ColourButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QBrush face(toQColor(colour_));
    qDrawWinButton(&p, rect(), palette(), isDown(), &face);
    QRect inside = rect();
    if (isDown())
        inside.translate(1, 1);
    if (!icon().isNull()) {
        const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
        QRect picture(QPoint(), iconSize().boundedTo(inside.size()));
        picture.moveCenter(inside.center());
        icon().paint(&p, picture, Qt::AlignCenter, mode);
    }
    if (!text().isEmpty()) {
        p.setPen(palette().color(QPalette::ButtonText));
        p.drawText(inside, Qt::AlignCenter | Qt::TextShowMnemonic, text());
    }
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = inside.adjusted(4, 4, -4, -4);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
    }
}
