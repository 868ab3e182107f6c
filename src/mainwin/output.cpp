#include "mainwin/output.h"

#include "mainwin/clipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QMimeData>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QUrl>

using pismolot::formatTitle;
using pismolot::ImageFormat;
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
    case WriteError::ReadOnlyFile:
        return QStringLiteral("plik jest tylko do odczytu");
    case WriteError::InUse:
        return QStringLiteral("plik jest otwarty w innym programie, który nie pozwala go zastąpić; "
                              "zamknij go tam i spróbuj ponownie");
    case WriteError::BadName:
        return QStringLiteral("Windows nie pozwala na taką nazwę pliku (nazwy urządzeń, jak CON "
                              "czy AUX, znaki \\ / : * ? \" < > | i kropka lub spacja na końcu "
                              "są zabronione)");
    case WriteError::PathTooLong:
        return QStringLiteral(
            "ścieżka pliku jest dłuższa niż 259 znaków, na które pozwala Windows");
    case WriteError::Other:
        // A cause users rarely meet: said in Polish, the system's own words
        // kept beside it for whoever looks into it.
        if (!status.systemText.isEmpty())
            return QStringLiteral("system nie pozwolił zapisać pliku (%1)").arg(status.systemText);
        break;
    }
    return QStringLiteral("nieznany błąd zapisu");
}

const QString PngType = QStringLiteral("image/png");
const QString BmpType = QStringLiteral("image/bmp");
const QString SvgType = QStringLiteral("image/svg+xml");

// "*.jpg", "*.jpeg"
QStringList patterns(ImageFormat format) {
    QStringList list = pismolot::formatExtensions(format);
    for (QString& extension : list)
        extension.prepend(u'*');
    return list;
}

// The picture in `format` as the renderer writes it; empty where it cannot.
QByteArray encoded(const QImage& picture, ImageFormat format,
                   const pismolot::VectorPicture* vector = nullptr) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!pismolot::writeImage(buffer, picture, format, vector).ok())
        return QByteArray();
    return buffer.data();
}

} // namespace

