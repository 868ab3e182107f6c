#pragma once

#include "render/colour.h"

#include <QColor>

#include <optional>

// Colours on screen: RGB values as they are; system colour references as
// the desktop shows them (desktopColour), else as the system resolves them
// (ColourValue::toRgb).
QColor toQColor(pismolot::ColourValue colour);

// The colour the desktop's palette gives system colour `index`, where it has
// a matching role (palette_posix.cpp); nothing on Windows, whose system
// colours are the desktop's own (palette_win.cpp).
std::optional<QColor> desktopColour(int index);
