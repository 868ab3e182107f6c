#pragma once

#include "render/colour.h"

#include <QColor>

// Colours on screen: RGB values as they are; system colour references
// through the desktop's palette where it has a matching role, otherwise the
// standard scheme.
QColor toQColor(pismolot::ColourValue colour);
