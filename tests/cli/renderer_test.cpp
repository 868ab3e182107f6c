// Runs the real pismolot-render executable.
#include "backend.h"
#include "options.h"
#include "render/fonts.h"
#include "render/headless.h"
#include "render/styles.h"
#include "render/textfit.h"
#include "render/textmeasure.h"

#include "platformskip.h"
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

using namespace pismolot;
using namespace pismolot::cli;

namespace {

struct Outcome {
    int exitCode;
    QProcess::ExitStatus exitStatus;
    QByteArray out;
    QString err;
};

Outcome render(const QStringList& args, const QByteArray& input = {},
               const QString& workingDirectory = {},
               const QString& program = QStringLiteral(PISMOLOT_RENDER_EXE)) {
    QProcess process;
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    process.start(program, args);
    EXPECT_TRUE(process.waitForStarted());
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(120000));
    return {process.exitCode(), process.exitStatus(), process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QStringList look() {
    return {QStringLiteral("--font"),
            QStringLiteral("DejaVu Serif"),
            QStringLiteral("--size"),
            QStringLiteral("30"),
            QStringLiteral("--bold"),
            QStringLiteral("--italic"),
            QStringLiteral("--underline"),
            QStringLiteral("--style"),
            QStringLiteral("Losowe kreski"),
            QStringLiteral("--background"),
            QStringLiteral("123456"),
            QStringLiteral("--screen"),
            QStringLiteral("700x300"),
            QStringLiteral("--dpi"),
            QStringLiteral("120")};
}

TEST(Renderer, BmpAndPngHoldTheJobsPicture) {
    QTemporaryDir dir;
    EffectSettings s;
    s.text = QStringLiteral("Pismolot ąę");
    s.font = FontChoice{QStringLiteral("DejaVu Serif"), 30, true, true, true};
    s.styleIndex = RandomStripesStyle;
    s.background = ColourValue::rgb(0x12, 0x34, 0x56);
    StyleRandom fresh;
    const QImage expected = renderHeadless(s, {700, 300}, 120, fresh);
    ASSERT_FALSE(expected.isNull());
    for (const char* name : {"out.bmp", "out", "out.Png"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        const Outcome r = render(QStringList{QStringLiteral("-o"), path} + look() << s.text);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        const QByteArray bytes = fileBytes(path);
        EXPECT_EQ(bytes.startsWith("BM"),
                  !QString::fromLatin1(name).endsWith(QStringLiteral("Png")))
            << name;
        EXPECT_EQ(QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32), expected) << name;
    }
}

TEST(Renderer, BadArgumentsExitTwoNothingWrittenExitOne) {
    QTemporaryDir dir;
    for (const QStringList& args :
         {QStringList{QStringLiteral("--style"), QStringLiteral("99"), QStringLiteral("x")},
          QStringList{QStringLiteral("--bold=no"), QStringLiteral("x")},
          QStringList{QStringLiteral("-o"), QStringLiteral("a\nb.xyz"), QStringLiteral("x")},
          QStringList{QStringLiteral("--size"), QStringLiteral("2048"), QStringLiteral("--dpi"),
                      QStringLiteral("720"), QStringLiteral("x")},
          QStringList{QStringLiteral("--background"), QStringLiteral("123456\n"),
                      QStringLiteral("x")}}) {
        const Outcome bad = render(args);
        EXPECT_EQ(bad.exitCode, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(bad.err.count(QLatin1Char('\n')), 1) << bad.err.toStdString();
        EXPECT_TRUE(bad.out.isEmpty());
    }

    const QString keep = dir.filePath(QStringLiteral("keep.bmp"));
    writeFile(keep, "old");
    const Outcome empty = render({QStringLiteral("-o"), keep, QString()});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.err.count(QLatin1Char('\n')), 1) << empty.err.toStdString();
    EXPECT_TRUE(empty.err.contains(QStringLiteral("empty"))) << empty.err.toStdString();
    EXPECT_EQ(fileBytes(keep), QByteArray("old"));

    // A name with a line feed: one line that quotes it.
    const Outcome unwritable = render(
        {QStringLiteral("-o"), dir.filePath(QStringLiteral("no\nne/x.bmp")), QStringLiteral("x")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_EQ(unwritable.err.count(QLatin1Char('\n')), 1) << unwritable.err.toStdString();
    EXPECT_TRUE(unwritable.err.contains(QStringLiteral("no\\nne/x.bmp\"")))
        << unwritable.err.toStdString();
    // Nothing but the old file: no picture, no temporary file left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("keep.bmp")});
}

TEST(Renderer, ListsAndHardInputs) {
    const Outcome styles = render({QStringLiteral("--list-styles")});
    EXPECT_EQ(styles.exitCode, 0);
    EXPECT_TRUE(QString::fromUtf8(styles.out).startsWith(QStringLiteral("0\tRóżowo granatowy\n")));
    EXPECT_EQ(styles.out.count('\n'), StyleCount);

    const Outcome fonts = render({QStringLiteral("--list-fonts")});
    EXPECT_EQ(QString::fromUtf8(fonts.out),
              sortedFontFamilies().join(QLatin1Char('\n')) + QLatin1Char('\n'));

    const Outcome formats = render({QStringLiteral("--list-formats")});
    QString expectedFormats;
    for (const ImageFormat format : AllFormats) {
        if (formatAvailable(format))
            expectedFormats += formatName(format) + QLatin1Char('\t') +
                               formatExtensions(format).join(QLatin1Char(' ')) + QLatin1Char('\n');
    }
    EXPECT_EQ(QString::fromUtf8(formats.out), expectedFormats);
    EXPECT_TRUE(expectedFormats.startsWith(QStringLiteral("bmp\t.bmp\npng\t.png\n")));

    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("x.bmp"));
    for (const QStringList& args :
         {QStringList{QStringLiteral("--size"), QStringLiteral("2048"), QStringLiteral("Ag")},
          QStringList{QString(10000, QLatin1Char('m'))}, QStringList{QStringLiteral("😀 漢字 Text")},
          QStringList{QStringLiteral("--"), QStringLiteral("-")}}) {
        QFile::remove(out);
        const Outcome r = render(QStringList{QStringLiteral("-o"), out} + args);
        EXPECT_EQ(r.exitCode, 0) << args.join(QLatin1Char(' ')).left(40).toStdString()
                                 << r.err.toStdString();
        EXPECT_FALSE(QImage(out).isNull());
    }
}

TEST(Renderer, UnknownFontWarnsAndNamesTheFamilyDrawn) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("x.bmp"));
    const Outcome r = render({QStringLiteral("-o"), out, QStringLiteral("--font"),
                              QStringLiteral("Nie Ma Takiej"), QStringLiteral("T")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("\"Nie Ma Takiej\""))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QLatin1Char('"') + familyDrawn(QStringLiteral("Nie Ma Takiej")) +
                               QLatin1Char('"')))
        << r.err.toStdString();
    EXPECT_FALSE(QImage(out).isNull());

