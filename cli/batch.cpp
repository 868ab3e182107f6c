#include "batch.h"

#include "console.h"
#include "textinput.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

namespace pismolot::cli {

namespace {

double secondsNow() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void printLine(std::FILE* stream, const QString& text) {
    console::write(stream, text);
    std::fflush(stream);
}

QString clock(double seconds) {
    const qint64 s = std::llround(seconds);
    if (s >= 3600)
        return QStringLiteral("%1:%2:%3")
            .arg(s / 3600)
            .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
            .arg(s % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

// Outputs that name one file must be written one after the other.
QString outputKey(const QString& output) {
    return QDir::cleanPath(QFileInfo(output).absoluteFilePath());
}

// An OUTPUT, TEXT and a little more.
constexpr qsizetype MaxLineBytes = MaxTextBytes + 65536;

} // namespace

ReadSome readFrom(int fd) {
    return [fd](char* data, qint64 size) -> qint64 { return console::readSome(fd, data, size); };
}

LineReader::LineReader(ReadSome read, qsizetype maxLine)
    : read_(std::move(read)), maxLine_(maxLine) {}

bool LineReader::fill() {
    if (end_)
        return false;
    buffer_.resize(qsizetype{64} * 1024);
    const qint64 n = read_(buffer_.data(), buffer_.size());
    pos_ = 0;
    if (n <= 0) {
        end_ = true;
        failed_ = n < 0;
        buffer_.clear();
        return false;
    }
    buffer_.resize(qsizetype(n));
    return true;
}

std::optional<QByteArray> LineReader::next(bool* tooLong) {
    QByteArray line;
    bool over = false;
    bool started = false;
    for (;;) {
        if (pos_ >= buffer_.size() && !fill()) {
            if (!started)
                return std::nullopt;
            break; // a last line without a line feed
        }
        started = true;
        const qsizetype newline = buffer_.indexOf('\n', pos_);
        const qsizetype stop = newline < 0 ? buffer_.size() : newline;
        if (!over) {
            if (line.size() + (stop - pos_) > maxLine_) {
                over = true;
                line = QByteArray();
            } else {
                line.append(buffer_.constData() + pos_, stop - pos_);
            }
        }
        pos_ = stop;
        if (newline >= 0) {
            ++pos_;
            break;
        }
    }
    ++number_;
    if (tooLong)
        *tooLong = over;
    return line;
}

Progress::Progress(std::FILE* stream, ProgressShown shown)
    : stream_(stream), shown_(shown), started_(secondsNow()) {}

void Progress::update(qint64 done, bool force) {
    lastDone_ = done;
    if (shown_ == ProgressShown::Not)
        return;
    // A line of its own each time is worth less often than a redraw.
    const double every = shown_ == ProgressShown::InPlace ? 0.1 : 2.0;
    const double now = secondsNow();
    if (!force && lastDraw_ >= 0 && now - lastDraw_ < every)
        return;
    lastDraw_ = now;
    draw(done);
}

void Progress::draw(qint64 done) {
    const double elapsed = secondsNow() - started_;
    const double rate = elapsed > 0 ? double(done) / elapsed : 0;
    QString text = total_ >= 0 ? QStringLiteral("%1 / %2 pictures").arg(done).arg(total_)
                               : QStringLiteral("%1 pictures").arg(done);
    if (done > 0)
        text += QStringLiteral(", %1 per second").arg(rate, 0, 'f', 1);
    if (total_ >= 0 && rate > 0 && done < total_)
        text += QStringLiteral(", %1 left").arg(clock(double(total_ - done) / rate));
    drawnDone_ = done;
    if (shown_ == ProgressShown::AsLines) {
        printLine(stream_, text + QLatin1Char('\n'));
        return;
    }
    printLine(stream_, QLatin1Char('\r') + text + QStringLiteral("\x1b[K"));
    onScreen_ = true;
}

void Progress::clear() {
    if (onScreen_)
        printLine(stream_, QStringLiteral("\r\x1b[K"));
    onScreen_ = false;
}

void Progress::message(const QString& line) {
    clear();
    printLine(stream_, line + QLatin1Char('\n'));
    if (shown_ == ProgressShown::InPlace)
        draw(lastDone_);
}

void Progress::finish(qint64 done) {
    if (shown_ == ProgressShown::Not || (shown_ == ProgressShown::AsLines && drawnDone_ == done))
        return;
    draw(done);
    if (shown_ == ProgressShown::InPlace)
        printLine(stream_, QStringLiteral("\n"));
    onScreen_ = false;
}

qint64 countPictureLines(const ReadSome& input) {
    LineReader reader(input, MaxLineBytes);
    qint64 count = 0;
    bool tooLong = false;
    while (const auto bytes = reader.next(&tooLong)) {
        if (tooLong ||
            parseBatchLine(*bytes, reader.lineNumber() == 1).kind != BatchLine::Kind::Skip)
            ++count;
    }
    return count;
}

BatchCounts runBatch(const ReadSome& input, int threads, const BatchFormat& formatOf,
                     const BatchWork& work, Progress& progress) {
    // Each worker reads a line itself (one reader at a time), renders it,
    // and reports every outcome that is next in line order: no hand-over
    // between threads per picture. The main thread only redraws the
    // progress line.
    struct Outcome {
        qint64 line;
        QString error; // empty: written
        QString warning;
    };

    std::mutex mutex;
    std::condition_variable changed; // between workers
    std::condition_variable allDone; // to the main thread, which sleeps otherwise
    LineReader reader(input, MaxLineBytes);
    bool reading = false; // a worker is reading a line
    bool inputEnded = false;
    int running = threads;
    qint64 nextSequence = 0;
    qint64 nextReport = 0;
    std::map<qint64, Outcome> finished; // by sequence, waiting for their turn
    // Sequences of the lines in flight per output file, in line order: a
    // line is written only when it is the first of its file.
    QHash<QString, std::deque<qint64>> writers;
    BatchCounts counts;
    // Lines read but not yet reported. Pictures live only inside `work`, one
    // per thread; this bounds the rest (texts and outcomes).
    const qint64 window = qint64(threads) * 2;

    // Called with the lock held: prints in line order.
    auto reportReady = [&] {
        while (!finished.empty() && finished.begin()->first == nextReport) {
            const Outcome& outcome = finished.begin()->second;
            if (outcome.error.isEmpty()) {
                ++counts.written;
                if (!outcome.warning.isEmpty())
                    progress.message(
                        QStringLiteral("%1: %2").arg(outcome.line).arg(outcome.warning));
            } else {
                ++counts.failed;
                progress.message(QStringLiteral("%1: %2").arg(outcome.line).arg(outcome.error));
            }
            finished.erase(finished.begin());
            ++nextReport;
        }
        progress.update(counts.written + counts.failed);
    };

    auto worker = [&] {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] {
                return inputEnded || (!reading && nextSequence - nextReport < window);
            });
            if (inputEnded)
                break;
            reading = true;
            lock.unlock();

            bool tooLong = false;
            const std::optional<QByteArray> bytes = reader.next(&tooLong);
            const qint64 line = reader.lineNumber();
            std::optional<BatchItem> item;
            QString key;
            QString error;
            bool skip = false;
            if (!bytes) {
                // the end
            } else if (tooLong) {
                error = QStringLiteral("line longer than %1 bytes").arg(MaxLineBytes);
            } else {
                BatchLine parsed = parseBatchLine(*bytes, line == 1);
                if (parsed.kind == BatchLine::Kind::Skip) {
                    skip = true;
                } else if (parsed.kind == BatchLine::Kind::Bad) {
                    error = parsed.error;
                } else if (const auto format = formatOf(parsed.output, &error)) {
                    key = outputKey(parsed.output);
                    item =
                        BatchItem{line, std::move(parsed.output), std::move(parsed.text), *format};
                }
            }

            lock.lock();
            reading = false;
            if (!bytes)
                inputEnded = true;
            changed.notify_all();
            if (!bytes)
                break;
            if (skip)
                continue;
            const qint64 sequence = nextSequence++;
            if (!item) {
                finished.emplace(sequence, Outcome{line, error, {}});
                reportReady();
                continue;
            }
            std::deque<qint64>& queue = writers[key];
            queue.push_back(sequence);
            changed.wait(lock, [&] { return writers[key].front() == sequence; });
            lock.unlock();

            QString warning;
            try {
                WorkResult done = work(*item);
                error = std::move(done.error);
                warning = std::move(done.warning);
            } catch (const std::bad_alloc&) {
                error = QStringLiteral("out of memory");
            } catch (...) {
                error = QStringLiteral("the picture could not be made");
            }

            lock.lock();
            std::deque<qint64>& mine = writers[key];
            mine.pop_front();
            if (mine.empty())
                writers.remove(key);
            finished.emplace(sequence, Outcome{line, std::move(error), std::move(warning)});
            reportReady();
            changed.notify_all();
        }
        if (--running == 0)
            allDone.notify_one();
        changed.notify_all();
    };

    std::vector<std::thread> pool;
    pool.reserve(std::size_t(threads));
    for (int i = 0; i < threads; ++i)
        pool.emplace_back(worker);
    {
        std::unique_lock lock(mutex);
        while (running > 0) {
            allDone.wait_for(lock, std::chrono::milliseconds(100));
            progress.update(counts.written + counts.failed);
        }
    }
    for (std::thread& thread : pool)
        thread.join();
    Q_ASSERT(finished.empty());
    counts.readFailed = reader.failed();
    counts.linesRead = reader.lineNumber();
    return counts;
}

} // namespace pismolot::cli
