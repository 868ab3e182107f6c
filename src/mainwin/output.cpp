#include "mainwin/output.h"

#include <QClipboard>
#include <QMimeData>

using pismolot::WriteError;

namespace output {

namespace {

QString reason(const pismolot::WriteStatus& status) {
    switch (status.error) {
    case WriteError::None:
        break;
    case WriteError::EmptyPicture:
        return QStringLiteral("obraz jest pusty (nie ma ani jednej kolumny lub wiersza)");
    case WriteError::TooLarge:
        return QStringLiteral("obraz jest za duży, by zapisać go w pliku tego rodzaju");
    case WriteError::IsDirectory:
        return QStringLiteral("pod tą nazwą jest folder, a nie plik");
    case WriteError::NoPermission:
        return QStringLiteral("brak uprawnień do zapisu w tym miejscu");
    case WriteError::NoSuchFolder:
        return QStringLiteral("folder, w którym miał powstać plik, nie istnieje");
    case WriteError::DiskFull:
        return QStringLiteral("brak miejsca na dysku");
    case WriteError::ReadOnlyFileSystem:
        return QStringLiteral("dysk jest tylko do odczytu");
    case WriteError::Other:
        // A cause users rarely meet: said in Polish, the system's own words
        // kept beside it for whoever looks into it.
        if (!status.systemText.isEmpty())
            return QStringLiteral("system nie pozwolił zapisać pliku (%1)").arg(status.systemText);
        break;
    }
    return QStringLiteral("nieznany błąd zapisu");
}

} // namespace

QString copyPicture(QClipboard& clipboard, const QImage& picture) {
    const QString failed = QStringLiteral("Nie udało się skopiować efektu do schowka.\nPowód: %1");
    if (pismolot::isEmptyPicture(picture))
        return failed.arg(reason({WriteError::EmptyPicture, {}}));
    clipboard.clear();
    clipboard.setImage(picture);
    // A clipboard held by another program takes nothing; reading back tells.
    const QMimeData* data = clipboard.mimeData();
    if (!data || !data->hasImage())
        return failed.arg(
            QStringLiteral("schowek nie przyjął obrazu (może używa go inny program)"));
    return QString();
}

QString savePicture(const QString& path, const QImage& picture) {
    const pismolot::WriteStatus status = pismolot::writeImageFile(
        path, picture, pismolot::ImageFormat::Bmp, pismolot::Commit::Durable);
    return status.ok() ? QString() : saveFailureMessage(path, status);
}

QString saveFailureMessage(const QString& path, const pismolot::WriteStatus& status) {
    return QStringLiteral("Nie udało się zapisać pliku „%1”.\nPowód: %2.")
        .arg(path, reason(status));
}

} // namespace output
