#pragma once

#include "render/colour.h"
#include "render/job.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// The editor's rules apart from its widgets: what the size box lets through,
// which size and name the preview font takes, how the attribute buttons shade.
namespace editor {

// The size box's presets, in the order the list shows them (numeric, not
// sorted as text), and the one chosen at start.
inline constexpr std::array<const char*, 20> SizePresets = {
    "8",  "9",  "10", "11", "12", "14", "16",  "18",  "20",  "22",
    "24", "26", "28", "36", "48", "72", "120", "240", "360", "480"};
inline constexpr int StartPresetIndex = 10;

// The size box's text at design time; it reads as 0, which the preview font
// refuses, until loading selects the start preset.
inline constexpr const char* SizeBoxDesignText = "Combo1";

// Attribute button index: 0 bold, 1 italic, 2 underline.
enum Attribute { Bold = 0, Italic = 1, Underline = 2 };
inline constexpr int AttributeCount = 3;

inline constexpr pismolot::ColourValue ShadingOn = pismolot::ColourValue::rgb(128, 128, 128);
inline constexpr pismolot::ColourValue ShadingOff = pismolot::syscolour::ButtonFace;

// The size box's key filter: a character code passes only if it is a digit;
// the filter sets any other code to 0, which discards the character.
// Returns whether the character passed.
bool filterSizeKey(int& keyAscii);

// The size the preview font takes for the size box's text, read as a number
// in single precision; nothing when the font refuses it (0, negative, beyond
// pismolot::MaxFontPoints, not a number) or the font engine cannot draw it at
// the screen's `dpi`.
std::optional<float> previewSize(QStringView sizeText, int dpi);

// Zmien on plain values: the font list's text becomes the name and the size
// box's text the size; a step the font refuses keeps the current value.
// Bold, italic and underline are never touched.
pismolot::FontChoice applyFontChoice(const pismolot::FontChoice& current, const QString& fontName,
                                     QStringView sizeText, int dpi);

bool attribute(const pismolot::FontChoice& font, int index);
pismolot::FontChoice toggleAttribute(pismolot::FontChoice font, int index);
inline pismolot::ColourValue shadingFor(bool on) {
    return on ? ShadingOn : ShadingOff;
}

} // namespace editor
