// The main window's output commands: the clipboard copy and the save, and
// the Polish message a failed save shows.
#include "mainwin/output.h"

#include "mainwin/rys.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include "filesizelimit.h"

#include <gtest/gtest.h>

#include "platformskip.h"

#include <csignal>
#include <memory>
#include <optional>

using pismolot::ImageFormat;
using pismolot::WriteError;
using pismolot::WriteStatus;

namespace {

QImage picture() {
    QImage image(40, 12, QImage::Format_RGB32);
    image.fill(qRgb(200, 30, 90));
    image.setPixel(3, 4, qRgb(0, 0, 0));
    return image;
}

// Old contents of every kind a picture does not bring: text and a private
// format of some other program.
void fillClipboardWithOldData(QClipboard& clipboard) {
    auto* old = new QMimeData;
    old->setText(QStringLiteral("stary tekst"));
    old->setData(QStringLiteral("application/x-inny-program"), "stare dane");
    clipboard.setMimeData(old);
}

// Placing data replaces all of the clipboard's formats at once, so the only
// trace of the clear is the empty clipboard announced before the picture
// arrives; without the clear there is one announcement, with the picture.
TEST(Copy, ClearsTheClipboardThenLeavesOnlyThePicture) {
    SKIP_ON_WINDOWS("Windows' clipboard adds bitmap formats of its own beside the picture's");
    QClipboard& clipboard = *QGuiApplication::clipboard();
    for (int round = 0; round < 2; ++round) {
        fillClipboardWithOldData(clipboard);
        QList<QStringList> announced;
        QObject context;
        QObject::connect(&clipboard, &QClipboard::dataChanged, &context, [&] {
            const QMimeData* now = clipboard.mimeData();
            announced.append(now ? now->formats() : QStringList());
        });
        EXPECT_EQ(output::copyPicture(clipboard, picture()), QString());
        ASSERT_EQ(announced.size(), 2) << "round " << round;
        EXPECT_TRUE(announced[0].isEmpty()) << announced[0].join(' ').toStdString();
        const QMimeData* data = clipboard.mimeData();
        ASSERT_NE(data, nullptr);
        // PNG first for programs that take the first type they know, BMP
        // next, nothing else; both of the picture's own pixels.
        EXPECT_EQ(data->formats(), QStringList({"image/png", "image/bmp"}));
        EXPECT_EQ(QImage::fromData(data->data("image/png"), "PNG"), picture());
        EXPECT_EQ(QImage::fromData(data->data("image/bmp"), "BMP"), picture());
    }
}

TEST(Copy, EmptyPictureLeavesTheClipboardUntouched) {
    QClipboard& clipboard = *QGuiApplication::clipboard();
    fillClipboardWithOldData(clipboard);
    int announced = 0;
    QObject context;
    QObject::connect(&clipboard, &QClipboard::dataChanged, &context, [&] { ++announced; });
    const QString message = output::copyPicture(clipboard, QImage());
    EXPECT_TRUE(message.startsWith("Nie udało się skopiować efektu do schowka."));
    EXPECT_TRUE(message.contains("pusty")) << message.toStdString();
    EXPECT_EQ(announced, 0);
    EXPECT_EQ(clipboard.mimeData()->data(QStringLiteral("application/x-inny-program")),
              "stare dane");
}

TEST(SaveFormats, BmpFirstThenPngJpegAndWebpWhereItCanBeWrittenThenSvgAndPdf) {
    for (const bool webp : {true, false}) {
        const output::FormatAvailable available = [&](ImageFormat f) {
            return f != ImageFormat::Webp || webp;
        };
        QStringList filters;
        for (const output::SaveFormat& format : output::saveFormats(available))
            filters << format.nameFilter;
        QStringList expected{"Pliki BMP (*.bmp)", "Pliki PNG (*.png)", "Pliki JPEG (*.jpg *.jpeg)"};
        QString filter = "Pliki BMP (*.bmp)|*.bmp|Pliki PNG (*.png)|*.png|"
                         "Pliki JPEG (*.jpg *.jpeg)|*.jpg;*.jpeg";
        if (webp) {
            expected << "Pliki WebP (*.webp)";
            filter += "|Pliki WebP (*.webp)|*.webp";
        }
        expected << "Obraz wektorowy SVG (*.svg)"
                 << "Dokument PDF (*.pdf)";
        filter += "|Obraz wektorowy SVG (*.svg)|*.svg|Dokument PDF (*.pdf)|*.pdf";
        EXPECT_EQ(filters, expected);
        EXPECT_EQ(output::saveFilter(available), filter);
    }
}

struct FormatCase {
    const char* path;
    const char* selectedFilter;
    ImageFormat format;
};

// The extension typed wins in any case; without one that names a format,
// the filter left selected; without that, BMP.
TEST(SaveFormats, ExtensionThenSelectedFilterThenBmp) {
    const FormatCase cases[] = {
        {"obraz.png", "Pliki BMP (*.bmp)", ImageFormat::Png},
        {"OBRAZ.PNG", "Pliki BMP (*.bmp)", ImageFormat::Png},
        {"/tmp/x/obraz.JpEg", "Pliki PNG (*.png)", ImageFormat::Jpeg},
        {"obraz.jpg", "Pliki WebP (*.webp)", ImageFormat::Jpeg},
        {"obraz.webp", "Pliki BMP (*.bmp)", ImageFormat::Webp},
        {"obraz.bmp", "Pliki PNG (*.png)", ImageFormat::Bmp},
        {"obraz", "Pliki PNG (*.png)", ImageFormat::Png},
        {"obraz", "Pliki JPEG (*.jpg *.jpeg)", ImageFormat::Jpeg},
        {"obraz", "Pliki WebP (*.webp)", ImageFormat::Webp},
        {"obraz.txt", "Pliki PNG (*.png)", ImageFormat::Png},
        {"obraz.", "Pliki JPEG (*.jpg *.jpeg)", ImageFormat::Jpeg},
        {"folder.png/obraz", "Pliki BMP (*.bmp)", ImageFormat::Bmp},
        {"obraz", "", ImageFormat::Bmp},
        {"obraz.gif", "Coś innego (*.gif)", ImageFormat::Bmp},
        {"obraz.SVG", "Pliki BMP (*.bmp)", ImageFormat::Svg},
        {"obraz.pdf", "Obraz wektorowy SVG (*.svg)", ImageFormat::Pdf},
        {"obraz", "Obraz wektorowy SVG (*.svg)", ImageFormat::Svg},
        {"obraz.png", "Dokument PDF (*.pdf)", ImageFormat::Png},
        {"obraz", "Dokument PDF (*.pdf)", ImageFormat::Pdf},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(output::saveFormatFor(c.path, c.selectedFilter), c.format)
            << c.path << " / " << c.selectedFilter;
    }
}

// Each format byte for byte as the renderer writes it (JPEG at quality 95,
// WebP lossless), under exactly the name given.
TEST(SaveFormats, FilesAreTheRenderersBytes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const ImageFormat format : {ImageFormat::Png, ImageFormat::Jpeg, ImageFormat::Webp}) {
        if (!pismolot::canWriteFormat(format))
            continue;
        const QString path = dir.filePath(QString("efekt%1").arg(int(format)));
        ASSERT_EQ(output::savePicture(path, picture(), format), QString());
        QBuffer renderer;
        renderer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(pismolot::writeImage(renderer, picture(), format).ok());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(bytes, renderer.data()) << int(format);
        if (format != ImageFormat::Jpeg) {
            EXPECT_EQ(QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32), picture());
        }
    }
}

