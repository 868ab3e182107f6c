#include "editor/editormodel.h"

#include "render/fonts.h"
#include "render/numbers.h"

#include <string_view>

namespace editor {

bool filterSizeKey(int& keyAscii) {
    if (keyAscii >= '0' && keyAscii <= '9')
        return true;
    keyAscii = 0;
    return false;
}

std::optional<float> previewSize(QStringView sizeText, int dpi) {
    const double number = pismolot::readNumber(std::u16string_view(
        reinterpret_cast<const char16_t*>(sizeText.utf16()), std::size_t(sizeText.size())));
    const float size = float(number);
    // Refuses NaN too; overflow to infinity fails the bound.
    if (!pismolot::fontSizeDrawable(size, dpi))
        return std::nullopt;
    return size;
}

pismolot::FontChoice applyFontChoice(const pismolot::FontChoice& current, const QString& fontName,
                                     QStringView sizeText, int dpi) {
    pismolot::FontChoice next = current;
    // No selection in the font list leaves its text empty: no font has that name.
    if (!fontName.isEmpty())
        next.name = fontName;
    if (const std::optional<float> size = previewSize(sizeText, dpi))
        next.size = *size;
    return next;
}

bool attribute(const pismolot::FontChoice& font, int index) {
    switch (index) {
    case Bold:
        return font.bold;
    case Italic:
        return font.italic;
    case Underline:
        return font.underline;
    default:
        return false;
    }
}

pismolot::FontChoice toggleAttribute(pismolot::FontChoice font, int index) {
    switch (index) {
    case Bold:
        font.bold = !font.bold;
        break;
    case Italic:
        font.italic = !font.italic;
        break;
    case Underline:
        font.underline = !font.underline;
        break;
    default:
        break;
    }
    return font;
}

} // namespace editor
