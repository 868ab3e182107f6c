#include "colour/colourmodel.h"

#include "render/numbers.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

double ColourModel::numberOf(const QString& text) {
    return pismolot::readNumber(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size()));
}

int ColourModel::partOf(double number) {
    // The 16-bit conversion saturates, so huge numbers and infinities land
    // on the nearest end like any other out-of-range part.
    const int rounded = pismolot::roundHalfEven<std::int16_t>(number);
    return std::clamp(rounded, 0, MaxPart);
}

void ColourModel::Kolorek() {
    const double r = numberOf(texts_[Red]);
    const double g = numberOf(texts_[Green]);
    const double b = numberOf(texts_[Blue]);
    previewBack_ = pismolot::ColourValue::rgb(partOf(r), partOf(g), partOf(b));
    // The complement is taken of the unrounded numbers: 255 - 12.5 = 242.5 -> 242.
    previewText_ =
        pismolot::ColourValue::rgb(partOf(MaxPart - r), partOf(MaxPart - g), partOf(MaxPart - b));
}

void ColourModel::scrollChanged(int part, int value) {
    values_[std::size_t(part)] = std::clamp(value, 0, MaxPart);
    setText(part, QString::number(values_[std::size_t(part)]));
}

void ColourModel::textChanged(int part, const QString& text) {
    texts_[std::size_t(part)] = text;
    Kolorek();
}

void ColourModel::keyEvent(int part) {
    Kolorek();
    setValue(part, partOf(numberOf(texts_[std::size_t(part)])));
}

// A scroll bar reports a change only when its value really differs; that is
// what ends the chain key -> value -> text -> preview.
void ColourModel::setValue(int part, int value) {
    if (values_[std::size_t(part)] == value)
        return;
    scrollChanged(part, value);
}

void ColourModel::setText(int part, const QString& text) {
    if (texts_[std::size_t(part)] == text)
        return;
    textChanged(part, text);
}
