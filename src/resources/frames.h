#pragma once

#include <qnamespace.h>

class QWidget;

namespace ui {

// The frame of a window with a fixed single border: title, system menu and
// close box, no minimise or maximise button. On X11 Qt turns these flags into
// Motif hints without the minimise and maximise functions and decorations;
// a fixed size (minimum = maximum in the size hints) makes window managers
// drop maximising and resizing too, and the dialog window type (Qt::Dialog)
// asks for a dialog's frame. Some window managers (openbox) still offer
// minimising whatever a window asks for.
inline constexpr Qt::WindowFlags FixedFrame = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                              Qt::MSWindowsFixedSizeDialogHint;

// Keeps a fixed-size window out of the maximised and full-screen states on
// Wayland. Qt's own title bar there offers a maximise button whatever the
// flags say, and a compositor that maximises a window which then keeps its
// size ends the program for breaking the protocol. Each such request is taken
// back at once, before the compositor answers it, so the window stays as it
// is. Elsewhere the window manager already refuses, and this does nothing.
void refuseMaximising(QWidget& window);

} // namespace ui
