#include "resources/combo.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleOptionComboBox>

namespace ui {

namespace {

class NarrowArrowStyle final : public QProxyStyle {
public:
    NarrowArrowStyle(const QString& base, int arrowWidth)
        : QProxyStyle(base), arrowWidth_(arrowWidth) {}

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override {
        QRect r = QProxyStyle::subControlRect(control, option, sub, widget);
        if (control != CC_ComboBox)
            return r;
        const QRect box = option->rect;
        switch (sub) {
        case SC_ComboBoxArrow:
            r = QRect(box.right() - arrowWidth_ + 1, r.top(), arrowWidth_, r.height());
            break;
        case SC_ComboBoxEditField:
            // The edit field keeps its own left edge and frame gap, and ends
            // where the narrower arrow begins.
            r.setRight(box.right() - arrowWidth_ - 1);
            break;
        default:
            return r;
        }
        return visualRect(option->direction, box, r);
    }

private:
    int arrowWidth_;
};

class WheelFilter final : public QObject {
public:
    explicit WheelFilter(QComboBox& combo) : QObject(&combo), combo_(combo) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Wheel)
            return false;
        const QWidget* focus = QApplication::focusWidget();
        const bool focused = combo_.hasFocus() || (focus && combo_.isAncestorOf(focus));
        if (focused)
            return false;
        event->accept(); // eaten here: nothing under the combo scrolls either
        return true;
    }

private:
    QComboBox& combo_;
};

void widenPopup(QComboBox& combo) {
    QAbstractItemView* view = combo.view();
    const int needed = view->sizeHintForColumn(0) + 2 * view->frameWidth() +
                       view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
    view->setMinimumWidth(needed);
}

} // namespace

void narrowArrow(QComboBox& combo, int arrowWidth) {
    auto* style = new NarrowArrowStyle(combo.style()->name(), arrowWidth);
    style->setParent(&combo);
    combo.setStyle(style);
}

void fitPopupToContents(QComboBox& combo) {
    widenPopup(combo);
    QAbstractItemModel* model = combo.model();
    auto update = [&combo] { widenPopup(combo); };
    QObject::connect(model, &QAbstractItemModel::rowsInserted, &combo, update);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, &combo, update);
    QObject::connect(model, &QAbstractItemModel::dataChanged, &combo, update);
    QObject::connect(model, &QAbstractItemModel::modelReset, &combo, update);
}

void wheelOnlyWithFocus(QComboBox& combo) {
    if (combo.focusPolicy() == Qt::WheelFocus)
        combo.setFocusPolicy(Qt::StrongFocus);
    combo.installEventFilter(new WheelFilter(combo));
}

} // namespace ui
