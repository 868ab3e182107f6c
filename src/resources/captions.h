#pragma once

#include <functional>

class QWidget;

namespace ui {

// Gives every caption of `window` the room its text needs: a label or button
// placed by hand whose text, in the font it has now, is wider than the place
// the stored layout gave it (a dialog font wider than the one the layout was
// made for) grows inside its parent, from the edge its text is aligned to; a
// wrapped label grows downwards; a frame grows to take its caption. Nothing
// shrinks, and nothing grows beyond the window. Hidden controls (a measuring
// label) are left alone.
void fitCaptions(QWidget& window);

// The controls of the window's stored layout, which fitCaptions and
// followScreen place: the children of `parent`, and those of its plain
// containers and frames, that no layout manages, parents before their
// children. Composite controls (combo boxes, scroll areas) place their own
// parts and are not entered.
void forEachPlacedChild(QWidget& parent, const std::function<void(QWidget&)>& visit);

// `widget` keeps the geometry it sets itself (a picture sized to its
// contents): followScreen and fitCaptions leave it alone.
void keepOwnGeometry(QWidget& widget);

} // namespace ui
