// Writing to paths: a write that fails part-way over an existing file, the
// kinds of target (FIFO, device, directory, symlinks), and the cause named
// for each failure that can be produced here.
#include "render/filecalls.h"
#include "render/imagefile.h"
#include "render/writesink.h"

#include "filesizelimit.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace pismolot;

namespace {

QImage sample(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, (x ^ y) % 256));
    return image;
}

QByteArray encoded(const QImage& image, ImageFormat format) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(writeImage(buffer, image, format).ok());
    return buffer.data();
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Everything in a folder, hidden names too: a temporary file left behind
// shows here.
QStringList listing(const QString& dir) {
    return QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

enum class Cut { Nothing, InsideHeader, MidRows, LastByte, None };

struct CutCase {
    const char* name;
    ImageFormat format;
    Cut cut;
};

void PrintTo(const CutCase& c, std::ostream* os) {
    *os << c.name;
}

qint64 limitFor(Cut cut, qint64 size) {
    switch (cut) {
    case Cut::Nothing:
        return 0;
    case Cut::InsideHeader:
        return 20;
    case Cut::MidRows:
        return size / 2;
    case Cut::LastByte:
        return size - 1;
    case Cut::None:
        return size;
    }
    return size;
}

class FullDisk : public testing::TestWithParam<CutCase> {};

constexpr detail::TemporaryFiles BothKinds[] = {detail::TemporaryFiles::UnnamedWherePossible,
                                                detail::TemporaryFiles::Named};
constexpr std::pair<detail::TemporaryFiles, Commit> KindsAndCommits[] = {
    {detail::TemporaryFiles::UnnamedWherePossible, Commit::Fast},
    {detail::TemporaryFiles::Named, Commit::Fast},
    {detail::TemporaryFiles::UnnamedWherePossible, Commit::Durable},
    {detail::TemporaryFiles::Named, Commit::Durable}};

// The old file keeps every byte, no temporary file is left, and the cause is
// a full disk; a new file is not created at all. With an unnamed temporary
// file and with "NAME.XXXXXX", as on file systems without unnamed ones.
TEST_P(FullDisk, MidWriteKeepsTheOldFileAndLeavesNothingBehind) {
    const CutCase& c = GetParam();
    const QImage image = sample(300, 200); // a BMP of several chunks
    const QByteArray whole = encoded(image, c.format);
    QByteArray old(7000, '\0');
    for (qsizetype i = 0; i < old.size(); ++i)
        old[i] = char(i * 31 % 251);
    for (const auto& [kind, how] : KindsAndCommits) {
        SCOPED_TRACE(kind == detail::TemporaryFiles::Named ? "named temporary file"
                                                           : "unnamed temporary file");
        SCOPED_TRACE(how == Commit::Durable ? "synced before the rename" : "renamed at once");
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString keep = dir.filePath("keep.pic");
        put(keep, old);
        const QString fresh = dir.filePath("fresh.pic");
        WriteStatus overOld, asNew;
        {
            FileSizeLimit limit(limitFor(c.cut, whole.size()));
            overOld = detail::writeImageFile(keep, image, c.format, how, kind);
            asNew = detail::writeImageFile(fresh, image, c.format, how, kind);
        }
        if (c.cut == Cut::None) {
            EXPECT_TRUE(overOld.ok()) << overOld.systemText.toStdString();
            EXPECT_EQ(contents(keep), whole);
            EXPECT_EQ(contents(fresh), whole);
            EXPECT_EQ(listing(dir.path()), QStringList({"fresh.pic", "keep.pic"}));
            continue;
        }
        EXPECT_EQ(overOld.error, WriteError::DiskFull) << overOld.systemText.toStdString();
        EXPECT_EQ(asNew.error, WriteError::DiskFull) << asNew.systemText.toStdString();
        EXPECT_EQ(contents(keep), old);
        EXPECT_EQ(listing(dir.path()), QStringList{"keep.pic"});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, FullDisk,
    testing::Values(CutCase{"BmpNothing", ImageFormat::Bmp, Cut::Nothing},
                    CutCase{"BmpInsideHeader", ImageFormat::Bmp, Cut::InsideHeader},
                    CutCase{"BmpMidRows", ImageFormat::Bmp, Cut::MidRows},
                    CutCase{"BmpAllButTheLastByte", ImageFormat::Bmp, Cut::LastByte},
                    CutCase{"BmpRoomForAll", ImageFormat::Bmp, Cut::None},
                    CutCase{"PngInsideHeader", ImageFormat::Png, Cut::InsideHeader},
                    CutCase{"PngAllButTheLastByte", ImageFormat::Png, Cut::LastByte},
                    CutCase{"PngRoomForAll", ImageFormat::Png, Cut::None},
                    CutCase{"JpegMidRows", ImageFormat::Jpeg, Cut::MidRows},
                    CutCase{"JpegAllButTheLastByte", ImageFormat::Jpeg, Cut::LastByte},
                    CutCase{"PpmAllButTheLastByte", ImageFormat::Ppm, Cut::LastByte}),
    [](const testing::TestParamInfo<CutCase>& info) { return std::string(info.param.name); });

// A small picture leaves in one write(2); its last byte failing is the
// failure of the sink's final flush.
TEST(FullDisk, SmallPictureFailingAtTheLastByte) {
    const QImage image = sample(150, 40);
    const QByteArray whole = encodeBmp24(image);
    for (detail::TemporaryFiles kind : BothKinds) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString keep = dir.filePath("keep.bmp");
        put(keep, "old picture");
        WriteStatus status;
        {
            FileSizeLimit limit(whole.size() - 1);
            status = detail::writeImageFile(keep, image, ImageFormat::Bmp, Commit::Fast, kind);
        }
        EXPECT_EQ(status.error, WriteError::DiskFull);
        EXPECT_EQ(contents(keep), "old picture");
        EXPECT_EQ(listing(dir.path()), QStringList{"keep.bmp"});
    }
}

struct stat statOf(const char* path) {
    struct stat st {};
    EXPECT_EQ(::stat(path, &st), 0) << path;
    return st;
}

// The null and full devices to write to. As root, a broken writer would
// replace the machine's own /dev/null, so root gets copies of those nodes
// in `dir`; anyone else cannot replace files in /dev anyway.
QString deviceNode(const QTemporaryDir& dir, const char* name, unsigned minor) {
    const QString system = QStringLiteral("/dev/") + QLatin1String(name);
    if (::geteuid() != 0)
        return system;
    const QString copy = dir.filePath(QLatin1String(name));
    if (::mknod(QFile::encodeName(copy).constData(), S_IFCHR | 0666, makedev(1, minor)) != 0)
        return QString();
    return copy;
}

TEST(Devices, AreWrittenThroughNeverReplaced) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString null = deviceNode(dir, "null", 3);
    const QString full = deviceNode(dir, "full", 7);
    if (null.isEmpty() || full.isEmpty() || ::access(QFile::encodeName(full).constData(), W_OK))
        GTEST_SKIP() << "no null and full devices to write to";
    const QImage image = sample(150, 40);
    const struct stat nullBefore = statOf(QFile::encodeName(null).constData());
    const WriteStatus toNull = writeImageFile(null, image, ImageFormat::Bmp);
    EXPECT_TRUE(toNull.ok()) << toNull.systemText.toStdString();
    const struct stat nullAfter = statOf(QFile::encodeName(null).constData());
    EXPECT_TRUE(S_ISCHR(nullAfter.st_mode));
    EXPECT_EQ(nullAfter.st_ino, nullBefore.st_ino);

    const struct stat fullBefore = statOf(QFile::encodeName(full).constData());
    EXPECT_EQ(writeImageFile(full, image, ImageFormat::Png).error, WriteError::DiskFull);
    const struct stat fullAfter = statOf(QFile::encodeName(full).constData());
    EXPECT_TRUE(S_ISCHR(fullAfter.st_mode));
    EXPECT_EQ(fullAfter.st_ino, fullBefore.st_ino);
}

} // namespace

