#include "resources/access.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPointer>
#include <QRadioButton>

namespace ui {

namespace {

class EnterPressesButton final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        QAbstractButton* button = buttonPressedByEnter(watched, *key);
        if (!button)
            return false;
        // Held down, Enter presses once, not at every repeat.
        if (!key->isAutoRepeat())
            button->click();
        return true;
    }
};

bool isPlainWindow(const QWidget& widget) {
    return widget.isWindow() &&
           (widget.windowType() == Qt::Window || widget.windowType() == Qt::Dialog);
}

// The interface is made once and kept while the widget lives, so the role
// follows the widget: a window put into another window (the render child in
// the main window's work area) is a plain part of it from then on.
class WindowWidget final : public QAccessibleWidget {
public:
    explicit WindowWidget(QWidget* widget) : QAccessibleWidget(widget) {}
    QAccessible::Role role() const override {
        return isPlainWindow(*widget()) ? windowRole(*widget()) : QAccessible::Client;
    }
};

// Only a window that no class of Qt's own describes (QDialog and QMainWindow
// have theirs), and only once: at the level of its own class, asked first.
QAccessibleInterface* windowInterface(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className != QLatin1String(object->metaObject()->className()) || !isPlainWindow(*widget) ||
        qobject_cast<QDialog*>(widget) || qobject_cast<QMainWindow*>(widget))
        return nullptr;
    return new WindowWidget(widget);
}

} // namespace

QAbstractButton* buttonPressedByEnter(QObject* receiver, const QKeyEvent& key) {
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
        return nullptr;
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return nullptr;
    auto* button = qobject_cast<QAbstractButton*>(receiver);
    if (!button || qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button))
        return nullptr;
    if (!button->isEnabled() || !button->hasFocus())
        return nullptr;
    return button;
}

QAccessible::Role windowRole(const QWidget& window) {
    return window.windowType() == Qt::Dialog ? QAccessible::Dialog : QAccessible::Window;
}

void setUpAccess(QApplication& app) {
    static QPointer<QObject> filter;
    if (!filter) {
        filter = new EnterPressesButton(&app);
        app.installEventFilter(filter);
    }
    static bool factoryInstalled = false;
    if (!factoryInstalled)
        QAccessible::installFactory(windowInterface);
    factoryInstalled = true;
}

} // namespace ui
