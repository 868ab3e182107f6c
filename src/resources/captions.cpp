#include "resources/captions.h"

#include "resources/framebox.h"
#include "resources/frames.h"

#include <QAbstractButton>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace ui {

namespace {

const char* const OwnGeometry = "pismolotOwnGeometry";

// Plain containers and frames hold controls of the stored layout.
bool holdsPlacedChildren(const QWidget& widget) {
    const QMetaObject* type = widget.metaObject();
    return type == &QWidget::staticMetaObject || type == &QFrame::staticMetaObject ||
           qobject_cast<const QGroupBox*>(&widget);
}

// The area of `parent` a child may take.
QRect roomIn(const QWidget& parent) {
    if (parent.isWindow())
        return clientArea(parent);
    if (qobject_cast<const QGroupBox*>(&parent))
        return parent.rect().adjusted(2, 0, -2, -2); // inside the etched line
    return parent.rect();
}

// Widens `widget` to `need`, from the side its text is aligned to, within
// `room`.
void widen(QWidget& widget, int need, Qt::Alignment alignment, const QRect& room) {
    const QRect now = widget.geometry();
    if (need <= now.width())
        return;
    const int width = std::min(need, room.width());
    const int extra = width - now.width();
    int left = now.left();
    if (alignment & Qt::AlignHCenter)
        left -= extra / 2;
    else if (alignment & Qt::AlignRight)
        left -= extra;
    left = std::clamp(left, room.left(), std::max(room.left(), room.right() + 1 - width));
    widget.setGeometry(left, now.top(), width, now.height());
}

void heighten(QWidget& widget, int need, const QRect& room) {
    const QRect now = widget.geometry();
    if (need <= now.height())
        return;
    const int height = std::min(need, room.height());
    // Downwards; up only as far as the room's bottom makes it. The top is not
    // pulled into the room: a window's own title bar may not yet have moved
    // its controls below it.
    int top = now.top();
    if (top + height > room.bottom() + 1)
        top = std::max(room.top(), room.bottom() + 1 - height);
    widget.setGeometry(now.left(), top, now.width(), height);
}

void fitLabel(QLabel& label, const QRect& room) {
    if (label.text().isEmpty())
        return;
    const QRect area = label.contentsRect().adjusted(label.margin(), label.margin(),
                                                     -label.margin(), -label.margin());
    const QSize edges = label.size() - area.size();
    const QFontMetrics metrics = label.fontMetrics();
    if (label.wordWrap()) {
        int widest = 0;
        for (const QString& word : label.text().split(QLatin1Char(' ')))
            widest = std::max(widest, metrics.horizontalAdvance(word));
        widen(label, widest + edges.width(), label.alignment(), room);
        const QRect lines =
            metrics.boundingRect(QRect(0, 0, label.width() - edges.width(), 1 << 20),
                                 int(Qt::TextWordWrap) | int(label.alignment()), label.text());
        heighten(label, lines.height() + edges.height(), room);
        return;
    }
    const QSize need = metrics.size(Qt::TextShowMnemonic, label.text()) + edges;
    widen(label, need.width(), label.alignment(), room);
    heighten(label, need.height(), room);
}

void fitButton(QAbstractButton& button, const QRect& room) {
    if (button.text().isEmpty())
        return;
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const QRect area =
        button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    const QSize need = button.fontMetrics().size(Qt::TextShowMnemonic, button.text()) +
                       (button.size() - area.size());
    widen(button, need.width(), Qt::AlignHCenter, room);
    heighten(button, need.height(), room);
}

void fitFrame(QGroupBox& box, const QRect& room) {
    if (box.title().isEmpty())
        return;
    const int text = box.fontMetrics().size(Qt::TextShowMnemonic, box.title()).width();
    // The caption sits in a gap of the top line, indented from the left;
    // as much line is kept on its right.
    const int need = text + 2 * (FrameBox::CaptionIndent + FrameBox::CaptionGap);
    widen(box, need, Qt::AlignLeft, room);
}

} // namespace

void keepOwnGeometry(QWidget& widget) {
    widget.setProperty(OwnGeometry, true);
}

void forEachPlacedChild(QWidget& parent, const std::function<void(QWidget&)>& visit) {
    for (QObject* object : parent.children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child->isWindow() || child->property(OwnGeometry).toBool())
            continue;
        if (!parent.layout() || parent.layout()->indexOf(child) < 0)
            visit(*child);
        if (holdsPlacedChildren(*child))
            forEachPlacedChild(*child, visit);
    }
}

void fitCaptions(QWidget& window) {
    forEachPlacedChild(window, [](QWidget& control) {
        if (control.isHidden())
            return;
        const QRect room = roomIn(*control.parentWidget());
        if (auto* label = qobject_cast<QLabel*>(&control))
            fitLabel(*label, room);
        else if (auto* button = qobject_cast<QAbstractButton*>(&control))
            fitButton(*button, room);
        else if (auto* box = qobject_cast<QGroupBox*>(&control))
            fitFrame(*box, room);
    });
}

} // namespace ui