namespace pismolot {
void PrintTo(ImageFormat format, std::ostream* os) {
    *os << (format == ImageFormat::Bmp ? "Bmp" : "Png");
}
} // namespace pismolot

namespace {

class Fifo : public testing::TestWithParam<ImageFormat> {};

TEST_P(Fifo, ReaderGetsEveryByteAndTheFifoStays) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray path = QFile::encodeName(dir.filePath("pipe"));
    ASSERT_EQ(::mkfifo(path.constData(), 0600), 0);
    const QImage image = sample(500, 300); // as BMP, more than a pipe holds at once
    // Holding the FIFO open for writing too lets the reader's open return
    // even if the writer never comes (a writer that replaced the FIFO), and
    // gives it the end of the data once this is closed.
    const int keeper = ::open(path.constData(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(keeper, 0);
    // The reader's end is opened here, before the write: a picture that fits
    // in the pipe would otherwise be dropped with it when the writer and the
    // keeper close before a late reader thread opens, which would then wait
    // for ever.
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    QByteArray received;
    std::thread reader([&] {
        char buffer[8192];
        ssize_t n;
        while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
            received.append(buffer, n);
        ::close(fd);
    });
    const WriteStatus status = writeImageFile(QFile::decodeName(path), image, GetParam());
    ::close(keeper);
    reader.join();
    EXPECT_TRUE(status.ok()) << status.systemText.toStdString();
    EXPECT_EQ(received, encoded(image, GetParam()));
    EXPECT_TRUE(S_ISFIFO(statOf(path.constData()).st_mode));
    EXPECT_EQ(listing(dir.path()), QStringList{"pipe"});
}

INSTANTIATE_TEST_SUITE_P(Formats, Fifo, testing::Values(ImageFormat::Bmp, ImageFormat::Png),
                         [](const testing::TestParamInfo<ImageFormat>& info) {
                             return std::string(info.param == ImageFormat::Bmp ? "Bmp" : "Png");
                         });

// A reader that quits early is a failed write, not SIGPIPE ending the process.
TEST(FifoReaderGone, IsAnErrorNotTheEndOfTheProgram) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray path = QFile::encodeName(dir.filePath("pipe"));
    ASSERT_EQ(::mkfifo(path.constData(), 0600), 0);
    std::thread reader([&] {
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        char first;
        if (fd >= 0) {
            EXPECT_EQ(::read(fd, &first, 1), 1);
            ::close(fd);
        }
    });
    const int fifo = ::open(path.constData(), O_PATH | O_CLOEXEC);
    ASSERT_GE(fifo, 0);
    const WriteStatus status =
        writeImageFile(QFile::decodeName(path), sample(1000, 1000), ImageFormat::Bmp);
    // Had the writer not opened the FIFO, the reader would wait for ever:
    // open it here, by its inode, to let the reader go.
    const int late = ::open(QByteArray("/proc/self/fd/" + QByteArray::number(fifo)).constData(),
                            O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (late >= 0)
        ::close(late);
    ::close(fifo);
    reader.join();
    EXPECT_EQ(status.error, WriteError::Other);
    EXPECT_FALSE(status.systemText.isEmpty());
    EXPECT_TRUE(S_ISFIFO(statOf(path.constData()).st_mode));
}

TEST(Directory, IsRefusedAndLeftAlone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("pic.bmp"));
    put(dir.filePath("pic.bmp/inside"), "x");
    EXPECT_EQ(writeImageFile(dir.filePath("pic.bmp"), sample(4, 4), ImageFormat::Bmp).error,
              WriteError::IsDirectory);
    EXPECT_EQ(listing(dir.filePath("pic.bmp")), QStringList{"inside"});
    EXPECT_EQ(listing(dir.path()), QStringList{"pic.bmp"});
}

struct LinkCase {
    const char* name;
    const char* path;                                       // what is written, in the folder
    std::vector<std::pair<const char*, const char*>> links; // name, target ("@" = the folder)
    WriteError expected;
    const char* receives; // the file that gets the picture, or nullptr
};

void PrintTo(const LinkCase& c, std::ostream* os) {
    *os << c.name;
}

class Symlinks : public testing::TestWithParam<LinkCase> {};

// The file a link leads to is replaced; every link stays as it was.
TEST_P(Symlinks, ReplaceWhatTheyPointToAndStay) {
    const LinkCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QDir folder(dir.path());
    ASSERT_TRUE(folder.mkdir("real"));
    ASSERT_TRUE(folder.mkdir("sub"));
    put(folder.filePath("real/pic.bmp"), "old picture");
    for (const auto& [name, target] : c.links) {
        QString t = QString::fromUtf8(target);
        t.replace('@', dir.path());
        ASSERT_EQ(::symlink(QFile::encodeName(t).constData(),
                            QFile::encodeName(folder.filePath(name)).constData()),
                  0);
    }
    const QStringList before = listing(dir.path()) + listing(folder.filePath("real"));

    const QImage image = sample(20, 10);
    const WriteStatus status =
        writeImageFile(folder.filePath(QString::fromUtf8(c.path)), image, ImageFormat::Bmp);
    EXPECT_EQ(status.error, c.expected) << status.systemText.toStdString();
    for (const auto& [name, target] : c.links) {
        QString t = QString::fromUtf8(target);
        t.replace('@', dir.path());
        char text[4096] = {};
        ASSERT_GT(
            ::readlink(QFile::encodeName(folder.filePath(name)).constData(), text, sizeof text - 1),
            0)
            << name << " is no longer a link";
        EXPECT_EQ(QFile::decodeName(text), t);
    }
    if (c.receives) {
        EXPECT_EQ(contents(folder.filePath(c.receives)), encodeBmp24(image));
    } else {
        EXPECT_EQ(contents(folder.filePath("real/pic.bmp")), "old picture");
    }
    QStringList after = listing(dir.path()) + listing(folder.filePath("real"));
    if (c.receives && !before.contains(QFileInfo(c.receives).fileName()))
        after.removeOne(QFileInfo(c.receives).fileName());
    EXPECT_EQ(after, before) << "no file but the target may appear";
}

INSTANTIATE_TEST_SUITE_P(
    Links, Symlinks,
    testing::Values(
        LinkCase{"Absolute",
                 "out.bmp",
                 {{"out.bmp", "@/real/pic.bmp"}},
                 WriteError::None,
                 "real/pic.bmp"},
        LinkCase{
            "Relative", "out.bmp", {{"out.bmp", "real/pic.bmp"}}, WriteError::None, "real/pic.bmp"},
        LinkCase{"RelativeToItsOwnFolder",
                 "sub/out.bmp",
                 {{"sub/out.bmp", "../real/pic.bmp"}},
                 WriteError::None,
                 "real/pic.bmp"},
        LinkCase{"ChainOfTwo",
                 "out.bmp",
                 {{"out.bmp", "mid.bmp"}, {"mid.bmp", "@/real/pic.bmp"}},
                 WriteError::None,
                 "real/pic.bmp"},
        LinkCase{"DanglingCreatesItsFile",
                 "out.bmp",
                 {{"out.bmp", "real/new.bmp"}},
                 WriteError::None,
                 "real/new.bmp"},
        LinkCase{"DanglingIntoAMissingFolder",
                 "out.bmp",
                 {{"out.bmp", "gone/new.bmp"}},
                 WriteError::NoSuchFolder,
                 nullptr},
        LinkCase{"ToAFolder", "out.bmp", {{"out.bmp", "real"}}, WriteError::IsDirectory, nullptr},
        LinkCase{"Loop",
                 "out.bmp",
                 {{"out.bmp", "back.bmp"}, {"back.bmp", "out.bmp"}},
                 WriteError::Other,
                 nullptr}),
    [](const testing::TestParamInfo<LinkCase>& info) { return std::string(info.param.name); });

// The longest name a folder holds: the temporary name beside it must be
// shortened, not fail.
TEST(Replace, FileWithTheLongestName) {
    for (detail::TemporaryFiles kind : BothKinds) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath(QString(251, 'x') + ".bmp");
        put(path, "old");
        const WriteStatus status =
            detail::writeImageFile(path, sample(3, 3), ImageFormat::Bmp, Commit::Fast, kind);
        EXPECT_TRUE(status.ok()) << status.systemText.toStdString();
        EXPECT_EQ(contents(path), encodeBmp24(sample(3, 3)));
        EXPECT_EQ(listing(dir.path()).size(), 1);
    }
}

