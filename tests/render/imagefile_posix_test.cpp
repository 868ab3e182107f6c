// A file device that stops taking bytes: the file size limit reached at the
// final flush, and a pipe whose reader has gone. Both are POSIX's own; on
// Windows pismolot-render's writes to a closed pipe stand for them.
#include "render/imagefile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

using namespace pismolot;

namespace {

QImage sample(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(200, 30, 90));
    return image;
}

// A file device keeps the last bytes in its buffer until flushed: a write
// that fails only then is a failure too.
TEST(FileDevice, FailingOnlyAtTheFinalFlushIsDiskFull) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QImage image = sample(40, 20); // a few KiB: all of it stays in QFile's buffer
    const QByteArray whole = encodeBmp24(image);

    QFile file(dir.filePath("out.bmp"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = rlim_t(whole.size() - 1);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const WriteStatus status = writeImage(file, image, ImageFormat::Bmp);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(status.error, WriteError::DiskFull) << status.systemText.toStdString();

    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly))
        GTEST_SKIP() << "no /dev/full here";
    EXPECT_EQ(writeImage(full, image, ImageFormat::Png).error, WriteError::DiskFull);
}

// Standard output piped to a program that has quit: an error to report,
// not SIGPIPE ending the process.
TEST(FileDevice, PipeWithoutAReaderIsAnError) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    QFile out;
    ASSERT_TRUE(out.open(ends[1], QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
    const WriteStatus status = writeImage(out, sample(30, 10), ImageFormat::Bmp);
    EXPECT_EQ(status.error, WriteError::Other);
    EXPECT_FALSE(status.systemText.isEmpty());
}

} // namespace