TEST(DragFileName, IsSafeForAnyText) {
    const std::string longText(300, 'a');
    const struct {
        QString text;
        QString name;
    } cases[] = {
        {"Cześć", "Cześć.png"},
        {"a/b\\c", "a_b_c.png"},
        {QString("x") + QChar(0) + "y", "x_y.png"},
        {"linia\ndruga\tkoniec", "linia druga koniec.png"},
        {"..", "efekt.png"},
        {"../../etc/passwd", "_.._etc_passwd.png"},
        {".ukryty", "ukryty.png"},
        {"  spacje  ", "spacje.png"},
        {"", "efekt.png"},
        {"   ", "efekt.png"},
        {"co? <tak>:*|\"", "co_ _tak_____.png"},
        {QString::fromUtf8("zdj\u202Egnp.exe"), "zdj_gnp.exe.png"},
        {QString(QChar(0xD800)) + "x", "_x.png"},
        {QString::fromUtf8("\xF0\x9F\x98\x80"), QString::fromUtf8("\xF0\x9F\x98\x80.png")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(output::dragFileName(c.text), c.name) << c.text.toStdString();

    // Bounded in bytes, cut between characters, never inside a pair.
    for (const QString& text : {QString::fromStdString(longText), QString("ż").repeated(200),
                                QString::fromUtf8("\xF0\x9F\x98\x80").repeated(100)}) {
        const QString name = output::dragFileName(text);
        EXPECT_LE(name.toUtf8().size(), 124) << name.toStdString();
        EXPECT_GE(name.toUtf8().size(), 100) << name.toStdString();
        EXPECT_TRUE(name.endsWith(".png"));
        EXPECT_EQ(QString::fromUtf8(name.toUtf8()), name) << "no half a character";
    }
}

// What a drag hands over: PNG data first, then the same bytes as a file
// named after the text.
TEST(DragData, PngDataThenTheSameBytesAsAFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::unique_ptr<QMimeData> data(output::dragData(picture(), "Napis", dir.path()));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->formats(), QStringList({"image/png", "text/uri-list"}));
    const QByteArray png = data->data("image/png");
    EXPECT_EQ(QImage::fromData(png, "PNG"), picture());
    ASSERT_EQ(data->urls().size(), 1);
    const QString path = data->urls()[0].toLocalFile();
    EXPECT_EQ(path, dir.filePath("Napis.png"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), png);

    // Without a folder the data alone; without a picture nothing.
    data.reset(output::dragData(picture(), "Napis", QString()));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->formats(), QStringList({"image/png"}));
    data.reset(output::dragData(picture(), "Napis", dir.filePath("brak")));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->formats(), QStringList({"image/png"}));
    EXPECT_EQ(output::dragData(QImage(), "Napis", dir.path()), nullptr);
}