// Only the contents change. Under umask 022 a creating open would drop the
// group's and others' write bits: 0664 and 0666 show whether they are copied.
class KeepsMode : public testing::TestWithParam<mode_t> {};

TEST_P(KeepsMode, UnderAUmaskThatWouldDropIt) {
    const mode_t umaskBefore = ::umask(022);
    for (detail::TemporaryFiles kind : BothKinds) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QByteArray path = QFile::encodeName(dir.filePath("pic.bmp"));
        put(QFile::decodeName(path), "old");
        ASSERT_EQ(::chmod(path.constData(), GetParam()), 0);
        EXPECT_TRUE(detail::writeImageFile(QFile::decodeName(path), sample(3, 3), ImageFormat::Bmp,
                                           Commit::Durable, kind)
                        .ok());
        EXPECT_EQ(statOf(path.constData()).st_mode & 07777, GetParam());
        EXPECT_EQ(contents(QFile::decodeName(path)), encodeBmp24(sample(3, 3)));
    }
    ::umask(umaskBefore);
}

INSTANTIATE_TEST_SUITE_P(Modes, KeepsMode, testing::Values(0640, 0664, 0666, 0600, 0604));

// A user's file saved over by root stays the user's.
TEST(Replace, KeepsTheOwner) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user to save over";
    for (detail::TemporaryFiles kind : BothKinds) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QByteArray path = QFile::encodeName(dir.filePath("pic.bmp"));
        put(QFile::decodeName(path), "old");
        ASSERT_EQ(::chown(path.constData(), 65534, 65534), 0);
        EXPECT_TRUE(detail::writeImageFile(QFile::decodeName(path), sample(3, 3), ImageFormat::Bmp,
                                           Commit::Fast, kind)
                        .ok());
        EXPECT_EQ(statOf(path.constData()).st_uid, 65534u);
        EXPECT_EQ(statOf(path.constData()).st_gid, 65534u);
    }
}