    const Outcome known = render({QStringLiteral("-o"), out, QStringLiteral("--font"),
                                  QStringLiteral("DejaVu Sans"), QStringLiteral("T")});
    EXPECT_EQ(known.exitCode, 0);
    EXPECT_TRUE(known.err.isEmpty()) << known.err.toStdString();
}

// Letters beyond the screen: the picture is written as the job makes it,
// exit 0, and one warning line names the fitting size and --screen; in a
// batch, per line and naming its output. Letters within the screen: silence.
TEST(Renderer, CutLettersWarnButTheyAreWritten) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("cut.png"));
    const QStringList big{QStringLiteral("--font"),   QStringLiteral("DejaVu Sans"),
                          QStringLiteral("--size"),   QStringLiteral("2048"),
                          QStringLiteral("--screen"), QStringLiteral("1280x1024")};
    EffectSettings s;
    s.text = QStringLiteral("Text");
    s.font = FontChoice{QStringLiteral("DejaVu Sans"), 2048};
    const int fits = largestFittingSize(s.text, s.font, 96, QSize(1280, 1024));
    ASSERT_GT(fits, 0);

    const Outcome r = render(big + QStringList{QStringLiteral("-o"), out, s.text});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("pismolot-render: warning: ")))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("--screen"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("size %1 ").arg(fits))) << r.err.toStdString();
    EXPECT_EQ(QImage(out).size(), QSize(1280, measureText(s.text, s.font, 96).height()));

    writeFile(dir.filePath(QStringLiteral("list.txt")), "small.bmp\tT\nbig.bmp\tText\n");
    const Outcome b =
        render({QStringLiteral("--size"), QStringLiteral("300"), QStringLiteral("--screen"),
                QStringLiteral("640x480"), QStringLiteral("--batch"), QStringLiteral("list.txt")},
               {}, dir.path());
    EXPECT_EQ(b.exitCode, 0) << b.err.toStdString();
    EXPECT_TRUE(b.err.startsWith(QStringLiteral("2: warning: \"big.bmp\": ")))
        << b.err.toStdString();
    EXPECT_EQ(b.err.count(QLatin1Char('\n')), 1) << b.err.toStdString();
    EXPECT_TRUE(b.err.contains(QStringLiteral("--screen"))) << b.err.toStdString();
    EXPECT_FALSE(QImage(dir.filePath(QStringLiteral("big.bmp"))).isNull());

    const Outcome fitting =
        render({QStringLiteral("--font"), QStringLiteral("DejaVu Sans"), QStringLiteral("--size"),
                QString::number(fits), QStringLiteral("--screen"), QStringLiteral("1280x1024"),
                QStringLiteral("-o"), out, s.text});
    EXPECT_EQ(fitting.exitCode, 0);
    EXPECT_TRUE(fitting.err.isEmpty()) << fitting.err.toStdString();
}

