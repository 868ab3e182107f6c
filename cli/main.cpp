#include "options.h"

#include "render/headless.h"
#include "render/imagefile.h"
#include "render/styles.h"
#include "render/textraster.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

using namespace pismolot;

namespace {

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

// Qt's own chatter (missing runtime folders and the like) is not ours to
// print: standard error carries this program's messages only.
void quietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        print(stderr, message + QLatin1Char('\n'));
}

} // namespace

int main(int argc, char** argv) {
    // Read the arguments before Qt sees them: it would take "--style" as its own.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const cli::ParseResult parsed = cli::parseArguments(args);

    // Fonts need a platform; the offscreen one opens no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // No event loop runs here: the plain dispatcher starts faster than GLib's.
    if (qEnvironmentVariableIsEmpty("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
    qInstallMessageHandler(quietQt);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);

    if (!parsed.options) {
        print(stderr, QStringLiteral("pismolot-render: %1\n").arg(parsed.error));
        return 2;
    }
    cli::Options o = *parsed.options;

    switch (o.action) {
    case cli::Action::Help:
        print(stdout, cli::usage());
        return 0;
    case cli::Action::Version:
        print(stdout, QStringLiteral("pismolot-render %1\n").arg(QStringLiteral(PISMOLOT_VERSION)));
        return 0;
    case cli::Action::ListStyles:
        for (int i = 0; i < StyleCount; ++i)
            print(stdout, QStringLiteral("%1\t%2\n").arg(i).arg(styleName(i)));
        return 0;
    case cli::Action::ListFonts:
        for (const QString& family : sortedFontFamilies())
            print(stdout, family + QLatin1Char('\n'));
        return 0;
    case cli::Action::Render:
        break;
    }

    if (!o.fontGiven)
        o.settings.font.name = defaultSansFamily();
    const QImage picture = renderHeadless(o.settings, o.screen, o.dpi);
    const auto format = cli::wantsPng(o.output) ? ImageFormat::Png : ImageFormat::Bmp;
    const WriteStatus written = writeImageFile(o.output, picture, format);
    if (!written.ok()) {
        print(stderr, QStringLiteral("pismolot-render: cannot write %1: %2\n")
                          .arg(o.output, written.systemText));
        return 1;
    }
    // The file is committed; tearing down the font database and the
    // platform would only cost time.
    std::fflush(nullptr);
    std::_Exit(0);
}