// The steps that finish a save, as the writer takes them, through the
// writer's table of system calls; `failing` fails with EIO, a close after
// closing, as NFS reports a failed write at the close.
std::vector<std::string> steps;
std::string failing;

int step(const char* name, int result) {
    steps.emplace_back(name);
    if (failing != name)
        return result;
    errno = EIO;
    return -1;
}

constexpr detail::FileCalls Recording{[](int fd) { return step("fsync", ::fsync(fd)); },
                                      [](int fd) { return step("close", ::close(fd)); },
                                      // A failed rename has not replaced anything.
                                      [](const char* from, const char* to) {
                                          return step("rename",
                                                      failing == "rename" ? 0 : ::rename(from, to));
                                      }};

struct StepsCase {
    const char* name;
    Commit how;
    bool replacing;
    const char* failing;
    std::vector<std::string> steps;
};

void PrintTo(const StepsCase& c, std::ostream* os) {
    *os << c.name;
}

class SaveSteps : public testing::TestWithParam<StepsCase> {};

// Synced before it takes the name (a power cut then leaves the old file or
// the whole new one), closed before it replaces the old file, and any step
// failing leaves the old file byte for byte and nothing else.
TEST_P(SaveSteps, InOrderAndAFailureKeepsTheOldFile) {
    const StepsCase& c = GetParam();
    for (detail::TemporaryFiles kind : BothKinds) {
        SCOPED_TRACE(kind == detail::TemporaryFiles::Named ? "named" : "unnamed");
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath("pic.bmp");
        if (c.replacing)
            put(path, "old");
        steps.clear();
        failing = c.failing;
        WriteStatus status;
        {
            const detail::FileCallsSwap swap(Recording);
            status = detail::writeImageFile(path, sample(3, 3), ImageFormat::Bmp, c.how, kind);
        }
        std::vector<std::string> expected = c.steps;
        // An unnamed file is linked in where nothing has the name yet.
        if (kind == detail::TemporaryFiles::UnnamedWherePossible && !c.replacing &&
            !expected.empty() && expected.back() == "rename")
            expected.pop_back();
        EXPECT_EQ(steps, expected);
        if (!*c.failing) {
            EXPECT_TRUE(status.ok()) << status.systemText.toStdString();
            EXPECT_EQ(contents(path), encodeBmp24(sample(3, 3)));
            continue;
        }
        EXPECT_FALSE(status.ok());
        EXPECT_EQ(listing(dir.path()), c.replacing ? QStringList{"pic.bmp"} : QStringList{});
        if (c.replacing) {
            EXPECT_EQ(contents(path), "old");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SaveSteps,
    testing::Values(
        StepsCase{"durableReplace", Commit::Durable, true, "", {"fsync", "close", "rename"}},
        StepsCase{"durableNew", Commit::Durable, false, "", {"fsync", "close", "rename"}},
        StepsCase{"fastReplace", Commit::Fast, true, "", {"close", "rename"}},
        StepsCase{"fastNew", Commit::Fast, false, "", {"close", "rename"}},
        StepsCase{"closeFailsOverOld", Commit::Fast, true, "close", {"close"}},
        StepsCase{"closeFailsDurable", Commit::Durable, true, "close", {"fsync", "close"}},
        StepsCase{"closeFailsNew", Commit::Fast, false, "close", {"close"}},
        StepsCase{"syncFails", Commit::Durable, true, "fsync", {"fsync"}},
        StepsCase{"renameFails", Commit::Durable, true, "rename", {"fsync", "close", "rename"}}),
    [](const testing::TestParamInfo<StepsCase>& info) { return std::string(info.param.name); });

struct CauseCase {
    const char* name;
    const char* path; // in a fresh folder that holds the file "file.bmp"
    WriteError expected;
};

void PrintTo(const CauseCase& c, std::ostream* os) {
    *os << c.name;
}

class Causes : public testing::TestWithParam<CauseCase> {};

TEST_P(Causes, AreNamedFromTheFileSystem) {
    const CauseCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    put(dir.filePath("file.bmp"), "old");
    const WriteStatus status = writeImageFile(dir.filePath(c.path), sample(5, 5), ImageFormat::Bmp);
    EXPECT_EQ(status.error, c.expected) << status.systemText.toStdString();
    EXPECT_FALSE(status.systemText.isEmpty());
    EXPECT_EQ(listing(dir.path()), QStringList{"file.bmp"});
    EXPECT_EQ(contents(dir.filePath("file.bmp")), "old");
}

INSTANTIATE_TEST_SUITE_P(
    Paths, Causes,
    testing::Values(CauseCase{"MissingFolder", "missing/pic.bmp", WriteError::NoSuchFolder},
                    CauseCase{"MissingFolders", "a/b/c/pic.bmp", WriteError::NoSuchFolder},
                    CauseCase{"FileUsedAsAFolder", "file.bmp/pic.bmp", WriteError::NoSuchFolder},
                    CauseCase{
                        "NameTooLong",
                        "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
                        "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
                        "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
                        "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx.bmp",
                        WriteError::Other}),
    [](const testing::TestParamInfo<CauseCase>& info) { return std::string(info.param.name); });

// A folder that exists but makes no files answers ENOENT like a missing
// folder would; the cause must not say the folder is missing.
TEST(Causes, AFolderThatMakesNoFilesIsNotMissing) {
    if (!QFileInfo(QStringLiteral("/proc/self")).isDir())
        GTEST_SKIP() << "no /proc here";
    const WriteStatus status =
        writeImageFile(QStringLiteral("/proc/pismolot-test.bmp"), sample(5, 5), ImageFormat::Bmp);
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.error, WriteError::NoSuchFolder) << status.systemText.toStdString();
}

TEST(Causes, RefusalsTouchNoFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    static const uchar pixels[16] = {};
    const QImage huge(pixels, 30000, 50000, 30000 * 4, QImage::Format_RGB32); // a 4.2 GB BMP
    EXPECT_EQ(writeImageFile(dir.filePath("a.bmp"), huge, ImageFormat::Bmp).error,
              WriteError::TooLarge);
    EXPECT_EQ(writeImageFile(dir.filePath("b.bmp"), QImage(), ImageFormat::Bmp).error,
              WriteError::EmptyPicture);
    EXPECT_TRUE(listing(dir.path()).isEmpty());
}

// A folder the writer may not create files in. Root passes permission bits,
// so as root the write runs under the "nobody" user for its duration.
TEST(Causes, FolderWithoutWritePermission) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath("locked");
    ASSERT_TRUE(QDir(dir.path()).mkdir("locked"));
    put(folder + "/keep.bmp", "old");
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    // And a file its owner made read-only, in a folder anyone may write to.
    const QString open = dir.filePath("open");
    ASSERT_TRUE(QDir(dir.path()).mkdir("open"));
    put(open + "/readonly.bmp", "old");
    ASSERT_EQ(::chmod(QFile::encodeName(open).constData(), 0777), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(open + "/readonly.bmp").constData(), 0444), 0);
    const bool asRoot = ::geteuid() == 0;
    if (asRoot && ::seteuid(65534) != 0)
        GTEST_SKIP() << "running as root and cannot act as another user";
    const WriteStatus over = writeImageFile(folder + "/keep.bmp", sample(5, 5), ImageFormat::Bmp);
    const WriteStatus fresh = writeImageFile(folder + "/new.bmp", sample(5, 5), ImageFormat::Bmp);
    const WriteStatus readOnly =
        writeImageFile(open + "/readonly.bmp", sample(5, 5), ImageFormat::Bmp);
    if (asRoot) {
        ASSERT_EQ(::seteuid(0), 0);
    }
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    EXPECT_EQ(over.error, WriteError::NoPermission) << over.systemText.toStdString();
    EXPECT_EQ(fresh.error, WriteError::NoPermission) << fresh.systemText.toStdString();
    EXPECT_EQ(contents(folder + "/keep.bmp"), "old");
    EXPECT_EQ(listing(folder), QStringList{"keep.bmp"});
    EXPECT_EQ(readOnly.error, WriteError::NoPermission) << readOnly.systemText.toStdString();
    EXPECT_EQ(contents(open + "/readonly.bmp"), "old");
    EXPECT_EQ(listing(open), QStringList{"readonly.bmp"});
}

