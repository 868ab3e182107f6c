// Linux has no dialog font of its own: narrow sans serifs whose widths match
// those the stored layouts were made for.
#include "resources/appearance.h"

namespace ui {

QStringList dialogFontFamilies() {
    return {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans Narrow"),
            QStringLiteral("Nimbus Sans Narrow"), QStringLiteral("Arial Narrow")};
}

} // namespace ui