struct TransparencyCase {
    const char* name;
    const char* extension;
    QStringList options;
};

class Transparency : public testing::TestWithParam<TransparencyCase> {};

TEST_P(Transparency, BackgroundClearLettersAsInTheOpaquePicture) {
    QTemporaryDir dir;
    if (QLatin1String(GetParam().extension) == QLatin1String("webp") &&
        !formatAvailable(ImageFormat::Webp))
        GTEST_SKIP() << "this build cannot write WebP";
    const QString clear =
        dir.filePath(QStringLiteral("clear.") + QLatin1String(GetParam().extension));
    const QString opaque = dir.filePath(QStringLiteral("opaque.png"));
    const QStringList common =
        GetParam().options + QStringList{QStringLiteral("--background"), QStringLiteral("123456"),
                                         QStringLiteral("Zażółć gęślą")};
    const Outcome a =
        render(QStringList{QStringLiteral("--transparent"), QStringLiteral("-o"), clear} + common);
    const Outcome b = render(QStringList{QStringLiteral("-o"), opaque} + common);
    ASSERT_EQ(a.exitCode, 0) << a.err.toStdString();
    ASSERT_EQ(b.exitCode, 0) << b.err.toStdString();
    const QImage t = QImage(clear).convertToFormat(QImage::Format_ARGB32);
    const QImage o = QImage(opaque).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(t.size(), o.size());
    EXPECT_TRUE(QImage(clear).hasAlphaChannel());
    const QRgb background = qRgb(0x12, 0x34, 0x56);
    int letters = 0, clearPixels = 0;
    for (int y = 0; y < t.height(); ++y) {
        for (int x = 0; x < t.width(); ++x) {
            const QRgb p = t.pixel(x, y);
            const QRgb q = o.pixel(x, y);
            ASSERT_TRUE(qAlpha(p) == 0 || qAlpha(p) == 255) << x << "," << y;
            if (qAlpha(p) == 255) {
                ++letters;
                ASSERT_EQ(p, q) << x << "," << y;
            } else {
                ++clearPixels;
                ASSERT_EQ(q, background) << "a pixel left clear is a letter at " << x << "," << y;
            }
        }
    }
    EXPECT_GT(letters, 100);
    EXPECT_GT(clearPixels, letters);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Transparency,
    testing::Values(
        TransparencyCase{"plain", "png", {}},
        TransparencyCase{"webp", "webp", {QStringLiteral("--style"), QStringLiteral("5")}},
        TransparencyCase{"stripes", "png", {QStringLiteral("--style"), QStringLiteral("7")}},
        TransparencyCase{"boldItalicUnderline",
                         "png",
                         {QStringLiteral("--bold"), QStringLiteral("--italic"),
                          QStringLiteral("--underline"), QStringLiteral("--size"),
                          QStringLiteral("40"), QStringLiteral("--style"), QStringLiteral("3")}},
        TransparencyCase{"dpi192", "png", {QStringLiteral("--dpi"), QStringLiteral("192")}}),
    [](const testing::TestParamInfo<TransparencyCase>& info) {
        return std::string(info.param.name);
    });

struct FormatCase {
    const char* name;
    QStringList args;
    const char* file;
    QByteArray magic; // at the start of the file; empty: refused with exit 2
    const char* errorPart;
};

