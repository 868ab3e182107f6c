#include "about/aboutlogic.h"

#include "render/numbers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdint>

// PISMOLOT_WEB_ADDRESS, PISMOLOT_MAIL_ADDRESS, PISMOLOT_GUIDE_FROM_PROGRAM and
// PISMOLOT_GUIDE_INSTALLED are the build's settings (src/about/CMakeLists.txt).

namespace about {

QString installedFile(const QString& programDir, const QString& fromProgram,
                      const QString& installed) {
    if (!programDir.isEmpty()) {
        const QDir dir(programDir);
        for (const QString& candidate : {QFileInfo(fromProgram).fileName(), fromProgram}) {
            QString path = QDir::cleanPath(dir.absoluteFilePath(candidate));
            if (QFileInfo(path).isFile())
                return path;
        }
    }
    return installed;
}

QString guideFile() {
    // The program's folder is known only once the application object exists.
    const QString programDir =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    return installedFile(programDir, QString::fromUtf8(PISMOLOT_GUIDE_FROM_PROGRAM),
                         QString::fromUtf8(PISMOLOT_GUIDE_INSTALLED));
}

QUrl webTarget(const QString& webAddress, const QString& guidePath) {
    const QString address = webAddress.trimmed();
    if (address.isEmpty())
        return QUrl::fromLocalFile(guidePath);
    if (address.startsWith(QLatin1Char('/')))
        return QUrl::fromLocalFile(address);
    return QUrl(address);
}

QUrl mailTarget(const QString& mailAddress) {
    const QString address = mailAddress.trimmed();
    if (address.isEmpty())
        return {};
    const QString scheme = QStringLiteral("mailto:");
    return QUrl(address.startsWith(scheme, Qt::CaseInsensitive) ? address : scheme + address);
}

QUrl webTarget() {
    return webTarget(QString::fromUtf8(PISMOLOT_WEB_ADDRESS), guideFile());
}

QUrl mailTarget() {
    return mailTarget(QString::fromUtf8(PISMOLOT_MAIL_ADDRESS));
}

int bandHeight(float scaleHeight) {
    return pismolot::roundHalfEven<std::int32_t>(double(scaleHeight) / 255.0);
}

std::vector<Band> gradientBands(float scaleHeight) {
    const int height = bandHeight(scaleHeight);
    std::vector<Band> bands;
    bands.reserve(BandCount);
    // 64-bit while adding up, then held: the band tops cannot overflow at
    // any height a window can have.
    std::int64_t y = 0;
    for (int i = 0; i < BandCount; ++i) {
        bands.push_back({int(y), height, pismolot::ColourValue::rgb(255 - i, 11, 255 - i)});
        y += height;
    }
    return bands;
}

ButtonColours Marz(ButtonColours colours) {
    for (pismolot::ColourValue& c : colours)
        if (c != NormalColour)
            c = NormalColour;
    return colours;
}

ButtonColours afterMouseMove(ButtonColours colours, Spot spot) {
    switch (spot) {
    case Spot::Background:
    case Spot::Label3:
        return Marz(colours);
    case Spot::Label1:
    case Spot::Label2:
        return colours;
    case Spot::Command1:
    case Spot::Command2:
    case Spot::Command3: {
        colours = Marz(colours);
        const std::size_t index = std::size_t(int(spot) - int(Spot::Command1));
        colours[index] = HighlightColour;
        return colours;
    }
    }
    return colours;
}

} // namespace about
