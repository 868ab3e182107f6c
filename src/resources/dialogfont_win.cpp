// Windows' own dialog fonts. The stored layouts were made for MS Sans Serif
// at 8 points, whose TrueType form every Windows has as Microsoft Sans Serif
// (Wine ships it under the old name); Tahoma, behind MS Shell Dlg 2, is
// wider and cuts the last letters of texts sized for it.
#include "resources/appearance.h"

namespace ui {

QStringList dialogFontFamilies() {
    return {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("MS Sans Serif"),
            QStringLiteral("MS Shell Dlg 2"), QStringLiteral("Segoe UI"), QStringLiteral("Tahoma")};
}

} // namespace ui
