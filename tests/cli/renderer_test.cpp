// Runs the real pismolot-render executable.
#include "render/headless.h"
#include "render/textraster.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

using namespace pismolot;

namespace {

struct Outcome {
    int exitCode;
    QString out;
    QString err;
};

Outcome render(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(PISMOLOT_RENDER_EXE), args);
    EXPECT_TRUE(process.waitForFinished(120000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(Renderer, BmpAndPngHoldTheJobsPicture) {
    QTemporaryDir dir;
    EffectSettings s;
    s.text = QStringLiteral("Pismolot ąę");
    s.font = FontChoice{QStringLiteral("DejaVu Serif"), 30, true, true, true};
    s.styleIndex = 7;
    s.background = ColourValue::rgb(0x12, 0x34, 0x56);
    StyleRandom fresh;
    const QImage expected = renderHeadless(s, {700, 300}, 120, fresh);
    ASSERT_FALSE(expected.isNull());
    for (const char* name : {"out.bmp", "out", "out.Png"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        const Outcome r = render(
            {QStringLiteral("-o"), path, QStringLiteral("--font"), QStringLiteral("DejaVu Serif"),
             QStringLiteral("--size"), QStringLiteral("30"), QStringLiteral("--bold"),
             QStringLiteral("--italic"), QStringLiteral("--underline"), QStringLiteral("--style"),
             QStringLiteral("Losowe kreski"), QStringLiteral("--background"),
             QStringLiteral("123456"), QStringLiteral("--screen"), QStringLiteral("700x300"),
             QStringLiteral("--dpi"), QStringLiteral("120"), s.text});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray head = file.read(8);
        EXPECT_EQ(head.startsWith("BM"), !QString::fromLatin1(name).endsWith(QStringLiteral("Png")))
            << name;
        const QImage back(path);
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), expected) << name;
    }
}

TEST(Renderer, BadArgumentsExitTwoNothingWrittenExitOne) {
    QTemporaryDir dir;
    const Outcome bad =
        render({QStringLiteral("--style"), QStringLiteral("99"), QStringLiteral("x")});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(bad.err.count(QLatin1Char('\n')), 1) << bad.err.toStdString();

    const QString keep = dir.filePath(QStringLiteral("keep.bmp"));
    QFile f(keep);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old");
    f.close();
    const Outcome empty = render({QStringLiteral("-o"), keep, QString()});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_FALSE(empty.err.isEmpty());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));

    const Outcome unwritable = render(
        {QStringLiteral("-o"), dir.filePath(QStringLiteral("none/x.bmp")), QStringLiteral("x")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.err.contains(QStringLiteral("none/x.bmp")));
    EXPECT_EQ(dir.path().size() > 0 && QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(Renderer, ListsAndHardInputs) {
    const Outcome styles = render({QStringLiteral("--list-styles")});
    EXPECT_EQ(styles.exitCode, 0);
    EXPECT_TRUE(styles.out.startsWith(QStringLiteral("0\tRóżowo granatowy\n")));
    EXPECT_EQ(styles.out.count(QLatin1Char('\n')), 13);

    const Outcome fonts = render({QStringLiteral("--list-fonts")});
    EXPECT_EQ(fonts.out, sortedFontFamilies().join(QLatin1Char('\n')) + QLatin1Char('\n'));

    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("x.bmp"));
    for (const QStringList& args :
         {QStringList{QStringLiteral("--size"), QStringLiteral("2048"), QStringLiteral("Ag")},
          QStringList{QString(10000, QLatin1Char('m'))}, QStringList{QStringLiteral("😀 漢字 Text")},
          QStringList{QStringLiteral("--font"), QStringLiteral("Nie Ma Takiej"),
                      QStringLiteral("T")}}) {
        const Outcome r = render(QStringList{QStringLiteral("-o"), out} + args);
        EXPECT_EQ(r.exitCode, 0) << args.join(QLatin1Char(' ')).left(40).toStdString()
                                 << r.err.toStdString();
        EXPECT_FALSE(QImage(out).isNull());
    }
}

} // namespace
