// The renderer's SVG and PDF as other programs read them: xmllint finds the
// SVG well-formed, librsvg (rsvg-convert) and poppler (pdftoppm) draw them at
// the picture's size and at 4x, and what they draw is the renderer's bitmap
// but along the smoothed letter edges.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>

namespace {

QString tool(const char* name) {
    return QString::fromLatin1(name);
}

// Runs a program to its end; "" when it did well, else what went wrong.
std::string run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return program.toStdString() + " did not finish: " + process.errorString().toStdString();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return program.toStdString() + " failed: " + process.readAllStandardError().toStdString();
    return {};
}

struct Case {
    const char* name;
    QStringList options;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

bool near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

int distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
           std::abs(qBlue(a) - qBlue(b));
}

// The share of pixels drawn nearer to the colour of a neighbour than to the
// bitmap's own (smoothing leaves an edge pixel nearest its own colour while
// the edge covers most of it); and at 4x, the share of pixels of one colour
// all around whose middle lost that colour.
struct Shares {
    double differing = 0;
    double wrongBand = 0;
};

Shares compare(const QImage& bitmap, const QImage& same, const QImage& large) {
    qint64 differing = 0, uniform = 0, wrong = 0;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            const QRgb want = bitmap.pixel(x, y);
            const QRgb got = same.pixel(x, y);
            bool alone = true, nearer = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const QRgb n = bitmap.pixel(std::clamp(x + dx, 0, bitmap.width() - 1),
                                                std::clamp(y + dy, 0, bitmap.height() - 1));
                    alone = alone && n == want;
                    // Neighbouring rows of a gradient differ a little: only
                    // another colour counts (the background, a stripe).
                    nearer = nearer ||
                             (distance(n, want) > 48 && distance(got, n) < distance(got, want));
                }
            differing += !near(got, want, 6) && nearer;
            if (alone) {
                ++uniform;
                wrong += !near(large.pixel(4 * x + 2, 4 * y + 2), want, 3);
            }
        }
    EXPECT_GT(uniform, 1000);
    return {double(differing) / double(qint64(bitmap.width()) * bitmap.height()),
            double(wrong) / double(std::max<qint64>(uniform, 1))};
}

class RealClients : public testing::TestWithParam<Case> {};

TEST_P(RealClients, DrawTheVectorFilesAsTheBitmapAt1xAnd4x) {
    const Case& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto path = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    for (const char* name : {"p.bmp", "p.svg", "p.pdf"}) {
        const QStringList arguments = QStringList(c.options)
                                      << QStringLiteral("-o") << path(name)
                                      << QStringLiteral("Pismolot: zażółć gęślą jaźń");
        ASSERT_EQ(run(QStringLiteral(PISMOLOT_RENDER_EXE), arguments), "") << name;
    }
    const QImage bitmap = QImage(path("p.bmp")).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(bitmap.isNull());

    ASSERT_EQ(run(tool("xmllint"), {QStringLiteral("--noout"), path("p.svg")}), "");

    ASSERT_EQ(run(tool("rsvg-convert"), {path("p.svg"), QStringLiteral("-o"), path("svg1.png")}),
              "");
    ASSERT_EQ(run(tool("rsvg-convert"), {QStringLiteral("--zoom=4"), path("p.svg"),
                                         QStringLiteral("-o"), path("svg4.png")}),
              "");
    // One picture pixel is one point of the page.
    ASSERT_EQ(
        run(tool("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                               QStringLiteral("-singlefile"), path("p.pdf"), path("pdf1")}),
        "");
    ASSERT_EQ(
        run(tool("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("288"), QStringLiteral("-png"),
                               QStringLiteral("-singlefile"), path("p.pdf"), path("pdf4")}),
        "");

    const struct {
        const char* reader;
        const char* same;
        const char* large;
    } readers[] = {{"rsvg-convert", "svg1.png", "svg4.png"}, {"pdftoppm", "pdf1.png", "pdf4.png"}};
    for (const auto& r : readers) {
        const QImage same = QImage(path(r.same)).convertToFormat(QImage::Format_RGB32);
        const QImage large = QImage(path(r.large)).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(same.size(), bitmap.size()) << r.reader;
        ASSERT_EQ(large.size(), bitmap.size() * 4) << r.reader;
        const Shares shares = compare(bitmap, same, large);
        std::printf("%s, %s: %.3f %% of pixels differ at 1x\n", c.name, r.reader,
                    shares.differing * 100);
        EXPECT_LT(shares.differing, 0.01) << r.reader;
        EXPECT_LT(shares.wrongBand, 0.002) << r.reader;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, RealClients,
    testing::Values(Case{"SansPinkNavy96", {"--size", "54"}},
                    Case{"SerifBoldItalicUnderline144",
                         {"--font", "DejaVu Serif", "--size", "40", "--bold", "--italic",
                          "--underline", "--style", "9", "--dpi", "144", "--background", "203040"}},
                    Case{"RandomStripesUnderline96",
                         {"--size", "60", "--underline", "--style", "7", "--background", "fff0c0"}},
                    Case{"CutAtTheScreensEdge96",
                         {"--size", "200", "--bold", "--style", "8", "--screen", "700x200"}}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

} // namespace
