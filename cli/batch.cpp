#include "batch.h"

#include "textinput.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <new>
#include <thread>
#include <unistd.h>
#include <vector>

namespace pismolot::cli {

namespace {

double secondsNow() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void printLine(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}

QString clock(double seconds) {
    const qint64 s = qint64(seconds + 0.5);
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
    return [fd](char* data, qint64 size) -> qint64 {
        for (;;) {
            const ssize_t n = ::read(fd, data, std::size_t(size));
            if (n >= 0 || errno != EINTR)
                return qint64(n);
        }
    };
}

LineReader::LineReader(ReadSome read, qsizetype maxLine)
    : read_(std::move(read)), maxLine_(maxLine) {}

bool LineReader::fill() {
    if (end_)
        return false;
    buffer_.resize(64 * 1024);
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

Progress::Progress(std::FILE* stream, bool enabled)
    : stream_(stream), enabled_(enabled), started_(secondsNow()) {}

void Progress::update(qint64 done, bool force) {
    lastDone_ = done;
    if (!enabled_)
        return;
    const double now = secondsNow();
    if (!force && lastDraw_ >= 0 && now - lastDraw_ < 0.1)
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
    printLine(stream_, QLatin1Char('\r') + text + QStringLiteral("\x1b[K"));
    shown_ = true;
}

void Progress::clear() {
    if (shown_)
        printLine(stream_, QStringLiteral("\r\x1b[K"));
    shown_ = false;
}

void Progress::message(const QString& line) {
    clear();
    printLine(stream_, line + QLatin1Char('\n'));
    if (enabled_)
        draw(lastDone_);
}

void Progress::finish(qint64 done) {
    if (!enabled_)
        return;
    draw(done);
    printLine(stream_, QStringLiteral("\n"));
    shown_ = false;
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

BatchCounts runBatch(const ReadSome& input, int jobs, const BatchFormat& formatOf,
                     const BatchWork& work, Progress& progress) {
    struct Task {
        qint64 sequence;
        QString key;
        BatchItem item;
    };
    struct Outcome {
        qint64 line;
        QString error; // empty: written
    };

    std::mutex mutex;
    std::condition_variable workReady;
    std::condition_variable outcomeReady;
    std::deque<Task> queue;
    std::map<qint64, Outcome> finished; // by sequence, waiting for their turn
    QHash<QString, int> busy;           // output keys in flight
    bool closing = false;
    qint64 nextSequence = 0;
    qint64 nextReport = 0;
    // Lines read but not yet reported: every picture in memory belongs to one
    // of them, and each worker holds at most one.
    const qint64 window = qint64(jobs) * 4;

    std::vector<std::thread> workers;
    for (int i = 0; i < jobs; ++i) {
        workers.emplace_back([&] {
            std::unique_lock lock(mutex);
            for (;;) {
                workReady.wait(lock, [&] { return closing || !queue.empty(); });
                if (queue.empty())
                    return;
                Task task = std::move(queue.front());
                queue.pop_front();
                lock.unlock();
                QString error;
                try {
                    error = work(task.item);
                } catch (const std::bad_alloc&) {
                    error = QStringLiteral("out of memory");
                } catch (...) {
                    error = QStringLiteral("the picture could not be made");
                }
                lock.lock();
                finished.emplace(task.sequence, Outcome{task.item.line, std::move(error)});
                if (--busy[task.key] == 0)
                    busy.remove(task.key);
                outcomeReady.notify_all();
            }
        });
    }

    BatchCounts counts;
    // Reports the outcomes that are next in line order; called with the lock
    // held, prints without it.
    auto report = [&](std::unique_lock<std::mutex>& lock) {
        std::vector<Outcome> ready;
        while (!finished.empty() && finished.begin()->first == nextReport) {
            ready.push_back(std::move(finished.begin()->second));
            finished.erase(finished.begin());
            ++nextReport;
        }
        lock.unlock();
        for (const Outcome& outcome : ready) {
            if (outcome.error.isEmpty()) {
                ++counts.written;
            } else {
                ++counts.failed;
                progress.message(QStringLiteral("%1: %2").arg(outcome.line).arg(outcome.error));
            }
        }
        progress.update(counts.written + counts.failed);
        lock.lock();
    };
    auto waitUntil = [&](std::unique_lock<std::mutex>& lock, const auto& ready) {
        for (;;) {
            report(lock);
            if (ready())
                return;
            outcomeReady.wait_for(lock, std::chrono::milliseconds(100));
        }
    };

    LineReader reader(input, MaxLineBytes);
    bool tooLong = false;
    while (const auto bytes = reader.next(&tooLong)) {
        const qint64 line = reader.lineNumber();
        std::optional<Task> task;
        QString error;
        if (tooLong) {
            error = QStringLiteral("line longer than %1 bytes").arg(MaxLineBytes);
        } else {
            BatchLine parsed = parseBatchLine(*bytes, line == 1);
            if (parsed.kind == BatchLine::Kind::Skip)
                continue;
            if (parsed.kind == BatchLine::Kind::Bad) {
                error = parsed.error;
            } else if (const auto format = formatOf(parsed.output, &error)) {
                const QString key = outputKey(parsed.output);
                task = Task{
                    0, key,
                    BatchItem{line, std::move(parsed.output), std::move(parsed.text), *format}};
            }
        }

        std::unique_lock lock(mutex);
        const qint64 sequence = nextSequence++;
        waitUntil(lock, [&] {
            return sequence - nextReport < window && (!task || !busy.contains(task->key));
        });
        if (task) {
            task->sequence = sequence;
            ++busy[task->key];
            queue.push_back(std::move(*task));
            workReady.notify_one();
        } else {
            finished.emplace(sequence, Outcome{line, error});
        }
    }

    {
        std::unique_lock lock(mutex);
        closing = true;
        workReady.notify_all();
        waitUntil(lock, [&] { return nextReport == nextSequence; });
    }
    for (std::thread& worker : workers)
        worker.join();
    counts.readFailed = reader.failed();
    return counts;
}

} // namespace pismolot::cli
