#include "styles.h"

#include <cmath>

namespace pismolot {

const std::array<std::string_view, StyleCount> StyleNames = {
    "Różowo granatowy",
    "Niebieski",
    "Różowo błękitny",
    "Szary",
    "Fioletowy",
    "Czerwony",
    "Żółty",
    "Losowe kreski",
    "Pomarańczowo - zielony",
    "Zielony",
    "Śmieszny - czerwony",
    "Zielono - pomarańczowy",
    "Fioletowo - zielony",
};

QString styleName(int style) {
    if (style < 0 || style >= StyleCount)
        return {};
    const std::string_view name = StyleNames[std::size_t(style)];
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

QStringList styleNameList() {
    QStringList names;
    for (int i = 0; i < StyleCount; ++i)
        names << styleName(i);
    return names;
}

float StyleRandom::next() {
    // xorshift32; the top 24 bits make a float in [0, 1) exactly.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return float(state_ >> 8) * (1.0f / 16777216.0f);
}

StyleRandom& styleRandom() {
    static StyleRandom random;
    return random;
}

ColourValue styleColour(int style, int g, StyleRandom& random) {
    const int n = 255 - g;
    switch (style) {
    case 0:
        return ColourValue::rgb(n, 11, 100);
    case 1:
        return ColourValue::rgb(0, 0, n);
    case 2:
        return ColourValue::rgb(n, 41, 200);
    case 3:
        return ColourValue::rgb(n, n, n);
    case 4:
        return ColourValue::rgb(128 - g / 2, 0, n);
    case 5:
        return ColourValue::rgb(n, 33, int(std::floor(130.0 - g / 2.0)));
    case 6:
        return ColourValue::rgb(n, n, 97);
    case 7: {
        const int r = int(255.0f * random.next());
        const int gr = int(255.0f * random.next());
        const int b = int(255.0f * random.next());
        return ColourValue::rgb(r, gr, b);
    }
    case 8:
        return ColourValue::rgb(n, 100, 14);
    case 9:
        return ColourValue::rgb(40, n, 44);
    case 10:
        return ColourValue::rgb(g, 40, 12);
    case 11:
        return ColourValue::rgb(g, n, 60);
    case 12:
        return ColourValue::rgb(n, g, n);
    default:
        return ColourValue::rgb(0, 0, 0);
    }
}

} // namespace pismolot
