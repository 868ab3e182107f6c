#include "backend.h"
#include "batch.h"
#include "console.h"
#include "options.h"
#include "textinput.h"

#include "render/styles.h"
#include "render/vectorpicture.h"

#include <QFile>
#include <QGuiApplication>
#include <QThread>

#include <clocale>
#include <cstdio>
#include <cstdlib>

using namespace pismolot;
using namespace pismolot::cli;

namespace {

void print(std::FILE* stream, const QString& text) {
    console::write(stream, text);
}

void complain(const QString& message) {
    print(stderr, QStringLiteral("pismolot-render: %1\n").arg(oneLine(message)));
}

// Lists go to standard output; a reader that went away is a failure too.
int finishListing() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        complain(QStringLiteral("cannot write to standard output"));
        return 1;
    }
    return 0;
}

// Qt's own chatter (missing runtime folders and the like) is not ours to
// print: standard error carries this program's messages only.
void quietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        complain(message);
}

// Ends the process once every file is committed: tearing down the font
// database and the platform would only cost time.
[[noreturn]] void finish(int status) {
    std::fflush(nullptr);
    std::_Exit(status);
}

// A picture is binary: onto a terminal it would only garble the screen.
QString terminalRefused(const Options& o) {
    if (o.action != Action::Render)
        return {};
    if (o.output == QLatin1String("-") && console::isTerminal(console::StandardOutput))
        return QStringLiteral("standard output is a terminal; redirect it to a file or a "
                              "program, or name a file with -o");
    if (o.output != QLatin1String("-") && console::namesTerminal(o.output))
        return QStringLiteral("%1 is a terminal; name a file with -o, or redirect standard "
                              "output and use -o -")
            .arg(quoted(o.output));
    return {};
}

int renderOne(const Options& o) {
    const bool toStandardOutput = o.output == QLatin1String("-");
    const QString target =
        toStandardOutput ? QStringLiteral("to standard output") : quoted(o.output);
    bool lettersCut = false;
    VectorPicture shapes;
    const VectorPicture* vector = isVectorFormat(o.format) ? &shapes : nullptr;
    const QImage picture = renderPicture(o.settings, o.screen, o.dpi, o.transparent, &lettersCut,
                                         vector ? &shapes : nullptr);
    WriteStatus status;
    if (toStandardOutput) {
        status = checkPictureFor(picture, o.format, vector);
        if (status.ok()) {
            QFile out;
            if (out.open(console::StandardOutput, QIODevice::WriteOnly,
                         QFileDevice::DontCloseHandle))
                status = writePictureTo(out, picture, o.format, vector);
            else
                status = {WriteError::Other, out.errorString()};
        }
    } else {
        status = writePictureFile(o.output, picture, o.format, vector);
    }
    if (!status.ok()) {
        complain(QStringLiteral("cannot write %1: %2").arg(target, describe(status)));
        return 1;
    }
    // The picture is written as the rules make it, and the loss is told.
    if (lettersCut)
        complain(QStringLiteral("warning: ") + lettersCutWarning(o.settings, o.screen, o.dpi));
    return 0;
}