QMimeData* pictureData(const QImage& picture, const pismolot::VectorPicture* vector) {
    const QByteArray png = encoded(picture, ImageFormat::Png);
    const QByteArray bmp = pismolot::encodeBmp24(picture);
    if (png.isEmpty() && bmp.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    // The order is the offer: programs take the first type they know.
    if (!png.isEmpty())
        data->setData(PngType, png);
    if (!bmp.isEmpty())
        data->setData(BmpType, bmp);
    // After the bitmaps: whatever pastes a picture today still takes one.
    if (vector) {
        if (const QByteArray svg = encoded(picture, ImageFormat::Svg, vector); !svg.isEmpty())
            data->setData(SvgType, svg);
    }
    return data;
}

QString copyPicture(QClipboard& clipboard, const QImage& picture,
                    const pismolot::VectorPicture* vector) {
    const QString failed = QStringLiteral("Nie udało się skopiować efektu do schowka.\nPowód: %1");
    if (pismolot::isEmptyPicture(picture))
        return failed.arg(reason({WriteError::EmptyPicture, {}}));
    QMimeData* data = pictureData(picture, vector);
    if (!data)
        return failed.arg(reason({WriteError::TooLarge, {}}));
    if (!placePicture(clipboard, data, picture))
        return failed.arg(
            QStringLiteral("schowek nie przyjął obrazu (może używa go inny program)"));
    return QString();
}

QList<SaveFormat> saveFormats(const FormatAvailable& available) {
    QList<SaveFormat> formats;
    for (const ImageFormat format :
         {ImageFormat::Bmp, ImageFormat::Png, ImageFormat::Jpeg, ImageFormat::Webp}) {
        // BMP is the program's own writer; the others may lack Qt's plugin.
        if (format != ImageFormat::Bmp && !available(format))
            continue;
        formats.append({format, QStringLiteral("Pliki %1 (%2)")
                                    .arg(formatTitle(format), patterns(format).join(u' '))});
    }
    // The program's own writers, after every bitmap.
    formats.append({ImageFormat::Svg, QStringLiteral("Obraz wektorowy SVG (*.svg)")});
    formats.append({ImageFormat::Pdf, QStringLiteral("Dokument PDF (*.pdf)")});
    return formats;
}

QString saveFilter(const FormatAvailable& available) {
    QStringList items;
    for (const SaveFormat& format : saveFormats(available))
        items << format.nameFilter << patterns(format.format).join(u';');
    return items.join(u'|');
}

ImageFormat saveFormatFor(const QString& path, const QString& selectedNameFilter) {
    ImageFormat fallback = ImageFormat::Bmp;
    for (const SaveFormat& format : saveFormats([](ImageFormat) { return true; })) {
        if (format.nameFilter == selectedNameFilter)
            fallback = format.format;
    }
    return pismolot::formatForFileName(path, fallback);
}

QString savePicture(const QString& path, const QImage& picture, ImageFormat format,
                    const pismolot::VectorPicture* vector) {
    // "obraz.webp" typed where Qt has no WebP plugin: said in Polish, and
    // never BMP bytes under that name.
    if (!pismolot::canWriteFormat(format))
        return QStringLiteral("Nie udało się zapisać pliku „%1”.\nPowód: ten program nie umie "
                              "zapisywać plików %2 (brak wtyczki Qt do tego formatu).")
            .arg(path, formatTitle(format));
    const pismolot::WriteStatus status =
        pismolot::writeImageFile(path, picture, format, pismolot::Commit::Durable, vector);
    return status.ok() ? QString() : saveFailureMessage(path, status);
}

QString saveFailureMessage(const QString& path, const pismolot::WriteStatus& status) {
    return QStringLiteral("Nie udało się zapisać pliku „%1”.\nPowód: %2.")
        .arg(path, reason(status));
}

QString lettersCutMessage(int fittingSize) {
    const QString cut = QStringLiteral("Część liter nie zmieściła się na ekranie i została "
                                       "ucięta: obraz ich nie zawiera.");
    if (fittingSize < 1)
        return cut + QStringLiteral("\nTekst jest za długi, by zmieścił się na ekranie w "
                                    "jakiejkolwiek wielkości czcionki; skróć go.");
    return cut +
           QStringLiteral("\nCały tekst zmieści się przy wielkości czcionki %1 lub mniejszej.")
               .arg(fittingSize);
}

namespace {

bool isBidiControl(char16_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

// Dots and spaces may not start a name (a hidden file, "..") nor end one
// (a name Windows' file systems cannot keep).
QString trimmedName(QString name) {
    auto edge = [](QChar c) { return c == u'.' || c == u' '; };
    while (!name.isEmpty() && edge(name.front()))
        name.remove(0, 1);
    while (!name.isEmpty() && edge(name.back()))
        name.chop(1);
    return name;
}

} // namespace

QString dragFileName(const QString& text) {
    // Far below the 255 bytes a name may have on common file systems, and
    // room for ".png".
    constexpr qsizetype MaxNameBytes = 120;
    const QStringView forbidden = u"/\\:*?\"<>|";
    QString name;
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString piece(text[i]);
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            piece += text[++i];
        else if (text[i].isSurrogate() || text[i].category() == QChar::Other_Control ||
                 forbidden.contains(text[i]) || isBidiControl(text[i].unicode()))
            piece = text[i].isSpace() ? QStringLiteral(" ") : QStringLiteral("_");
        bytes += piece.toUtf8().size();
        if (bytes > MaxNameBytes)
            break;
        name += piece;
    }
    name = trimmedName(name.simplified());
    if (name.isEmpty())
        name = QStringLiteral("efekt");
    return name + QStringLiteral(".png");
}

QMimeData* dragData(const QImage& picture, const QString& text, const QString& folder) {
    const QByteArray png = encoded(picture, ImageFormat::Png);
    if (png.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setData(PngType, png);
    if (folder.isEmpty())
        return data;
    const QString path = QDir(folder).filePath(dragFileName(text));
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(png) == png.size() && file.commit())
        data->setUrls({QUrl::fromLocalFile(path)});
    return data;
}

QString newDragFolder() {
    // Lives until the program ends; its destructor removes it with every
    // file a drag left there.
    static QTemporaryDir root(QDir::tempPath() + QStringLiteral("/pismolot-XXXXXX"));
    static int made = 0;
    if (!root.isValid())
        return QString();
    // One folder per drag: a program that reads a dropped file late never
    // finds a later picture of the same text under its name.
    const QString folder = root.filePath(QString::number(++made));
    return QDir().mkdir(folder) ? folder : QString();
}

} // namespace output