// Runs `body` in a child process with a mount namespace of its own and a
// tmpfs at `dir` (nothing outside the child sees it). The child's exit
// status, or -1 when this machine does not allow the mount.
int inPrivateTmpfs(const QString& dir, const char* options, const std::function<int()>& body) {
    const QByteArray where = QFile::encodeName(dir);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", where.constData(), "tmpfs", 0, options) != 0)
            ::_exit(200);
        ::_exit(body());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return 201;
    return WEXITSTATUS(status) == 200 ? -1 : WEXITSTATUS(status);
}

constexpr int OldFileChanged = 100;

// As the fault was first seen: a nearly full file system, a picture
// written over an existing one.
TEST(RealFileSystems, FullTmpfs) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const int result = inPrivateTmpfs(dir.path(), "size=64k", [&] {
        const QString keep = dir.filePath("keep.bmp");
        QFile old(keep);
        old.open(QIODevice::WriteOnly);
        old.write("old picture");
        old.close();
        QFile filler(dir.filePath("filler"));
        filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
        filler.close();
        const WriteStatus status = writeImageFile(keep, sample(150, 40), ImageFormat::Bmp);
        if (contents(keep) != "old picture" ||
            listing(dir.path()) != QStringList{"filler", "keep.bmp"})
            return OldFileChanged;
        return int(status.error);
    });
    if (result < 0)
        GTEST_SKIP() << "mounting a private tmpfs is not allowed here";
    EXPECT_EQ(result, int(WriteError::DiskFull));
}

