#pragma once

#include <qnamespace.h>

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

} // namespace ui
