#include "resources/palette.h"

QColor toQColor(pismolot::ColourValue colour) {
    if (colour.isSystem()) {
        if (const std::optional<QColor> shown = desktopColour(colour.systemIndex()))
            return *shown;
    }
    const pismolot::ColourValue rgb = colour.toRgb();
    return QColor(rgb.red(), rgb.green(), rgb.blue());
}
