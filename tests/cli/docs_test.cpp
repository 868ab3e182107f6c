// The usage text, the README, the manual page and the bash completion keep up
// with the options the parser really takes.
#include "options.h"
#include "render/styles.h"

#include "platformskip.h"
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QThread>

using namespace pismolot;
using namespace pismolot::cli;

namespace {

QString sourceFile(const char* path) {
    QFile file(QStringLiteral(PISMOLOT_SOURCE_DIR "/") + QLatin1String(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    return QString::fromUtf8(file.readAll());
}

QString readmeRendererSection() {
    const QString readme = sourceFile("README.md");
    const qsizetype start = readme.indexOf(QStringLiteral("## The headless renderer"));
    const qsizetype end = readme.indexOf(QStringLiteral("\n## "), start + 1);
    EXPECT_GE(start, 0);
    return readme.mid(start, end - start);
}

// troff writes a hyphen that must stay one as "\-".
QString manualPage() {
    return sourceFile("data/man/pismolot-render.1")
        .replace(QStringLiteral("\\-"), QStringLiteral("-"));
}

struct Document {
    const char* name;
    QString (*text)();
};

class EveryOptionDocumented : public testing::TestWithParam<Document> {};

TEST_P(EveryOptionDocumented, NamesEachOptionAndTheThreeExamples) {
    const QString text = GetParam().text();
    ASSERT_FALSE(text.isEmpty());
    for (const QString& option : optionNames())
        EXPECT_TRUE(text.contains(QStringLiteral("--") + option)) << option.toStdString();
    for (const ImageFormat format : AllFormats)
        EXPECT_TRUE(text.contains(formatName(format))) << formatName(format).toStdString();
    // A transparent PNG, a picture piped to a program, a batch from a list.
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("--transparent[^\\n]*\\.png"))));
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("-o - [^\\n]*\\| "))));
    EXPECT_TRUE(
        text.contains(QRegularExpression(QStringLiteral("\\| pismolot-render[^\\n]*--batch -"))));
}

TEST(Usage, FitsEightyColumns) {
    for (const QString& line : usage().split(QLatin1Char('\n')))
        EXPECT_LE(line.size(), 80) << line.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, EveryOptionDocumented,
                         testing::Values(Document{"help", usage},
                                         Document{"readme", readmeRendererSection},
                                         Document{"manual", manualPage}),
                         [](const testing::TestParamInfo<Document>& info) {
                             return std::string(info.param.name);
                         });

// What the completion function offers after `words`, as bash runs it.
QStringList complete(const QString& words) {
    QProcess bash;
    bash.start(QStringLiteral("bash"),
               {QStringLiteral("-c"),
                QStringLiteral("source \"$1\"; eval \"COMP_WORDS=(pismolot-render $2)\"; "
                               "COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _pismolot_render; "
                               "printf '%s\\n' \"${COMPREPLY[@]}\""),
                QStringLiteral("bash"),
                QStringLiteral(PISMOLOT_SOURCE_DIR "/data/completion/pismolot-render.bash"),
                words});
    EXPECT_TRUE(bash.waitForFinished(30000));
    EXPECT_EQ(bash.exitCode(), 0) << bash.readAllStandardError().toStdString();
    return QString::fromUtf8(bash.readAllStandardOutput())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

TEST(Completion, StylesFormatsAndOptions) {
    SKIP_ON_WINDOWS("the completion is bash's, which Windows does not have");
    QStringList styles;
    for (const QString& name : styleNameList())
        styles << QString(name).replace(QLatin1Char(' '), QStringLiteral("\\ "));
    EXPECT_EQ(complete(QStringLiteral("--style ''")), styles);
    EXPECT_EQ(complete(QStringLiteral("--style = Lo")),
              QStringList{QStringLiteral("Losowe\\ kreski")});
    EXPECT_EQ(complete(QStringLiteral("--style=Lo")),
              QStringList{QStringLiteral("Losowe\\ kreski")});
    EXPECT_EQ(complete(QStringLiteral("--style 'Losowe\\ k'")),
              QStringList{QStringLiteral("Losowe\\ kreski")});
    // After an opening quote readline keeps the quote: the name goes in as it is.
    EXPECT_EQ(complete(QStringLiteral("--style '\"Zielono'")),
              QStringList{QStringLiteral("Zielono - pomarańczowy")});

    QStringList formats;
    for (const ImageFormat format : AllFormats)
        formats << formatExtensions(format).replaceInStrings(QStringLiteral("."), QString());
    EXPECT_EQ(complete(QStringLiteral("--format ''")), formats);

    QStringList options;
    for (const QString& name : optionNames())
        options << QStringLiteral("--") + name;
    QStringList offered = complete(QStringLiteral("--"));
    offered.removeAll(QStringLiteral("--"));
    options.sort();
    offered.sort();
    EXPECT_EQ(offered, options);
    EXPECT_TRUE(complete(QStringLiteral("-- --st")).isEmpty());

    // Whatever the number of processors, each count once.
    const QStringList jobs = complete(QStringLiteral("--jobs ''"));
    EXPECT_TRUE(jobs.contains(QString::number(QThread::idealThreadCount())));
    EXPECT_EQ(QSet<QString>(jobs.begin(), jobs.end()).size(), jobs.size())
        << jobs.join(u' ').toStdString();
}

} // namespace
