#pragma once

#include <QAccessible>

class QAbstractButton;
class QApplication;
class QKeyEvent;
class QObject;
class QWidget;

// Keyboard and screen-reader habits shared by every window, Qt's own
// dialogs included.
namespace ui {

// Installs both habits below once for the application; later calls do
// nothing.
void setUpAccess(QApplication& app);

// Enter and Return press the focused push or tool button, as Space does (Qt
// leaves that to a dialog's default button, and outside dialogs to nothing).
// The button a key press sent to `receiver` presses; none for other keys,
// with modifiers other than the keypad's, for check boxes and radio buttons
// (there Enter is the default button's, as elsewhere), and for buttons that
// are disabled or lack the focus.
QAbstractButton* buttonPressedByEnter(QObject* receiver, const QKeyEvent& key);

// The role a screen reader is told for a top-level window: a dialog for a
// dialog-type window, a frame for a normal one. Qt gives both only to
// QDialog and QMainWindow and calls any other top-level widget a "filler".
QAccessible::Role windowRole(const QWidget& window);

} // namespace ui
