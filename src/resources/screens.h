#pragma once

class QWidget;

namespace ui {

// Keeps `window` laid out for the screen it is on. Its stored layout was
// placed in the logical pixels of the primary screen; where the window opens
// on, or moves to, a screen of another logical dpi (scaling that Qt leaves to
// the program), every control placed by hand and a fixed window size are
// placed again at that screen's twips per pixel, from the places they had at
// the first dpi, so moving back restores them exactly. Screens that differ
// only in device pixel ratio need nothing: Qt scales for those. Each time,
// and when the window is first shown, its captions get the room their text
// needs (fitCaptions).
void followScreen(QWidget& window);

// The logical dpi `window` is laid out for now.
int laidOutDpi(const QWidget& window);

} // namespace ui