int renderBatch(const Options& o) {
    const bool standardInput = o.batchFile == QLatin1String("-");
    const QString name = standardInput ? QStringLiteral("standard input") : quoted(o.batchFile);
    QString why;
    const int fd = standardInput ? console::StandardInput : console::openToRead(o.batchFile, &why);
    if (fd < 0) {
        complain(QStringLiteral("cannot read the batch %1: %2").arg(name, why));
        return 2;
    }

    const bool onTerminal = console::isTerminal(console::StandardError);
    Progress progress(stderr, !onTerminal ? ProgressShown::Not
                              : !console::takesEscapes(console::StandardError)
                                  ? ProgressShown::AsLines
                                  : ProgressShown::InPlace);
    // The total is known when the batch can be read twice: a regular file
    // (not a pipe, nor a device that never ends), from where it stands.
    if (onTerminal) {
        if (const auto start = console::regularFilePosition(fd)) {
            progress.setTotal(countPictureLines(readFrom(fd)));
            console::seekTo(fd, *start);
        }
    }

    bool available[std::size(AllFormats)];
    for (const ImageFormat format : AllFormats)
        available[int(format)] = formatAvailable(format);
    const FormatAvailable cached = [&](ImageFormat format) { return available[int(format)]; };
    const BatchFormat formatOf = [&](const QString& output,
                                     QString* error) -> std::optional<ImageFormat> {
        if (output == QLatin1String("-")) {
            *error = QStringLiteral("standard output (-) cannot be the OUTPUT of a batch line");
            return std::nullopt;
        }
        if (console::namesTerminal(output)) {
            *error = QStringLiteral("OUTPUT %1 is a terminal").arg(quoted(output));
            return std::nullopt;
        }
        const FormatResult f = chooseFormat(output, o.forcedFormat, o.transparent, cached);
        *error = f.error;
        return f.format;
    };
    const int jobs = o.jobs > 0 ? o.jobs : std::max(1, QThread::idealThreadCount());
    const BatchWork work = [&](const BatchItem& item) {
        EffectSettings settings = o.settings;
        settings.text = item.text;
        bool lettersCut = false;
        VectorPicture shapes;
        const VectorPicture* vector = isVectorFormat(item.format) ? &shapes : nullptr;
        const QImage picture = renderPicture(settings, o.screen, o.dpi, o.transparent, &lettersCut,
                                             vector ? &shapes : nullptr);
        const WriteStatus status = writePictureFile(item.output, picture, item.format, vector);
        if (!status.ok())
            return WorkResult(
                QStringLiteral("cannot write %1: %2").arg(quoted(item.output), describe(status)));
        if (!lettersCut)
            return WorkResult();
        return WorkResult(
            {}, QStringLiteral("warning: %1: %2")
                    .arg(quoted(item.output), lettersCutWarning(settings, o.screen, o.dpi)));
    };

    const BatchCounts counts = runBatch(readFrom(fd), jobs, formatOf, work, progress);
    progress.finish(counts.written + counts.failed);
    if (counts.readFailed) {
        complain(QStringLiteral("reading the batch %1 failed after line %2; the rest was not "
                                "rendered")
                     .arg(name)
                     .arg(counts.linesRead));
        return 1;
    }
    return counts.failed > 0 ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    // A reader that goes away must not kill the process: the failed write is
    // reported and the exit status says so.
    console::setUpStreams();

    // Read the arguments before Qt exists: it would take "--style" as its own.
    const ParseResult parsed = parseArguments(console::arguments(argc, argv));
    if (!parsed.options) {
        complain(parsed.error);
        return 2;
    }
    Options o = *parsed.options;
    if (const QString refused = terminalRefused(o); !refused.isEmpty()) {
        complain(refused);
        return 2;
    }

    switch (o.action) {
    case Action::Help:
        print(stdout, usage());
        return finishListing();
    case Action::Version:
        print(stdout, QStringLiteral("pismolot-render %1\n").arg(QStringLiteral(PISMOLOT_VERSION)));
        return finishListing();
    case Action::ListStyles:
        for (int i = 0; i < StyleCount; ++i)
            print(stdout, QStringLiteral("%1\t%2\n").arg(i).arg(styleName(i)));
        return finishListing();
    case Action::ListFormats:
        for (const ImageFormat format : AllFormats) {
            if (formatAvailable(format))
                print(stdout, formatName(format) + QLatin1Char('\t') +
                                  formatExtensions(format).join(QLatin1Char(' ')) +
                                  QLatin1Char('\n'));
        }
        return finishListing();
    case Action::ListFonts:
    case Action::Render:
    case Action::Batch:
        break;
    }

    if (!o.textFile.isEmpty()) {
        const TextResult text = readTextFile(o.textFile);
        if (!text.text) {
            complain(text.error);
            return 2;
        }
        o.settings.text = *text.text;
    }

    // Fonts need a platform, one that works without a display.
    console::useHeadlessPlatform();
    qInstallMessageHandler(quietQt);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    // Qt adopts the user's locale; the system's error texts stay English, as
    // every message of this program is.
#ifdef LC_MESSAGES
    std::setlocale(LC_MESSAGES, "C");
#endif

    if (o.action == Action::ListFonts) {
        for (const QString& family : fontFamilies())
            print(stdout, family + QLatin1Char('\n'));
        finish(finishListing());
    }

    if (!o.fontGiven) {
        o.settings.font.name = defaultFamily();
    } else if (const QString drawn = familyDrawn(o.settings.font.name);
               drawn.compare(o.settings.font.name, Qt::CaseInsensitive) != 0) {
        complain(QStringLiteral("warning: no font family %1 is installed; drawing with %2")
                     .arg(quoted(o.settings.font.name), quoted(drawn)));
    }

    finish(o.action == Action::Batch ? renderBatch(o) : renderOne(o));
}
