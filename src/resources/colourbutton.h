#pragma once

#include "render/colour.h"

#include <QPushButton>

// A push button whose whole face is its background colour, with a plain
// raised edge (sunken while pressed), its picture and caption centred on it:
// the classic desktop's graphical-style button. The face shows the colour
// alone, whatever the button's checked state. With the focus it shows a ring
// FocusInset pixels inside its edge, black outside and white inside.
class ColourButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColourButton(const QString& caption = {}, QWidget* parent = nullptr);

    static constexpr int FocusInset = 3;

    pismolot::ColourValue backColor() const { return colour_; }
    void setBackColor(pismolot::ColourValue colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    pismolot::ColourValue colour_ = pismolot::syscolour::ButtonFace;
};
