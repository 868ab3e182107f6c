#include "editor/colourswatch.h"

#include "resources/palette.h"
#include "resources/spoken.h"

ColourSwatch::ColourSwatch(QWidget* parent) : QLabel(parent) {
    setAutoFillBackground(true);
    setBackColor(colour_);
}

void ColourSwatch::setBackColor(pismolot::ColourValue colour) {
    colour_ = colour;
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(colour));
    setPalette(p);
    setAccessibleDescription(spoken::colourDescription(toQColor(colour)));
}
