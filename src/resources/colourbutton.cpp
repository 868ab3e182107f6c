#include "resources/colourbutton.h"

#include "resources/palette.h"

#include <QPainter>
#include <qdrawutil.h>

namespace {

// A one-pixel frame just inside `r`, filled rather than stroked so that it
// covers whole device pixels at any scale.
void frameRect(QPainter& p, const QRect& r, const QColor& colour) {
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
}

} // namespace

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
        // A dark ring with a light one inside it shows on any face colour;
        // the style's mark is a faint line that vanishes on a coloured face.
        const QRect ring = inside.adjusted(FocusInset, FocusInset, -FocusInset, -FocusInset);
        frameRect(p, ring, Qt::black);
        frameRect(p, ring.adjusted(1, 1, -1, -1), Qt::white);
    }
}