TEST(DragData, EveryDragGetsAFreshFolderOfTheProgramsOwn) {
    const QString first = output::newDragFolder();
    const QString second = output::newDragFolder();
    ASSERT_FALSE(first.isEmpty());
    EXPECT_NE(first, second);
    EXPECT_EQ(QFileInfo(first).dir(), QFileInfo(second).dir());
    EXPECT_TRUE(QFileInfo(first).isDir());
    EXPECT_TRUE(QDir(second).isEmpty());
    EXPECT_TRUE(QFileInfo(first).absolutePath().startsWith(QDir::tempPath() + "/pismolot-"));
}

void sendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent event(type, at, widget->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// The drag starts only once the pointer moved the desktop's drag distance
// with the button held, and carries the window's picture and text.
TEST(DragData, StartsBeyondTheDragDistanceWithThePicture) {
    pismolot::EffectSettings settings;
    settings.text = "Przeciągnij";
    Rys rys(settings);
    rys.Timer1->stop();
    rys.setResultPicture(picture());
    rys.showResultPicture();
    QList<QStringList> drags;
    QString file;
    rys.startDrag = [&](std::unique_ptr<QMimeData> data) {
        drags.append(data->formats());
        file = data->urls().value(0).toLocalFile();
    };
    const int distance = QApplication::startDragDistance();
    const QPoint from(5, 5);
    sendMouse(rys.Picture1, QEvent::MouseButtonPress, from, Qt::LeftButton);
    sendMouse(rys.Picture1, QEvent::MouseMove, from + QPoint(distance - 1, 0), Qt::LeftButton);
    EXPECT_TRUE(drags.isEmpty());
    // Without the button held no drag, however far.
    sendMouse(rys.Picture1, QEvent::MouseMove, from + QPoint(distance * 3, 0), Qt::NoButton);
    EXPECT_TRUE(drags.isEmpty());
    sendMouse(rys.Picture1, QEvent::MouseMove, from + QPoint(distance, 0), Qt::LeftButton);
    ASSERT_EQ(drags.size(), 1);
    EXPECT_EQ(drags[0], QStringList({"image/png", "text/uri-list"}));
    EXPECT_EQ(QFileInfo(file).fileName(), "Przeciągnij.png");
    EXPECT_EQ(QImage(file, "PNG"), picture());
    // One press, one drag; a release ends the press.
    sendMouse(rys.Picture1, QEvent::MouseMove, from + QPoint(distance * 2, 0), Qt::LeftButton);
    sendMouse(rys.Picture1, QEvent::MouseButtonRelease, from, Qt::NoButton);
    sendMouse(rys.Picture1, QEvent::MouseMove, from + QPoint(distance * 2, 0), Qt::LeftButton);
    EXPECT_EQ(drags.size(), 1);
}

struct SaveCase {
    const char* name;
    const char* path; // in a folder that holds "stary.bmp" and the folder "folder.bmp"
    bool emptyPicture;
    bool diskFull;
    const char* reason; // the Polish reason the message must give
};

void PrintTo(const SaveCase& c, std::ostream* os) {
    *os << c.name;
}

class FailedSave : public testing::TestWithParam<SaveCase> {};

// Real failures through the save command: the file named in typographic
// quotes, a reason in Polish, the old file kept.
TEST_P(FailedSave, SaysWhyInPolishAndKeepsTheOldFile) {
    const SaveCase& c = GetParam();
    if (c.diskFull && !CanLimitFileSize)
        GTEST_SKIP() << "no file size limit to fill the disk with on this system";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    {
        QFile old(dir.filePath("stary.bmp"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("stara zawartość");
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.bmp"));
    const QString path = dir.filePath(QString::fromUtf8(c.path));
    QString message;
    {
        std::optional<FileSizeLimit> limit;
        if (c.diskFull)
            limit.emplace(100); // the picture's file has about 1.5 KB
        message = output::savePicture(path, c.emptyPicture ? QImage() : picture());
    }
    EXPECT_TRUE(message.startsWith(QStringLiteral("Nie udało się zapisać pliku „%1”.").arg(path)))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QString::fromUtf8(c.reason))) << message.toStdString();
    QFile old(dir.filePath("stary.bmp"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("stara zawartość"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"folder.bmp", "stary.bmp"}));
}

INSTANTIATE_TEST_SUITE_P(
    Causes, FailedSave,
    testing::Values(SaveCase{"DiskFullMidWrite", "stary.bmp", false, true, "brak miejsca na dysku"},
                    SaveCase{"MissingFolder", "brak/efekt.bmp", false, false, "nie istnieje"},
                    SaveCase{"FolderInPlaceOfTheFile", "folder.bmp", false, false, "jest folder"},
                    SaveCase{"EmptyPicture", "stary.bmp", true, false, "obraz jest pusty"}),
    [](const testing::TestParamInfo<SaveCase>& info) { return std::string(info.param.name); });

// The system's text is a fallback: it never stands in for a cause we can
// name in Polish, and it is there when we cannot.
TEST(FailureMessage, SystemTextOnlyWhereWeHaveNoReasonOfOurOwn) {
    const QString english = QStringLiteral("Some English text from the system");
    QStringList reasons;
    for (WriteError cause :
         {WriteError::EmptyPicture, WriteError::TooLarge, WriteError::IsDirectory,
          WriteError::NoPermission, WriteError::NoSuchFolder, WriteError::DiskFull,
          WriteError::ReadOnlyFileSystem, WriteError::ReadOnlyFile, WriteError::InUse,
          WriteError::BadName, WriteError::PathTooLong}) {
        const QString message = output::saveFailureMessage("x.bmp", WriteStatus{cause, english});
        EXPECT_FALSE(message.contains(english)) << message.toStdString();
        reasons.append(message);
    }
    reasons.removeDuplicates();
    EXPECT_EQ(reasons.size(), 11) << "each cause has a reason of its own";
    EXPECT_TRUE(output::saveFailureMessage("x.bmp", WriteStatus{WriteError::Other, english})
                    .contains(english));
    const QString unknown = output::saveFailureMessage("x.bmp", WriteStatus{WriteError::Other, {}});
    EXPECT_FALSE(unknown.endsWith("Powód: .")) << unknown.toStdString();
}

} // namespace