class FormatByName : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatByName, ExtensionOrFormatOption) {
    const FormatCase& c = GetParam();
    if (QByteArray(c.file).endsWith(".webp") && !formatAvailable(ImageFormat::Webp))
        GTEST_SKIP() << "this build writes no WebP (Qt's image plugin for it is missing)";
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromUtf8(c.file));
    const Outcome r =
        render(c.args + QStringList{QStringLiteral("-o"), path, QStringLiteral("Tekst")});
    if (c.magic.isEmpty()) {
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("pismolot-render: ")));
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.errorPart))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(path));
        return;
    }
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray bytes = fileBytes(path);
    EXPECT_TRUE(bytes.startsWith(c.magic)) << bytes.left(16).toHex().toStdString();
    EXPECT_FALSE(QImage::fromData(bytes).isNull());
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatByName,
    testing::Values(FormatCase{"bmp", {}, "a.bmp", "BM", ""},
                    FormatCase{"noExtension", {}, "a", "BM", ""},
                    FormatCase{"png", {}, "a.png", "\x89PNG", ""},
                    FormatCase{"jpg", {}, "a.jpg", "\xFF\xD8\xFF", ""},
                    FormatCase{"ppm", {}, "a.ppm", "P6", ""},
                    FormatCase{"webp", {}, "a.webp", "RIFF", ""},
                    FormatCase{"polishName", {}, "żółw.png", "\x89PNG", ""},
                    FormatCase{"formatOverExtension",
                               {QStringLiteral("--format"), QStringLiteral("png")},
                               "a.bmp",
                               "\x89PNG",
                               ""},
                    FormatCase{"unknown", {}, "a.xyz", "", "unknown format .xyz; use --format"}),
    [](const testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST(FormatByName, DevicesAreWrittenThrough) {
    SKIP_ON_WINDOWS("devices under /dev; NUL is checked in tests/windows");
    const Outcome r =
        render({QStringLiteral("-o"), QStringLiteral("/dev/null"), QStringLiteral("T")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    // Written through, not replaced by a regular file.
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

struct StreamCase {
    const char* name;
    const char* format;
};

class StandardOutput : public testing::TestWithParam<StreamCase> {};

TEST_P(StandardOutput, SameBytesAsTheFile) {
    if (!formatAvailable(*formatNamed(QString::fromLatin1(GetParam().format)))) {
        GTEST_SKIP() << "this build cannot write " << GetParam().format;
    }
    QTemporaryDir dir;
    const QString file =
        dir.filePath(QStringLiteral("file.") + QString::fromLatin1(GetParam().format));
    const QStringList common = look() << QStringLiteral("Zażółć");
    const Outcome toFile = render(QStringList{QStringLiteral("-o"), file} + common);
    ASSERT_EQ(toFile.exitCode, 0) << toFile.err.toStdString();
    const Outcome piped =
        render(QStringList{QStringLiteral("-o"), QStringLiteral("-"), QStringLiteral("--format"),
                           QString::fromLatin1(GetParam().format)} +
               common);
    ASSERT_EQ(piped.exitCode, 0) << piped.err.toStdString();
    EXPECT_TRUE(piped.err.isEmpty());
    EXPECT_FALSE(piped.out.isEmpty());
    EXPECT_EQ(piped.out, fileBytes(file));
}

INSTANTIATE_TEST_SUITE_P(Table, StandardOutput,
                         testing::Values(StreamCase{"bmp", "bmp"}, StreamCase{"png", "png"},
                                         StreamCase{"jpg", "jpg"}, StreamCase{"ppm", "ppm"},
                                         StreamCase{"webp", "webp"}),
                         [](const testing::TestParamInfo<StreamCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(StandardOutput, NoFormatMeansBmp) {
    const Outcome r = render({QStringLiteral("-o"), QStringLiteral("-"), QStringLiteral("Hi")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("BM"));
}

// Runs `command` with a terminal as its standard streams (script(1)); what the
// terminal showed comes back as standard output.
Outcome onTerminal(const QString& command, const QString& workingDirectory = {}) {
    return render({QStringLiteral("-qec"), command, QStringLiteral("/dev/null")}, {},
                  workingDirectory, QStringLiteral("script"));
}

QString shellQuoted(const QString& word) {
    return QLatin1Char('\'') + QString(word).replace(QLatin1Char('\''), QStringLiteral("'\\''")) +
           QLatin1Char('\'');
}

class OntoATerminal : public testing::TestWithParam<const char*> {};

// A usage error, like every other, whichever name the terminal goes by.
TEST_P(OntoATerminal, NoPictureAndExitTwo) {
    SKIP_ON_WINDOWS("terminals by name and pseudo-terminals");
    const Outcome r = onTerminal(shellQuoted(QStringLiteral(PISMOLOT_RENDER_EXE)) +
                                 QStringLiteral(" -o %1 Hi").arg(QLatin1String(GetParam())));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.contains("is a terminal")) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains("BM"));
}

INSTANTIATE_TEST_SUITE_P(Names, OntoATerminal, testing::Values("-", "/dev/stdout", "/dev/tty"));

// A word for sh(1) that is exactly `bytes`, whatever they are.
QString shellBytes(const QByteArray& bytes) {
    QString octal;
    for (const char c : bytes)
        octal +=
            QStringLiteral("\\%1").arg(uint(static_cast<unsigned char>(c)), 3, 8, QLatin1Char('0'));
    return QStringLiteral("\"$(printf '%1')\"").arg(octal);
}

std::string inDir(const QTemporaryDir& dir, const QByteArray& name) {
    return QFile::encodeName(dir.path()).toStdString() + '/' + name.toStdString();
}

struct ByteNameCase {
    const char* name;
    QList<QByteArray> args;
    QByteArray input;     // the file named first after the option, if any
    QByteArray inputText; // its contents
    QByteArray written;   // the picture's name
};

class ByteNames : public testing::TestWithParam<ByteNameCase> {};

// Linux names are bytes: each is used exactly as given, never refused.
TEST_P(ByteNames, WrittenAndReadAsGiven) {
    SKIP_ON_WINDOWS("file names there are UTF-16, not bytes");
    const ByteNameCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_EQ(render({QStringLiteral("-o"), QStringLiteral("ref.bmp"), QStringLiteral("Hi")}, {},
                     dir.path())
                  .exitCode,
              0);
    if (!c.input.isEmpty()) {
        std::ofstream(inDir(dir, c.input), std::ios::binary) << c.inputText.toStdString();
    }
    QString script = shellQuoted(QStringLiteral(PISMOLOT_RENDER_EXE));
    for (const QByteArray& arg : c.args)
        script += QLatin1Char(' ') + shellBytes(arg);
    const Outcome r = render({QStringLiteral("-c"), script}, {}, dir.path(), QStringLiteral("sh"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    std::ifstream written(inDir(dir, c.written), std::ios::binary);
    ASSERT_TRUE(written) << "no file " << c.written.toStdString();
    const std::string bytes{std::istreambuf_iterator<char>(written), {}};
    EXPECT_EQ(QByteArray::fromStdString(bytes), fileBytes(dir.filePath(QStringLiteral("ref.bmp"))));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ByteNames,
    testing::Values(
        ByteNameCase{"output", {"-o", "o\xFF\xFE.bmp", "Hi"}, {}, {}, "o\xFF\xFE.bmp"},
        ByteNameCase{"outputWithEncodedSurrogate",
                     {"-o", "s\xED\xB2\x80.bmp", "Hi"},
                     {},
                     {},
                     "s\xED\xB2\x80.bmp"},
        ByteNameCase{"outputAsValue", {"--output=v\xE9.bmp", "Hi"}, {}, {}, "v\xE9.bmp"},
        ByteNameCase{
            "textFile", {"--text-file", "t\xFF.txt", "-o", "t\xFE"}, "t\xFF.txt", "Hi\n", "t\xFE"},
        ByteNameCase{"batchAndItsOutput",
                     {"--batch", "l\xFD.txt"},
                     "l\xFD.txt",
                     "b\xFC.bmp\tHi\n",
                     "b\xFC.bmp"}),
    [](const testing::TestParamInfo<ByteNameCase>& info) { return std::string(info.param.name); });

struct EnvironmentCase {
    const char* name;
    QStringList set; // NAME=value, over an environment without a display
};

class Environments : public testing::TestWithParam<EnvironmentCase> {};

// Whatever platform the environment names, the renderer makes the same
// picture without a display, and says nothing.
TEST_P(Environments, SamePictureWithoutADisplay) {
    QTemporaryDir dir;
    const auto run = [&](const QStringList& set, const QString& output) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QLatin1String(name));
        // An empty runtime folder: no compositor's socket to be found.
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
        for (const QString& pair : set)
            env.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(PISMOLOT_RENDER_EXE),
                      QStringList{QStringLiteral("-o"), dir.filePath(output)} + look()
                          << QStringLiteral("Zażółć"));
        EXPECT_TRUE(process.waitForFinished(120000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
        EXPECT_EQ(process.readAllStandardError(), QByteArray());
        return fileBytes(dir.filePath(output));
    };
    const QByteArray expected = run({}, QStringLiteral("plain.bmp"));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(run(GetParam().set, QStringLiteral("env.bmp")), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Environments,
    testing::Values(
        EnvironmentCase{"xcbWithoutDisplay", {QStringLiteral("QT_QPA_PLATFORM=xcb")}},
        EnvironmentCase{"xcbWithAGoneDisplay",
                        {QStringLiteral("QT_QPA_PLATFORM=xcb"), QStringLiteral("DISPLAY=:9731")}},
        EnvironmentCase{"waylandWithoutCompositor", {QStringLiteral("QT_QPA_PLATFORM=wayland")}},
        EnvironmentCase{"unknownPlatform", {QStringLiteral("QT_QPA_PLATFORM=nosuchplatform")}},
        EnvironmentCase{"desktopThemeAndInput",
                        {QStringLiteral("QT_QPA_PLATFORM=xcb:nograb"),
                         QStringLiteral("QT_QPA_PLATFORMTHEME=gtk3"),
                         QStringLiteral("QT_QPA_GENERIC_PLUGINS=evdevmouse")}}),
    [](const testing::TestParamInfo<EnvironmentCase>& info) {
        return std::string(info.param.name);
    });

TEST(StandardOutput, ClosedPipeEndsWithExitOne) {
    SKIP_ON_WINDOWS("the pipe is made by a POSIX shell");
    // A picture of megabytes, far more than a pipe holds, into a reader that
    // stops after one byte: the writer meets the closed end whatever the
    // timing. bash reports the renderer's own status (141 for a SIGPIPE death).
    const Outcome r =
        render({QStringLiteral("-c"),
                QStringLiteral("\"$0\" -o - --size 300 MMMMMM | head -c 1 >/dev/null; "
                               "exit ${PIPESTATUS[0]}"),
                QStringLiteral(PISMOLOT_RENDER_EXE)},
               {}, {}, QStringLiteral("bash"));
    EXPECT_EQ(r.exitStatus, QProcess::NormalExit);
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("cannot write to standard output")))
        << r.err.toStdString();
}

struct TextFileCase {
    const char* name;
    QByteArray bytes;
    bool fromStandardInput;
    int exitCode;
    const char* errorPart; // with exit 2
};

class TextFile : public testing::TestWithParam<TextFileCase> {};

TEST_P(TextFile, ReadLikeTheArgument) {
    const TextFileCase& c = GetParam();
    QTemporaryDir dir;
    const QString textPath = dir.filePath(QStringLiteral("tekst.txt"));
    writeFile(textPath, c.bytes);
    const QString out = dir.filePath(QStringLiteral("out.png"));
    const Outcome r =
        render({QStringLiteral("--style"), QStringLiteral("7"), QStringLiteral("--text-file"),
                c.fromStandardInput ? QStringLiteral("-") : textPath, QStringLiteral("-o"), out},
               c.fromStandardInput ? c.bytes : QByteArray());
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
    if (c.exitCode != 0) {
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.errorPart))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(out));
        return;
    }
    const QString reference = dir.filePath(QStringLiteral("reference.png"));
    const Outcome direct =
        render({QStringLiteral("--style"), QStringLiteral("7"), QStringLiteral("-o"), reference,
                QStringLiteral("Zażółć gęślą")});
    ASSERT_EQ(direct.exitCode, 0);
    EXPECT_EQ(fileBytes(out), fileBytes(reference));
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextFile,
    testing::Values(TextFileCase{"plain", "Zażółć gęślą\n", false, 0, ""},
                    TextFileCase{"byteOrderMark", "\xEF\xBB\xBFZażółć gęślą\r\n", false, 0, ""},
                    TextFileCase{"fromStandardInput", "Zażółć gęślą\n", true, 0, ""},
                    TextFileCase{"markFromStandardInput", "\xEF\xBB\xBFZażółć gęślą", true, 0, ""},
                    TextFileCase{"invalidUtf8", "Za\xBF\xBF", false, 2,
                                 "invalid UTF-8 at byte offset 2"},
                    TextFileCase{"invalidFromStandardInput", "\xEF\xBB\xBF\xC0\xAF", true, 2,
                                 "standard input: invalid UTF-8 at byte offset 3"},
                    TextFileCase{"twoLines", "Zażółć\ngęślą\n", false, 2, "line break"}),
    [](const testing::TestParamInfo<TextFileCase>& info) { return std::string(info.param.name); });

TEST(TextFile, MissingFileAndFolderAreUsageErrors) {
    QTemporaryDir dir;
    for (const QString& path : {dir.filePath(QStringLiteral("brak.txt")), dir.path()}) {
        const Outcome r = render({QStringLiteral("--text-file"), path, QStringLiteral("-o"),
                                  dir.filePath(QStringLiteral("x.bmp"))});
        EXPECT_EQ(r.exitCode, 2) << path.toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("cannot read"))) << r.err.toStdString();
    }
}

