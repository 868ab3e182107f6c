#pragma once

#include <qnamespace.h>

class QRect;
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

// Called in the constructor of a window with FixedFrame, after its fixed size
// is set. Elsewhere the window manager honours the flags, and this does
// nothing. On Wayland Qt's own title bar offers minimise and maximise buttons
// whatever the flags say, so the window goes without it and gets a title bar
// of its own instead: the caption and a close box, a strip that moves the
// window when dragged. The strip sits above the client area, which keeps the
// fixed size: the window grows by the strip, and its children move down by it
// when the window is first shown. A maximise or full-screen request that
// still comes (a compositor's key, say) is taken back at once.
void fixedFrame(QWidget& window);

// The client area of a window fixedFrame was called for, in its own
// coordinates: all of it, or what lies below its own title bar.
QRect clientArea(const QWidget& window);

} // namespace ui