TEST(RealFileSystems, ReadOnlyMount) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const int result = inPrivateTmpfs(dir.path(), "size=1m", [&] {
        const QString keep = dir.filePath("keep.bmp");
        QFile old(keep);
        old.open(QIODevice::WriteOnly);
        old.write("old picture");
        old.close();
        const QByteArray where = QFile::encodeName(dir.path());
        if (::mount(nullptr, where.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            return 200;
        const WriteStatus over = writeImageFile(keep, sample(15, 4), ImageFormat::Bmp);
        const WriteStatus fresh =
            writeImageFile(dir.filePath("new.bmp"), sample(15, 4), ImageFormat::Bmp);
        if (contents(keep) != "old picture" || over.error != fresh.error)
            return OldFileChanged;
        return int(over.error);
    });
    if (result < 0)
        GTEST_SKIP() << "mounting a private tmpfs is not allowed here";
    EXPECT_EQ(result, int(WriteError::ReadOnlyFileSystem));
}

// The rules every writer keeps, run against both: the POSIX one and the
// QSaveFile one of systems without POSIX files, built here so that it is
// tested too. (FIFOs, devices and unnamed temporary files are the POSIX
// writer's alone, tested above.)
using PathWriter = WriteStatus (*)(const QString&, const QImage&, ImageFormat);

struct WriterCase {
    const char* name;
    PathWriter write;
};

class EveryWriter : public testing::TestWithParam<WriterCase> {};

TEST_P(EveryWriter, ReplacesWholeOrKeepsTheOldFile) {
    const PathWriter write = GetParam().write;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QImage image = sample(300, 200);
    const QString keep = dir.filePath("keep.bmp");
    put(keep, "old picture");
    {
        FileSizeLimit limit(encodeBmp24(image).size() / 2);
        EXPECT_FALSE(write(keep, image, ImageFormat::Bmp).ok());
    }
    EXPECT_EQ(contents(keep), "old picture");
    EXPECT_EQ(listing(dir.path()), QStringList{"keep.bmp"});

    ASSERT_TRUE(write(keep, image, ImageFormat::Bmp).ok());
    EXPECT_EQ(contents(keep), encodeBmp24(image));
    // Through a link: the file it leads to is replaced, the link stays.
    ASSERT_EQ(::symlink("keep.bmp", QFile::encodeName(dir.filePath("link.bmp")).constData()), 0);
    ASSERT_TRUE(write(dir.filePath("link.bmp"), sample(3, 3), ImageFormat::Png).ok());
    EXPECT_TRUE(QFileInfo(dir.filePath("link.bmp")).isSymLink());
    EXPECT_EQ(contents(keep), encoded(sample(3, 3), ImageFormat::Png));
    EXPECT_EQ(listing(dir.path()), QStringList({"keep.bmp", "link.bmp"}));
}

TEST_P(EveryWriter, NamesTheCause) {
    const PathWriter write = GetParam().write;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    EXPECT_EQ(write(dir.filePath("folder"), sample(4, 4), ImageFormat::Bmp).error,
              WriteError::IsDirectory);
    EXPECT_EQ(write(dir.filePath("missing/x.bmp"), sample(4, 4), ImageFormat::Bmp).error,
              WriteError::NoSuchFolder);
    EXPECT_EQ(write(dir.filePath("empty.bmp"), QImage(), ImageFormat::Bmp).error,
              WriteError::EmptyPicture);
    EXPECT_EQ(listing(dir.path()), QStringList{"folder"});
}

INSTANTIATE_TEST_SUITE_P(
    Writers, EveryWriter,
    testing::Values(WriterCase{"Posix",
                               [](const QString& path, const QImage& image, ImageFormat format) {
                                   return writeImageFile(path, image, format);
                               }},
                    WriterCase{"PosixNamedTemporary",
                               [](const QString& path, const QImage& image, ImageFormat format) {
                                   return detail::writeImageFile(path, image, format, Commit::Fast,
                                                                 detail::TemporaryFiles::Named);
                               }},
                    WriterCase{"QSaveFile",
                               [](const QString& path, const QImage& image, ImageFormat format) {
                                   return detail::writeImageFileWithSaveFile(path, image, format);
                               }}),
    [](const testing::TestParamInfo<WriterCase>& info) { return std::string(info.param.name); });

} // namespace