// A batch of labels against single runs of the same lines.
class BatchRuns : public testing::Test {
protected:
    QTemporaryDir dir;

    QByteArray batchText() const {
        return "# etykiety\n"
               "a.bmp\tEtykieta 001\n"
               "\n"
               "b.png\tZażółć gęślą jaźń\n"
               "sub/c.bmp\tEtykieta 003\r\n"
               "no tab\n"
               "d.xyz\tEtykieta\n"
               "missing/e.bmp\tEtykieta\n"
               "f\t-5 stopni\n"
               "g.bmp\t\n"
               "h.png\tŻółw\n";
    }

    // Single runs, one per good line, in their own folder.
    void singleRuns(const QStringList& options, const QString& folder) {
        QDir().mkpath(folder + QStringLiteral("/sub"));
        const QList<std::pair<QString, QString>> lines = {
            {QStringLiteral("a.bmp"), QStringLiteral("Etykieta 001")},
            {QStringLiteral("b.png"), QStringLiteral("Zażółć gęślą jaźń")},
            {QStringLiteral("sub/c.bmp"), QStringLiteral("Etykieta 003")},
            {QStringLiteral("f"), QStringLiteral("-5 stopni")},
            {QStringLiteral("h.png"), QStringLiteral("Żółw")}};
        for (const auto& [output, text] : lines) {
            const Outcome r = render(
                options + QStringList{QStringLiteral("-o"), output, QStringLiteral("--"), text}, {},
                folder);
            ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        }
    }

