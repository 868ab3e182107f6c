#pragma once

class QComboBox;

// Combo box habits of the platform the layouts come from.
namespace ui {

// Draws the combo's drop-down arrow `arrowWidth` pixels wide, so that a box
// as narrow as the size box still shows its digits whole. The combo takes
// a style of its own (the application's, with the narrower arrow).
void narrowArrow(QComboBox& combo, int arrowWidth);

// Makes the drop-down list at least as wide as its longest entry, now and
// whenever entries are added or changed.
void fitPopupToContents(QComboBox& combo);

// The mouse wheel changes the choice only while the combo has the focus; a
// wheel over an unfocused combo does nothing, and does not give it the focus.
void wheelOnlyWithFocus(QComboBox& combo);

} // namespace ui
