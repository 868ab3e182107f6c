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

// Whether the 3x3 neighbourhood of (x, y) in `bitmap` has one colour, and
// the range of each channel across it.
struct Neighbourhood {
    bool uniform = true;
    int low[3] = {255, 255, 255};
    int high[3] = {0, 0, 0};
};

Neighbourhood around(const QImage& bitmap, int x, int y) {
    Neighbourhood n;
    const QRgb centre = bitmap.pixel(x, y);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int nx = std::clamp(x + dx, 0, bitmap.width() - 1);
            const int ny = std::clamp(y + dy, 0, bitmap.height() - 1);
            const QRgb p = bitmap.pixel(nx, ny);
            n.uniform = n.uniform && p == centre;
            const int channels[3] = {qRed(p), qGreen(p), qBlue(p)};
            for (int i = 0; i < 3; ++i) {
                n.low[i] = std::min(n.low[i], channels[i]);
                n.high[i] = std::max(n.high[i], channels[i]);
            }
        }
    return n;
}

// The share of pixels that differ from the bitmap: a smoothed edge pixel
// counts as equal when its colour lies between the colours around it.
double differingShare(const QImage& bitmap, const QImage& drawn) {
    constexpr int Tolerance = 6;
    qint64 differing = 0;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            const QRgb want = bitmap.pixel(x, y);
            const QRgb got = drawn.pixel(x, y);
            if (near(want, got, Tolerance))
                continue;
            const Neighbourhood n = around(bitmap, x, y);
            const int channels[3] = {qRed(got), qGreen(got), qBlue(got)};
            bool between = !n.uniform;
            for (int i = 0; i < 3 && between; ++i)
                between =
                    channels[i] >= n.low[i] - Tolerance && channels[i] <= n.high[i] + Tolerance;
            differing += !between;
        }
    return double(differing) / double(qint64(bitmap.width()) * bitmap.height());
}

// At 4x, the middle of each pixel whose neighbourhood has one colour keeps
// that colour: the share that does not.
double wrongBandShare(const QImage& bitmap, const QImage& large) {
    qint64 checked = 0, wrong = 0;
    for (int y = 1; y + 1 < bitmap.height(); ++y)
        for (int x = 1; x + 1 < bitmap.width(); ++x) {
            if (!around(bitmap, x, y).uniform)
                continue;
            ++checked;
            wrong += !near(large.pixel(4 * x + 2, 4 * y + 2), bitmap.pixel(x, y), 3);
        }
    EXPECT_GT(checked, 1000);
    return checked ? double(wrong) / double(checked) : 1.0;
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
        const double differing = differingShare(bitmap, same);
        std::printf("%s, %s: %.3f %% of pixels differ at 1x\n", c.name, r.reader, differing * 100);
        EXPECT_LT(differing, 0.01) << r.reader;
        EXPECT_LT(wrongBandShare(bitmap, large), 0.002) << r.reader;
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
