#include "editor/redak.h"

#include "editor/colourswatch.h"

// Placeholder until the editor is built.
Redak::Redak(QWidget* parent) : QWidget(parent) {}
QString Redak::effectText() const { return {}; }
pismolot::FontSpec Redak::previewFont() const { return {}; }
int Redak::styleIndex() const { return 0; }
pismolot::ColourValue Redak::backgroundColour() const { return pismolot::syscolour::CaptionText; }
