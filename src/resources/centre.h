#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace ui {

// The top-left corner that centres a window of outer size `outer` on
// `screen`: half the screen less half the window, in floating point, rounded
// half to even.
QPoint centredTopLeft(const QRect& screen, const QSize& outer);

// Moves `window` so that its outer frame (title bar and borders) is centred
// on its screen. The window manager frames a window only when it is first
// shown; until then the frame of another framed window of the program stands
// in for it, and the window is centred once more as soon as its own frame is
// known.
void centreOnScreen(QWidget& window);

// The window manager's frame around a shown window; none before it is framed.
QMargins frameMargins(const QWidget& window);

} // namespace ui