    Outcome batch(const QStringList& options, const QString& folder) {
        QDir().mkpath(folder + QStringLiteral("/sub"));
        writeFile(folder + QStringLiteral("/lista.txt"), batchText());
        return render(options + QStringList{QStringLiteral("--batch"), QStringLiteral("lista.txt")},
                      {}, folder);
    }
};

TEST_F(BatchRuns, EqualToSingleRunsWithBadLinesReported) {
    for (const QStringList& options :
         {QStringList{QStringLiteral("--style"), QStringLiteral("7")},
          QStringList{QStringLiteral("--style"), QStringLiteral("3"), QStringLiteral("--bold"),
                      QStringLiteral("--font"), QStringLiteral("DejaVu Serif"),
                      QStringLiteral("--size"), QStringLiteral("40"), QStringLiteral("--dpi"),
                      QStringLiteral("144")}}) {
        const QString name = options.join(QLatin1Char('_')).remove(QLatin1Char(' '));
        const QString single = dir.filePath(QStringLiteral("single") + name);
        const QString batched = dir.filePath(QStringLiteral("batch") + name);
        singleRuns(options, single);
        const Outcome r = batch(options, batched);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.out.isEmpty());
        const QStringList lines = r.err.split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 5) << r.err.toStdString();
        EXPECT_EQ(lines.at(0), QStringLiteral("6: no tab between OUTPUT and TEXT"));
        EXPECT_EQ(lines.at(1), QStringLiteral("7: unknown format .xyz; use --format"));
        EXPECT_EQ(lines.at(2), QStringLiteral("8: cannot write \"missing/e.bmp\": no such folder"));
        EXPECT_EQ(lines.at(3), QStringLiteral("10: empty TEXT after the tab"));
        EXPECT_EQ(lines.at(4), QString());
        for (const char* output : {"a.bmp", "b.png", "sub/c.bmp", "f", "h.png"}) {
            const QByteArray expected =
                fileBytes(single + QLatin1Char('/') + QLatin1String(output));
            ASSERT_FALSE(expected.isEmpty()) << output;
            EXPECT_EQ(fileBytes(batched + QLatin1Char('/') + QLatin1String(output)), expected)
                << output << " with " << name.toStdString();
        }
    }
}

