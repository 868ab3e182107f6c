#include "fonts.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <algorithm>
#include <array>
#include <cmath>

namespace pismolot {

namespace {

// Qt names the maker in brackets when two ship the same family.
QString withoutFoundry(QString name) {
    if (name.endsWith(QLatin1Char(']'))) {
        const qsizetype open = name.lastIndexOf(QLatin1Char('['));
        if (open > 0)
            name.truncate(open);
    }
    return name.trimmed();
}

} // namespace

bool fontSizeDrawable(float points, int dpi) {
    if (!(points > 0.0f && points <= MaxFontPoints) || dpi <= 0)
        return false;
    return double(points) * dpi / 72.0 <= double(MaxPixelsPerEm);
}

QFont makeFont(const FontChoice& choice) {
    QFont font(platformDrawsFamily(choice.name) ? choice.name : defaultSansFamily());
    if (choice.size > 0)
        font.setPointSizeF(choice.size);
    font.setBold(choice.bold);
    font.setItalic(choice.italic);
    font.setUnderline(choice.underline);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setKerning(true);
    return font;
}

qreal drawnPixelsPerEm(qreal points, int dpi) {
    return qreal(qRound(std::floor((points * dpi * 100 + 50) / 72) / 100));
}

QStringList familyList(const QStringList& raw) {
    // fontconfig's generic names, which Qt lists as if they were fonts.
    static const std::array<QLatin1String, 3> aliases = {
        QLatin1String("Sans Serif"), QLatin1String("Serif"), QLatin1String("Monospace")};
    QStringList families;
    for (const QString& rawName : raw) {
        const QString name = withoutFoundry(rawName);
        const bool alias = std::any_of(aliases.begin(), aliases.end(), [&](QLatin1String a) {
            return name.compare(a, Qt::CaseInsensitive) == 0;
        });
        if (!name.isEmpty() && !alias)
            families << name;
    }
    std::sort(families.begin(), families.end(), [](const QString& a, const QString& b) {
        const int byCase = QString::compare(a, b, Qt::CaseInsensitive);
        return byCase != 0 ? byCase < 0 : a < b;
    });
    families.erase(std::unique(families.begin(), families.end()), families.end());
    return families;
}

QStringList sortedFontFamilies() {
    QStringList families = familyList(QFontDatabase::families());
    families.removeIf([](const QString& family) { return !platformDrawsFamily(family); });
    return families;
}

QString resolvedFamily(const QString& requested) {
    return withoutFoundry(QFontInfo(makeFont(FontChoice{requested, 24})).family());
}

QString defaultSansFamily() {
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setFamily(QStringLiteral("sans-serif"));
    return QFontInfo(font).family();
}

} // namespace pismolot
