#pragma once

// Batch mode: many pictures from one start-up.

#include "backend.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <functional>
#include <optional>

namespace pismolot::cli {

// Reads up to `size` bytes into `data`: the number read, 0 at the end, -1 on
// an error. Returns what is there (a pipe's pieces), as read(2) does.
using ReadSome = std::function<qint64(char* data, qint64 size)>;

// read(2) on a file descriptor, retried when a signal interrupts it.
ReadSome readFrom(int fd);

// Reads line by line with a bounded buffer, whatever the length of the
// input or of one line.
class LineReader {
public:
    LineReader(ReadSome read, qsizetype maxLine);

    // The next line without its line feed, or nothing at the end of the input
    // (or on a read error). A line longer than maxLine comes back empty with
    // `tooLong` set; its bytes are skipped.
    std::optional<QByteArray> next(bool* tooLong);
    qint64 lineNumber() const { return number_; } // of the line last returned, from 1
    bool failed() const { return failed_; }

private:
    bool fill();

    ReadSome read_;
    qsizetype maxLine_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    qint64 number_ = 0;
    bool end_ = false;
    bool failed_ = false;
};

// One picture of a batch.
struct BatchItem {
    qint64 line = 0;
    QString output;
    QString text;
    ImageFormat format = ImageFormat::Bmp;
};

// What became of one item: an error message (empty: written), and a warning
// about a picture that was written.
struct WorkResult {
    WorkResult(QString failure = {}, QString note = {})
        : error(std::move(failure)), warning(std::move(note)) {}
    QString error;
    QString warning;
};

// Renders and writes one item. Called from several threads at once.
using BatchWork = std::function<WorkResult(const BatchItem&)>;

// Turns a line's OUTPUT into its format, or an error message.
using BatchFormat =
    std::function<std::optional<ImageFormat>(const QString& output, QString* error)>;

// Shows done / total, pictures per second and time left: on a terminal on
// one line that updates in place, errors printed through it keeping the line
// intact; on a terminal that takes no control sequences (TERM=dumb) as a
// plain line now and then; elsewhere not at all.
enum class ProgressShown { Not, InPlace, AsLines };

class Progress {
public:
    Progress(std::FILE* stream, ProgressShown shown);
    void setTotal(qint64 total) { total_ = total; }
    void update(qint64 done, bool force = false);
    void message(const QString& line);
    void finish(qint64 done);

private:
    void draw(qint64 done);
    void clear();

    std::FILE* stream_;
    ProgressShown shown_;
    qint64 total_ = -1;
    qint64 lastDone_ = 0;
    qint64 drawnDone_ = -1; // the count last drawn
    bool onScreen_ = false; // the in-place line is showing
    double started_;
    double lastDraw_ = -1;
};

struct BatchCounts {
    qint64 written = 0;
    qint64 failed = 0; // bad lines and pictures not written
    bool readFailed = false;
    qint64 linesRead = 0; // the number of the last line read
};

// Runs every picture line of `input` through `work` on `threads` threads.
// Messages ("LINE: message", warnings too) go through `progress` in line order, so that
// they, like the files, do not depend on the number of threads. At most two
// lines per thread are read ahead of the oldest one not yet finished; two
// lines with the same output are written in line order, so the later one
// wins, as one run after another would.
BatchCounts runBatch(const ReadSome& input, int threads, const BatchFormat& formatOf,
                     const BatchWork& work, Progress& progress);

// The number of lines of `input` that are not empty or comments: the
// progress line's total, for an input that can be read twice.
qint64 countPictureLines(const ReadSome& input);

} // namespace pismolot::cli
