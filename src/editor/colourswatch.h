#pragma once

#include "render/colour.h"

#include <QLabel>

// A label whose background shows a stored colour value, which may be a
// system colour reference; the value itself is kept, not just its RGB. Its
// description tells a screen reader the colour shown.
class ColourSwatch : public QLabel {
    Q_OBJECT
public:
    explicit ColourSwatch(QWidget* parent = nullptr);

    pismolot::ColourValue backColor() const { return colour_; }
    void setBackColor(pismolot::ColourValue colour);

private:
    pismolot::ColourValue colour_ = pismolot::syscolour::CaptionText;
};
