#include "resources/spoken.h"

#include <algorithm>

namespace spoken {

namespace {

// Colours whose strongest and weakest parts differ less than this are grey.
constexpr int GreyChroma = 32;
// Lightness (0-510, the sum of the strongest and weakest part) below which a
// colour is dark and above which it is light.
constexpr int DarkBelow = 160;
constexpr int LightAbove = 350;

struct Hue {
    int below; // degrees
    const char* plain;
    const char* dark;
    const char* light;
};

// By hue, from red round to red again.
constexpr Hue Hues[] = {
    {15, "czerwony", "ciemnoczerwony", "jasnoczerwony"},
    {45, "pomarańczowy", "brązowy", "jasnopomarańczowy"},
    {70, "żółty", "oliwkowy", "jasnożółty"},
    {160, "zielony", "ciemnozielony", "jasnozielony"},
    {200, "błękitny", "morski", "jasnobłękitny"},
    {260, "niebieski", "granatowy", "jasnoniebieski"},
    {290, "fioletowy", "ciemnofioletowy", "jasnofioletowy"},
    {345, "purpurowy", "ciemnopurpurowy", "różowy"},
    {360, "czerwony", "ciemnoczerwony", "jasnoczerwony"},
};

} // namespace

QString colourName(int red, int green, int blue) {
    const int high = std::max({red, green, blue});
    const int low = std::min({red, green, blue});
    const int lightness = high + low;
    if (high - low < GreyChroma) {
        const char* grey = lightness < 64    ? "czarny"
                           : lightness < 192 ? "ciemnoszary"
                           : lightness < 320 ? "szary"
                           : lightness < 448 ? "jasnoszary"
                                             : "biały";
        return QString::fromUtf8(grey);
    }
    const int hue = QColor(red, green, blue).hue();
    const Hue* band = std::find_if(std::begin(Hues), std::end(Hues),
                                   [hue](const Hue& h) { return hue < h.below; });
    const char* name = lightness < DarkBelow    ? band->dark
                       : lightness > LightAbove ? band->light
                                                : band->plain;
    return QString::fromUtf8(name);
}

QString colourDescription(const QColor& colour) {
    return QStringLiteral("%1: czerwony %2, zielony %3, niebieski %4")
        .arg(colourName(colour.red(), colour.green(), colour.blue()))
        .arg(colour.red())
        .arg(colour.green())
        .arg(colour.blue());
}

QString pixelsWord(int count) {
    const int ones = count % 10;
    const int tens = count % 100;
    if (count == 1)
        return QStringLiteral("piksel");
    if (ones >= 2 && ones <= 4 && (tens < 12 || tens > 14))
        return QStringLiteral("piksele");
    return QStringLiteral("pikseli");
}

QString pictureDescription(const QString& text, const QString& style, QSize pixels) {
    QString description =
        text.isEmpty() ? QStringLiteral("Bez napisu") : QStringLiteral("Napis „%1”").arg(text);
    if (!style.isEmpty())
        description += QStringLiteral(", styl „%1”").arg(style);
    return description + QStringLiteral(", %1 × %2 %3")
                             .arg(pixels.width())
                             .arg(pixels.height())
                             .arg(pixelsWord(pixels.height()));
}

} // namespace spoken
