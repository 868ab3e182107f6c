// The batch pipeline with stand-in work: order, duplicates, bounds.
#include "batch.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

using namespace pismolot;
using namespace pismolot::cli;

namespace {

// Hands out `bytes` at most `piece` bytes per call, as a pipe does; counts the
// line feeds handed out so far.
struct PieceReader {
    QByteArray bytes;
    qsizetype piece;
    qsizetype pos = 0;
    std::atomic<qint64> lineFeeds{0};

    ReadSome reader() {
        return [this](char* data, qint64 size) -> qint64 {
            const qsizetype n = std::min<qsizetype>({piece, qsizetype(size), bytes.size() - pos});
            std::copy_n(bytes.constData() + pos, n, data);
            lineFeeds += std::count(data, data + n, '\n');
            pos += n;
            return n;
        };
    }
};

QList<QByteArray> readAll(const QByteArray& bytes, qsizetype piece, qsizetype maxLine,
                          QList<bool>* tooLong = nullptr) {
    PieceReader source{bytes, piece};
    LineReader reader(source.reader(), maxLine);
    QList<QByteArray> lines;
    bool over = false;
    while (const auto line = reader.next(&over)) {
        lines << *line;
        if (tooLong)
            *tooLong << over;
        EXPECT_EQ(reader.lineNumber(), lines.size());
    }
    return lines;
}

struct ReaderCase {
    const char* name;
    QByteArray bytes;
    QList<QByteArray> lines;
};

class LineReading : public testing::TestWithParam<ReaderCase> {};

TEST_P(LineReading, SameLinesWhateverThePieces) {
    for (const qsizetype piece : {1, 2, 3, 7, 65536}) {
        EXPECT_EQ(readAll(GetParam().bytes, piece, 100), GetParam().lines) << "piece " << piece;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, LineReading,
    testing::Values(ReaderCase{"empty", "", {}}, ReaderCase{"oneLineFeed", "\n", {""}},
                    ReaderCase{"lastLineWithoutFeed", "a\nbc", {"a", "bc"}},
                    ReaderCase{"lastLineWithFeed", "a\nbc\n", {"a", "bc"}},
                    ReaderCase{"emptyLinesKept", "\n\na\n\n", {"", "", "a", ""}},
                    ReaderCase{"crKept", "a\r\nb", {"a\r", "b"}}),
    [](const testing::TestParamInfo<ReaderCase>& info) { return std::string(info.param.name); });

TEST(LineReading, LongLinesAreSkippedNotHeld) {
    const QByteArray bytes = "short\n" + QByteArray(1000, 'x') + "\nafter\n" + QByteArray(11, 'y') +
                             "\n" + QByteArray(10, 'z');
    QList<bool> tooLong;
    const QList<QByteArray> lines = readAll(bytes, 64, 10, &tooLong);
    EXPECT_EQ(lines, (QList<QByteArray>{"short", "", "after", "", QByteArray(10, 'z')}));
    EXPECT_EQ(tooLong, (QList<bool>{false, true, false, true, false}));
}

struct Recorded {
    QStringList messages;
    BatchCounts counts;
    QStringList writes; // "output=text", in the order the work finished
};

// Runs a batch whose work "writes" by recording, failing texts that start
// with "fail", and sleeping a little per picture so that threads overtake
// each other.
Recorded runFake(const QByteArray& input, int jobs,
                 const std::function<void(const BatchItem&)>& during = {}) {
    Recorded r;
    std::mutex mutex;
    PieceReader source{input, 5};
    // Messages go to a temporary file: Progress writes to a stream.
    std::FILE* sink = std::tmpfile();
    Progress progress(sink, ProgressShown::Not);
    const BatchFormat formatOf = [](const QString& output,
                                    QString* error) -> std::optional<ImageFormat> {
        if (output.endsWith(QStringLiteral(".xyz"))) {
            *error = QStringLiteral("unknown format .xyz; use --format");
            return std::nullopt;
        }
        return ImageFormat::Bmp;
    };
    const BatchWork work = [&](const BatchItem& item) {
        if (during)
            during(item);
        // Later lines finish sooner.
        std::this_thread::sleep_for(std::chrono::microseconds(item.line % 7 * 300));
        std::lock_guard lock(mutex);
        if (item.text.startsWith(QStringLiteral("fail")))
            return QStringLiteral("cannot write \"%1\"").arg(item.output);
        r.writes << item.output + QLatin1Char('=') + item.text;
        return QString();
    };
    r.counts = runBatch(source.reader(), jobs, formatOf, work, progress);
    std::rewind(sink);
    QByteArray text;
    char chunk[4096];
    while (const std::size_t n = std::fread(chunk, 1, sizeof chunk, sink))
        text.append(chunk, qsizetype(n));
    std::fclose(sink);
    r.messages = QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return r;
}

QByteArray mixedBatch() {
    QByteArray input = "# labels\n";
    for (int i = 1; i <= 60; ++i) {
        if (i % 10 == 3)
            input += "no tab here\n";
        else if (i % 10 == 6)
            input += QByteArray("x") + QByteArray::number(i) + ".xyz\tText\n";
        else if (i % 10 == 9)
            input += "f" + QByteArray::number(i) + ".bmp\tfail\n";
        else
            input += "f" + QByteArray::number(i) + ".bmp\tText " + QByteArray::number(i) + "\n";
        if (i % 20 == 0)
            input += "\n";
    }
    return input;
}

TEST(Batch, MessagesInLineOrderAndIndependentOfThreads) {
    const Recorded one = runFake(mixedBatch(), 1);
    const Recorded four = runFake(mixedBatch(), 4);
    EXPECT_EQ(one.messages, four.messages);
    EXPECT_EQ(one.counts.written, 42);
    EXPECT_EQ(one.counts.failed, 18);
    EXPECT_EQ(four.counts.written, one.counts.written);
    EXPECT_EQ(four.counts.failed, one.counts.failed);
    EXPECT_FALSE(four.counts.readFailed);
    // Line numbers count every line of the input: the comment and the empty lines too.
    ASSERT_EQ(one.messages.size(), 18);
    EXPECT_EQ(one.messages.at(0), QStringLiteral("4: no tab between OUTPUT and TEXT"));
    EXPECT_EQ(one.messages.at(1), QStringLiteral("7: unknown format .xyz; use --format"));
    EXPECT_EQ(one.messages.at(2), QStringLiteral("10: cannot write \"f9.bmp\""));
    EXPECT_EQ(one.messages.at(3), QStringLiteral("14: no tab between OUTPUT and TEXT"));
    EXPECT_EQ(one.messages.at(6), QStringLiteral("25: no tab between OUTPUT and TEXT"));
    QStringList sortedOne = one.writes, sortedFour = four.writes;
    sortedOne.sort();
    sortedFour.sort();
    EXPECT_EQ(sortedOne, sortedFour);
}

TEST(Batch, SameOutputWrittenInLineOrder) {
    // Every even line names the same file; the last of them must be the one
    // that lands, as one run after another would leave it.
    QByteArray input;
    for (int i = 1; i <= 40; ++i)
        input += (i % 2 ? "odd" + QByteArray::number(i) + ".bmp" : QByteArray("./same.bmp")) +
                 "\tText " + QByteArray::number(i) + "\n";
    input += "sub/../same.bmp\tlast\n";
    const Recorded r = runFake(input, 4);
    EXPECT_TRUE(r.messages.isEmpty()) << r.messages.join(QLatin1Char('|')).toStdString();
    QStringList same;
    for (const QString& w : r.writes) {
        if (w.contains(QStringLiteral("same.bmp")))
            same << w.section(QLatin1Char('='), 1);
    }
    QStringList expected;
    for (int i = 2; i <= 40; i += 2)
        expected << QStringLiteral("Text %1").arg(i);
    expected << QStringLiteral("last");
    EXPECT_EQ(same, expected);
}

TEST(Batch, ReadsOnlyAFewLinesAhead) {
    // The first picture is slow; meanwhile the reader may run ahead only by
    // the window (two lines per thread), not through the whole input. This
    // bound is what keeps the memory bounded: pictures live only inside the
    // work, and text only for the lines in flight.
    QByteArray input;
    for (int i = 1; i <= 20000; ++i)
        input += "f" + QByteArray::number(i) + ".bmp\tText\n";
    PieceReader* watched = nullptr;
    qint64 aheadWhileFirstRuns = -1;
    const int threads = 3;
    std::mutex mutex;
    PieceReader source{input, 64};
    watched = &source;
    std::FILE* sink = std::tmpfile();
    Progress progress(sink, ProgressShown::Not);
    const BatchWork work = [&](const BatchItem& item) {
        if (item.line == 1) {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            std::lock_guard lock(mutex);
            aheadWhileFirstRuns = watched->lineFeeds.load();
        }
        return QString();
    };
    const BatchCounts counts = runBatch(
        source.reader(), threads,
        [](const QString&, QString*) { return std::optional<ImageFormat>(ImageFormat::Bmp); }, work,
        progress);
    std::fclose(sink);
    EXPECT_EQ(counts.written, 20000);
    // Read in pieces of 64 bytes: a piece holds at most 7 line feeds more.
    EXPECT_GE(aheadWhileFirstRuns, 1);
    EXPECT_LE(aheadWhileFirstRuns, 2 * threads + 8);
}

TEST(Batch, ReadErrorIsReported) {
    int calls = 0;
    const ReadSome failing = [&](char* data, qint64) -> qint64 {
        if (++calls == 1) {
            std::memcpy(data, "a.bmp\tx\n", 8);
            return 8;
        }
        return -1;
    };
    std::FILE* sink = std::tmpfile();
    Progress progress(sink, ProgressShown::Not);
    const BatchCounts counts = runBatch(
        failing, 2,
        [](const QString&, QString*) { return std::optional<ImageFormat>(ImageFormat::Bmp); },
        [](const BatchItem&) { return QString(); }, progress);
    std::fclose(sink);
    EXPECT_TRUE(counts.readFailed);
    EXPECT_EQ(counts.written, 1);
}

TEST(Batch, CountsThePictureLinesForProgress) {
    PieceReader source{mixedBatch(), 13};
    EXPECT_EQ(countPictureLines(source.reader()), 60);
}

} // namespace