TEST_F(BatchRuns, SameFilesAtOneAndFourThreads) {
    const QStringList options{QStringLiteral("--style"), QStringLiteral("Losowe kreski")};
    const QString one = dir.filePath(QStringLiteral("one"));
    const QString four = dir.filePath(QStringLiteral("four"));
    const Outcome a =
        batch(options + QStringList{QStringLiteral("--jobs"), QStringLiteral("1")}, one);
    const Outcome b =
        batch(options + QStringList{QStringLiteral("--jobs"), QStringLiteral("4")}, four);
    EXPECT_EQ(a.exitCode, 1);
    EXPECT_EQ(b.exitCode, 1);
    EXPECT_EQ(a.err, b.err);
    for (const char* output : {"a.bmp", "b.png", "sub/c.bmp", "f", "h.png"}) {
        const QByteArray first = fileBytes(one + QLatin1Char('/') + QLatin1String(output));
        ASSERT_FALSE(first.isEmpty()) << output;
        EXPECT_EQ(fileBytes(four + QLatin1Char('/') + QLatin1String(output)), first) << output;
    }
}

TEST_F(BatchRuns, FromStandardInputEveryLineWritten) {
    QByteArray input;
    for (int i = 1; i <= 30; ++i)
        input += QStringLiteral("l%1.png\tEtykieta %1\n").arg(i, 3, 10, QLatin1Char('0')).toUtf8();
    const Outcome r =
        render({QStringLiteral("--batch"), QStringLiteral("-"), QStringLiteral("--jobs"),
                QStringLiteral("3"), QStringLiteral("--style"), QStringLiteral("7")},
               input, dir.path());
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 30);
    const Outcome single = render(
        {QStringLiteral("--style"), QStringLiteral("7"), QStringLiteral("-o"), QStringLiteral("-"),
         QStringLiteral("--format"), QStringLiteral("png"), QStringLiteral("Etykieta 017")});
    EXPECT_EQ(fileBytes(dir.filePath(QStringLiteral("l017.png"))), single.out);
}

