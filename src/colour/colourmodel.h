#pragma once

#include "render/colour.h"

#include <QString>

#include <array>

// The state of the background colour dialog, apart from its widgets: the
// three parts (red, green, blue), each held as a text and as a scroll value,
// and the preview's two colours. The dialog forwards every event to one of
// the operations below and shows the state afterwards; the operations also
// play out the chains the widgets would set off (a value that changes writes
// its text, a text that changes recomputes the preview), so no event loops.
class ColourModel {
public:
    enum Part { Red = 0, Green = 1, Blue = 2 };
    static constexpr int PartCount = 3;
    static constexpr int MaxPart = 255;

    // Creation: every text "0", every value 0, the preview in its stored
    // colours (black back, white text), not computed from the parts.
    ColourModel() = default;

    const QString& text(int part) const { return texts_[std::size_t(part)]; }
    int value(int part) const { return values_[std::size_t(part)]; }
    pismolot::ColourValue previewBack() const { return previewBack_; }
    pismolot::ColourValue previewText() const { return previewText_; }

    // The scroll bar's value changed, or its thumb is being dragged to value:
    // the text becomes the value's digits.
    void scrollChanged(int part, int value);
    void scrollDragged(int part, int value) { scrollChanged(part, value); }

    // The box's text changed, by keys, pasting or the program.
    void textChanged(int part, const QString& text);

    // A key event in the box: recompute the preview, then move the scroll bar
    // to the box's number. Key down and key press come before the keystroke
    // changes the text, key up after it.
    void keyDown(int part) { keyEvent(part); }
    void keyPress(int part) { keyEvent(part); }
    void keyUp(int part) { keyEvent(part); }

    // "OK": the colour to hand over is the preview's back colour as it is.
    // ("Anuluj" changes nothing here.)
    pismolot::ColourValue ok() const { return previewBack_; }

    // Recomputes the preview from the three texts.
    void Kolorek();

    // A text read as one part: rounded half to even, then held within
    // 0..255 so that too large or negative numbers still give a colour.
    static int partOf(double number);
    static double numberOf(const QString& text);

private:
    void keyEvent(int part);
    void setValue(int part, int value);
    void setText(int part, const QString& text);

    std::array<QString, PartCount> texts_{QStringLiteral("0"), QStringLiteral("0"),
                                          QStringLiteral("0")};
    std::array<int, PartCount> values_{};
    pismolot::ColourValue previewBack_ = pismolot::syscolour::MenuText;
    pismolot::ColourValue previewText_ = pismolot::syscolour::HighlightText;
};
