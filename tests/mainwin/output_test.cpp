// The main window's output commands: the clipboard copy and the save, and
// the Polish message a failed save shows.
#include "mainwin/output.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>

#include "filesizelimit.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <optional>

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
        EXPECT_TRUE(data->hasImage());
        EXPECT_FALSE(data->hasText());
        EXPECT_FALSE(data->hasFormat(QStringLiteral("application/x-inny-program")));
        EXPECT_EQ(clipboard.image().convertToFormat(QImage::Format_RGB32), picture());
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
          WriteError::ReadOnlyFileSystem}) {
        const QString message = output::saveFailureMessage("x.bmp", WriteStatus{cause, english});
        EXPECT_FALSE(message.contains(english)) << message.toStdString();
        reasons.append(message);
    }
    reasons.removeDuplicates();
    EXPECT_EQ(reasons.size(), 7) << "each cause has a reason of its own";
    EXPECT_TRUE(output::saveFailureMessage("x.bmp", WriteStatus{WriteError::Other, english})
                    .contains(english));
    const QString unknown = output::saveFailureMessage("x.bmp", WriteStatus{WriteError::Other, {}});
    EXPECT_FALSE(unknown.endsWith("Powód: .")) << unknown.toStdString();
}

} // namespace