TEST_F(BatchRuns, ProgressOnlyOnATerminal) {
    SKIP_ON_WINDOWS("the terminal is a pseudo-terminal");
    QByteArray list;
    for (int i = 1; i <= 12; ++i)
        list += "p" + QByteArray::number(i) + ".bmp\tEtykieta\n";
    list += "# the end\n";
    writeFile(dir.filePath(QStringLiteral("lista.txt")), list);
    const Outcome shown = onTerminal(shellQuoted(QStringLiteral(PISMOLOT_RENDER_EXE)) +
                                         QStringLiteral(" --batch lista.txt"),
                                     dir.path());
    EXPECT_EQ(shown.exitCode, 0) << shown.out.toStdString();
    // Redrawn in place, ending with the total of picture lines.
    EXPECT_TRUE(shown.out.startsWith("\r")) << shown.out.toStdString();
    EXPECT_TRUE(shown.out.contains("\r12 / 12 pictures")) << shown.out.toStdString();
    EXPECT_EQ(shown.out.count('\n'), 1) << shown.out.toStdString();

    // A terminal that takes no control sequences gets plain lines.
    const Outcome dumb =
        onTerminal(QStringLiteral("TERM=dumb ") + shellQuoted(QStringLiteral(PISMOLOT_RENDER_EXE)) +
                       QStringLiteral(" --batch lista.txt"),
                   dir.path());
    EXPECT_EQ(dumb.exitCode, 0) << dumb.out.toStdString();
    EXPECT_FALSE(dumb.out.contains('\x1b')) << dumb.out.toStdString();
    // Every carriage return is the terminal's, before a line feed.
    EXPECT_EQ(dumb.out.count('\r'), dumb.out.count("\r\n")) << dumb.out.toStdString();
    EXPECT_TRUE(dumb.out.contains("12 / 12 pictures")) << dumb.out.toStdString();

    const Outcome quiet =
        render({QStringLiteral("--batch"), QStringLiteral("lista.txt")}, {}, dir.path());
    EXPECT_EQ(quiet.exitCode, 0);
    EXPECT_TRUE(quiet.err.isEmpty()) << quiet.err.toStdString();
}

TEST_F(BatchRuns, UnreadableBatchIsAUsageError) {
    const Outcome r = render({QStringLiteral("--batch"), dir.filePath(QStringLiteral("brak"))});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
}

} // namespace

namespace {

// SVG and PDF reach every output the bitmaps reach: a file by its
// extension, standard output by --format, the lines of a batch; and the same
// text at the same settings gives the same file.
TEST(VectorOutputs, FileStandardOutputAndBatchGiveTheSameShapes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QStringList options = look();
    for (const char* extension : {"svg", "pdf"}) {
        const QString name = QStringLiteral("plakat.") + QLatin1String(extension);
        const Outcome toFile = render(
            options + QStringList{QStringLiteral("-o"), dir.filePath(name), QStringLiteral("Gęś")});
        ASSERT_EQ(toFile.exitCode, 0) << toFile.err.toStdString();
        const QByteArray file = fileBytes(dir.filePath(name));
        EXPECT_TRUE(file.startsWith(extension == QByteArrayView("svg") ? "<?xml" : "%PDF-"))
            << extension;
        const Outcome toPipe =
            render(options + QStringList{QStringLiteral("--format"), QLatin1String(extension),
                                         QStringLiteral("-o"), QStringLiteral("-"),
                                         QStringLiteral("Gęś")});
        ASSERT_EQ(toPipe.exitCode, 0) << toPipe.err.toStdString();
        // A PDF carries the moment it was made; an SVG is byte for byte.
        if (extension == QByteArrayView("svg"))
            EXPECT_EQ(toPipe.out, file);
        else
            EXPECT_EQ(toPipe.out.size(), file.size());
    }
    writeFile(dir.filePath("list.txt"), "b.svg\tGęś\nb.pdf\tGęś\n");
    const Outcome batch =
        render(options + QStringList{QStringLiteral("--batch"), QStringLiteral("list.txt")}, {},
               dir.path());
    ASSERT_EQ(batch.exitCode, 0) << batch.err.toStdString();
    EXPECT_EQ(fileBytes(dir.filePath("b.svg")), fileBytes(dir.filePath("plakat.svg")));
    EXPECT_TRUE(fileBytes(dir.filePath("b.pdf")).startsWith("%PDF-"));
}

// --transparent leaves the background rectangle out, and only it.
TEST(VectorOutputs, TransparentLeavesOutTheBackgroundRectangle) {
    const QStringList args{QStringLiteral("--background"), QStringLiteral("102030"),
                           QStringLiteral("--format"),     QStringLiteral("svg"),
                           QStringLiteral("-o"),           QStringLiteral("-"),
                           QStringLiteral("Tło")};
    const Outcome opaque = render(args);
    const Outcome clear = render(QStringList{QStringLiteral("--transparent")} + args);
    ASSERT_EQ(opaque.exitCode, 0);
    ASSERT_EQ(clear.exitCode, 0) << clear.err.toStdString();
    EXPECT_TRUE(opaque.out.contains("fill=\"#102030\""));
    EXPECT_FALSE(clear.out.contains("#102030"));
    EXPECT_EQ(clear.out.count("<rect"), opaque.out.count("<rect") - 1);
}

} // namespace
