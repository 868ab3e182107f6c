#pragma once

#include <QColor>
#include <QSize>
#include <QString>

// What a screen reader says of things that are only seen: a colour and a
// picture, in Polish words and numbers.
namespace spoken {

// A rough Polish name of an RGB colour, one word: "czarny", "szary",
// "jasnoszary", "czerwony", "ciemnozielony", "granatowy", ... Greys by
// lightness; other colours by hue, with "ciemno"/"jasno" for dark and light
// shades, except where Polish has a name of its own: dark orange "brązowy",
// dark yellow "oliwkowy", dark cyan "morski", dark blue "granatowy", light
// magenta "różowy".
QString colourName(int red, int green, int blue);

// The name and the exact parts, as the colour dialog names them:
// "czerwony: czerwony 255, zielony 0, niebieski 0".
QString colourDescription(const QColor& colour);

// The noun after a count of pixels, by Polish grammar: 1 "piksel";
// 2-4, 22-24, ... "piksele"; otherwise "pikseli".
QString pixelsWord(int count);

// What a text picture is: "Napis „Text”, styl „Tęcza”, 65 × 46 pikseli"
// ("Bez napisu, ..." for an empty text; no style part without a style name).
QString pictureDescription(const QString& text, const QString& style, QSize pixels);

} // namespace spoken
