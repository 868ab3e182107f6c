#include "about/autorx.h"
#include "app/forms.h"
#include "editor/colourswatch.h"
#include "editor/redak.h"
#include "mainwin/mdi.h"
#include "mainwin/output.h"
#include "mainwin/rys.h"
#include "mainwin/temp.h"
#include "mainwin/windowplatform.h"
#include "render/fonts.h"
#include "render/headless.h"
#include "render/imagefile.h"
#include "render/surfaces.h"
#include "render/textfit.h"
#include "render/textline.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "clipboardpicture.h"
#include "freshwindows.h"

#include <gtest/gtest.h>

#include <functional>

using namespace pismolot;

namespace {

QList<Temp*> waitWindows() {
    QList<Temp*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<Temp*>(w))
            found.append(t);
    return found;
}

int screenDpi() {
    return qRound(QGuiApplication::primaryScreen()->logicalDotsPerInchY());
}
QSize screenSize() {
    return QGuiApplication::primaryScreen()->geometry().size();
}

// Settings as the editor's controls hold them after the test set them.
EffectSettings editorSettings() {
    Redak& r = forms::redak();
    EffectSettings s;
    s.text = r.effectText();
    s.font = r.previewFont();
    s.styleIndex = std::int16_t(r.styleIndex());
    s.background = r.backgroundColour();
    return s;
}

struct Fixture : FreshWindows<> {
    QStringList messages;

    void SetUp() override {
        FreshWindows::SetUp();
        QGuiApplication::clipboard()->clear();
    }

    // The editor with the given settings in its controls.
    void setEditor(const QString& text, const FontChoice& font, int style, ColourValue background) {
        Redak& r = forms::redak();
        r.Text1->setText(text);
        r.Text1->setFont(makeFont(font));
        r.List2->setCurrentIndex(style);
        r.Label4->setBackColor(background);
    }

    // "&OK" pressed, the job run to its end; the main window reports
    // into `messages`.
    void pressOkAndWait() {
        QTest::mouseClick(forms::redak().Command2, Qt::LeftButton);
        MDI& mdi = forms::mdi();
        mdi.showMessage = [this](const QString& m) { messages.append(m); };
        ASSERT_TRUE(QTest::qWaitFor(
            [] { return forms::hasRys() && forms::rys().Picture1->isVisible(); }, 10000));
    }

    // A key pressed in the active main window, where the focus is.
    void pressShortcut(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        MDI& mdi = forms::mdi();
        mdi.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&mdi));
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &mdi, key, modifiers);
    }

    // The main window with its render child, without the editor's help and
    // without the render job. Left to the child's timer, the job would run
    // whenever a test next waits for events (sooner or later, as the machine
    // is loaded), and its wait window would take the activation: on the
    // offscreen platform no window manager hands it back to the main window
    // when the wait window goes, so a wait for the main window's activation
    // would time out.
    void openMainWindow() {
        forms::redak();
        MDI& mdi = forms::mdi();
        mdi.showMessage = [this](const QString& m) { messages.append(m); };
        forms::rys().Timer1->stop();
        mdi.show();
    }
};

FontChoice sans(float size, bool bold = false, bool italic = false, bool underline = false) {
    return {defaultSansFamily(), size, bold, italic, underline};
}

struct RenderCase {
    const char* name;
    QString text;
    FontChoice font;
    int style;
    ColourValue background;
};

class WholeWay : public Fixture, public testing::WithParamInterface<RenderCase> {};

// "&OK" to a visible Picture1 whose pixels are those of the renderer for
// the same settings, random stripes included.
TEST_P(WholeWay, OkShowsTheRenderersPicture) {
    const RenderCase& c = GetParam();
    setEditor(c.text, c.font, c.style, c.background);
    const EffectSettings settings = editorSettings();
    ASSERT_EQ(settings.text, c.text);
    ASSERT_EQ(settings.styleIndex, c.style);
    ASSERT_EQ(settings.background, c.background);

    int waitShows = 0;
    QString waitTitle;
    struct Spy : QObject {
        std::function<void(QObject*)> onShow;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Show && qobject_cast<Temp*>(o))
                onShow(o);
            return false;
        }
    } spy;
    spy.onShow = [&](QObject* o) {
        ++waitShows;
        waitTitle = static_cast<Temp*>(o)->windowTitle();
    };
    qApp->installEventFilter(&spy);

    StyleRandom random = styleRandom(); // the job draws from the same sequence
    const QPointer<Redak> editor = &forms::redak();
    pressOkAndWait();
    ASSERT_TRUE(editor) << "the editor lives on, hidden";
    qApp->removeEventFilter(&spy);
    const QImage expected = renderHeadless(settings, screenSize(), screenDpi(), random);

    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(forms::mdi().isVisible());
    EXPECT_TRUE(forms::mdi().isMaximized());
    EXPECT_EQ(waitShows, 1);
    EXPECT_EQ(waitTitle, QStringLiteral("Proszę czekać...."));
    EXPECT_TRUE(waitWindows().isEmpty()) << "the wait window is closed at the end";

    Rys& rys = forms::rys();
    const QImage picture = rys.resultPicture();
    ASSERT_FALSE(expected.isNull());
    int letterPixels = 0;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            letterPixels += expected.pixel(x, y) != c.background.toArgb();
    EXPECT_GT(letterPixels, 20) << "the text reaches the picture";
    EXPECT_EQ(picture.size(), expected.size());
    EXPECT_EQ(picture.convertToFormat(QImage::Format_RGB32), expected);
    EXPECT_EQ(rys.Picture1->pos(), QPoint(0, 0));
    EXPECT_EQ(rys.Picture1->size(), expected.size());
    EXPECT_EQ(rys.Picture1->pixmap().toImage().convertToFormat(QImage::Format_RGB32), expected);
    // The window shows the background all over and the text at the top left.
    const QImage surface = rys.surface();
    EXPECT_EQ(surface.copy(QRect(QPoint(0, 0), expected.size())), expected);
    EXPECT_EQ(surface.pixel(surface.width() - 1, surface.height() - 1), c.background.toArgb());
    EXPECT_EQ(rys.fill(), c.background.toArgb()) << "and beyond the surface";
    QTest::qWait(20);
    EXPECT_FALSE(rys.lettersCut());
    EXPECT_TRUE(messages.isEmpty()) << "no letter lost, nothing to say";
}

// Letters below and right of the screen: the picture is the renderer's, and
// the main window says that letters were cut and which size fits.
TEST_F(Fixture, CutLettersAreToldWithTheSizeThatFits) {
    const FontChoice big = sans(2048);
    setEditor(QStringLiteral("Text"), big, 0, ColourValue::rgb(0, 0, 128));
    const EffectSettings settings = editorSettings();
    StyleRandom random = styleRandom();
    pressOkAndWait();
    bool cut = false;
    const QImage expected = renderHeadless(settings, screenSize(), screenDpi(), random, {}, &cut);
    EXPECT_TRUE(cut);
    EXPECT_EQ(forms::rys().resultPicture().convertToFormat(QImage::Format_RGB32), expected);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !messages.isEmpty(); }, 5000));
    EXPECT_TRUE(forms::rys().lettersCut());
    const int fits = largestFittingSize(settings.text, settings.font, screenDpi(), screenSize());
    ASSERT_GT(fits, 0);
    EXPECT_EQ(forms::rys().fittingSize(), fits);
    EXPECT_EQ(messages, QStringList{output::lettersCutMessage(fits)});
    EXPECT_TRUE(messages[0].contains("ucięta")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QString::number(fits))) << messages[0].toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Settings, WholeWay,
    testing::Values(
        RenderCase{"PinkOnTitleTextColour", "Pismolot", sans(24), 0, syscolour::CaptionText},
        RenderCase{"BoldItalicUnderlineOnBlue", "Ząb gęśli", sans(30, true, true, true), 5,
                   ColourValue::rgb(10, 20, 200)},
        RenderCase{"RandomStripes", "Kreski", sans(40, true), 7, ColourValue::rgb(255, 255, 0)},
        RenderCase{"SmallLastStyle", "ab", sans(8), 12, ColourValue::rgb(0, 0, 0)}),
    [](const testing::TestParamInfo<RenderCase>& info) { return std::string(info.param.name); });

TEST_F(Fixture, EmptyTextGivesAnEmptyPictureAndStillClosesTheWaitWindow) {
    setEditor(QString(), sans(24), 0, ColourValue::rgb(1, 2, 3));
    pressOkAndWait();
    EXPECT_TRUE(forms::rys().resultPicture().isNull());
    EXPECT_TRUE(waitWindows().isEmpty());
    // Nothing to copy: the user hears why, and the clipboard keeps its text.
    QGuiApplication::clipboard()->setText("zostaje");
    pressShortcut(Qt::Key_C, Qt::ControlModifier);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("pusty")) << messages[0].toStdString();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "zostaje");
}

int letterPixels(ConstRasterView raster) {
    int count = 0;
    for (int y = 0; y < raster.height; ++y)
        for (int x = 0; x < raster.width; ++x)
            count += isLetterPixel(raster.row(y)[x]);
    return count;
}

// The wait window shows the job's scratch surface: white, at least as large
// as its client area, and the text comes out black on it.
TEST_F(Fixture, WaitWindowShowsTheWhiteScratchSurface) {
    Rys& rys = forms::rys();
    rys.Timer1->stop();
    WindowPlatform platform(rys, EffectSettings{});
    platform.showWaitWindow();
    Temp* temp = platform.waitWindow();
    ASSERT_NE(temp, nullptr);
    EXPECT_TRUE(temp->isVisible());
    EXPECT_TRUE(temp->isMaximized());
    EXPECT_EQ(temp->windowTitle(), QStringLiteral("Proszę czekać...."));

    const QImage blank = temp->shownSurface();
    EXPECT_EQ(blank.size(), screenSize().expandedTo(temp->surfaceSize()));
    EXPECT_EQ(blank.format(), QImage::Format_RGB32);
    EXPECT_EQ(blank, makeSurface(blank.size(), screenDpi()));

    platform.setScratchFont(sans(20, true));
    platform.drawScratchText("H");
    QImage expected = makeSurface(blank.size(), screenDpi());
    drawText(expected, "H", sans(20, true));
    EXPECT_EQ(temp->shownSurface(), expected);
    const int letters = letterPixels(rasterOf(std::as_const(expected)));
    ASSERT_GT(letters, 20);

    // Closing it with its close box leaves the job's surface as it was.
    temp->close();
    EXPECT_EQ(letterPixels(platform.scratch()), letters);
    platform.closeWaitWindow();
    EXPECT_EQ(platform.waitWindow(), nullptr);
    EXPECT_TRUE(waitWindows().isEmpty());
}

// The editor hands its settings over at "&OK": what happens to its controls
// afterwards does not reach the picture.
TEST_F(Fixture, RenderTakesTheSettingsOfTheMomentOfOk) {
    setEditor("Przed", sans(24), 2, ColourValue::rgb(5, 6, 7));
    const EffectSettings atOk = editorSettings();
    QTest::mouseClick(forms::redak().Command2, Qt::LeftButton);
    setEditor("Po", sans(30, true), 9, ColourValue::rgb(200, 0, 0));
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return forms::hasRys() && forms::rys().Picture1->isVisible(); }, 10000));
    EXPECT_EQ(forms::rys().resultPicture(), renderHeadless(atOk, screenSize(), screenDpi()));
}

// The job's yield lets the wait window paint before the scan: its surface
// with the text in black, and its menu line. As under a window manager, the
// window is exposed some time after it is shown: paints before then are held
// back here, and the window is repainted once that time is over.
TEST_F(Fixture, WaitWindowPaintsTheTextAndItsMenuBeforeTheScan) {
    constexpr int ExposeDelay = 120; // ms, well within the job's wait
    struct LateExpose : QObject {
        QElapsedTimer sinceShown;
        int surfacePaintsWithText = 0;
        int menuPaints = 0;
        bool eventFilter(QObject* o, QEvent* e) override {
            auto* w = qobject_cast<QWidget*>(o);
            auto* temp = w ? qobject_cast<Temp*>(w->window()) : nullptr;
            if (!temp)
                return false;
            if (e->type() == QEvent::Show && w == temp) {
                sinceShown.start();
                // Exposed: the whole window is painted.
                QTimer::singleShot(ExposeDelay, temp, [temp] {
                    temp->update();
                    for (QWidget* child : temp->findChildren<QWidget*>())
                        child->update();
                });
            }
            if (e->type() != QEvent::Paint)
                return false;
            if (!sinceShown.isValid() || sinceShown.elapsed() < ExposeDelay)
                return true; // not exposed yet: nothing reaches the screen
            if (w == temp->surfaceWidget() && letterPixels(rasterOf(temp->shownSurface())) > 0)
                ++surfacePaintsWithText;
            if (w == temp->menuBar())
                ++menuPaints;
            return false;
        }
    } late;
    qApp->installEventFilter(&late);
    setEditor("Czekaj", sans(36), 4, ColourValue::rgb(0, 0, 0));
    pressOkAndWait();
    qApp->removeEventFilter(&late);
    EXPECT_GE(late.surfacePaintsWithText, 1);
    EXPECT_GE(late.menuPaints, 1);
}

// Restored from maximised (its button in the menu bar), the render child
// takes its design rectangle and still shows the picture.
TEST_F(Fixture, RenderChildRestoresToItsDesignRectangle) {
    setEditor("Przywróć", sans(24), 1, ColourValue::rgb(250, 250, 250));
    pressOkAndWait();
    MDI& mdi = forms::mdi();
    ASSERT_EQ(mdi.mdiArea->subWindowList().size(), 1);
    QMdiSubWindow* sub = mdi.mdiArea->subWindowList()[0];
    ASSERT_TRUE(sub->isMaximized());
    sub->showNormal();
    QCoreApplication::processEvents();
    Rys& rys = forms::rys();
    EXPECT_EQ(rys.size(), Rys::designRect().size()) << "client area 7335 x 4290 twips";
    EXPECT_EQ(sub->pos(), Rys::designRect().topLeft());
    EXPECT_EQ(sub->windowTitle(), QStringLiteral("Efekt"));
    EXPECT_TRUE(rys.Picture1->isVisible());
    EXPECT_TRUE(rys.rect().contains(rys.Picture1->geometry())) << "the picture fits";
}

// Both timers fire once: the render child is shown once and the job's
// picture is never replaced.
TEST_F(Fixture, TimersRunOnce) {
    setEditor("Raz", sans(24), 1, ColourValue::rgb(200, 200, 200));
    pressOkAndWait();
    MDI& mdi = forms::mdi();
    Rys& rys = forms::rys();
    const qint64 key = rys.resultPicture().cacheKey();
    QTest::qWait(400);
    EXPECT_FALSE(mdi.Timer1->isActive());
    EXPECT_FALSE(rys.Timer1->isActive());
    EXPECT_EQ(rys.resultPicture().cacheKey(), key);
    ASSERT_EQ(mdi.mdiArea->subWindowList().size(), 1);
    QMdiSubWindow* sub = mdi.mdiArea->subWindowList()[0];
    EXPECT_EQ(sub->widget(), &rys);
    EXPECT_TRUE(sub->isMaximized());
    // The child cannot be closed: it holds the picture.
    sub->close();
    EXPECT_TRUE(forms::hasRys());
    EXPECT_EQ(mdi.mdiArea->subWindowList().size(), 1);
}

TEST_F(Fixture, CopyLeavesExactlyThePictureOnTheClipboard) {
    setEditor("Schowek", sans(28), 3, ColourValue::rgb(0, 128, 0));
    pressOkAndWait();
    const QImage picture = forms::rys().resultPicture();
    QGuiApplication::clipboard()->setText("stary tekst");
    for (int round = 0; round < 2; ++round) {
        pressShortcut(Qt::Key_C, Qt::ControlModifier);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        ASSERT_NE(data, nullptr);
        // The clear itself is seen in output_test.cpp; here the old text is
        // gone. Windows names the formats its own way (clipboard_win_test.cpp).
        EXPECT_FALSE(data->hasText());
#ifndef _WIN32
        // The bitmaps first, then the same picture as shapes.
        EXPECT_EQ(data->formats(), QStringList({"image/png", "image/bmp", "image/svg+xml"}));
        const QByteArray svg = data->data("image/svg+xml");
        EXPECT_TRUE(svg.contains("<title>Schowek</title>"));
        EXPECT_TRUE(svg.contains(QStringLiteral("width=\"%1\"").arg(picture.width()).toLatin1()));
#endif
        EXPECT_EQ(clipboardPng(), picture);
    }
    EXPECT_TRUE(messages.isEmpty());
}

struct SaveCall {
    QWidget* owner = nullptr;
    QString filter, title, initialDir;
};

QString expectedSaveFilter() {
    QString filter = "Pliki BMP (*.bmp)|*.bmp|Pliki PNG (*.png)|*.png|"
                     "Pliki JPEG (*.jpg *.jpeg)|*.jpg;*.jpeg";
    if (canWriteFormat(ImageFormat::Webp))
        filter += "|Pliki WebP (*.webp)|*.webp";
    return filter + "|Obraz wektorowy SVG (*.svg)|*.svg|Dokument PDF (*.pdf)|*.pdf";
}

TEST_F(Fixture, SaveWritesA24BitBmpUnderExactlyTheChosenName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    setEditor("Zapis", sans(26, false, true), 9, ColourValue::rgb(250, 240, 230));
    pressOkAndWait();
    MDI& mdi = forms::mdi();
    QList<SaveCall> calls;
    QString answer = dir.filePath("efekt"); // no extension: none is added
    QString selected = "Pliki BMP (*.bmp)";
    mdi.askFileName = [&](QWidget* owner, QString filter, const QString& title,
                          const QString& initialDir, QString* selectedFilter) {
        calls.append({owner, filter, title, initialDir});
        *selectedFilter = selected;
        return answer;
    };
    pressShortcut(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].owner, &mdi);
    EXPECT_EQ(calls[0].filter, expectedSaveFilter());
    EXPECT_EQ(calls[0].title, "Zapisz jako");
    EXPECT_EQ(calls[0].initialDir, "");
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"efekt"});

    QFile file(answer);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), "BM");
    EXPECT_EQ(quint8(bytes[28]), 24);
    EXPECT_EQ(QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB32),
              forms::rys().resultPicture());

    // Saving again to the same name replaces the file (closed here first:
    // Windows replaces no file that a program holds open).
    file.close();
    QFile::resize(answer, 10);
    mdi.zapisz->trigger();
    EXPECT_EQ(QFileInfo(answer).size(), bytes.size());

    // The filter left selected and the extension typed choose the format;
    // the name stays as typed.
    struct {
        const char* name;
        const char* filter;
        QByteArray magic;
    } const formats[] = {{"obraz", "Pliki PNG (*.png)", "\x89PNG"},
                         {"OBRAZ.JPG", "Pliki BMP (*.bmp)", "\xFF\xD8\xFF"}};
    for (const auto& f : formats) {
        answer = dir.filePath(f.name);
        selected = f.filter;
        mdi.zapisz->trigger();
        QFile written(answer);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << f.name;
        const QByteArray data = written.readAll();
        EXPECT_TRUE(data.startsWith(f.magic)) << f.name;
        EXPECT_EQ(QImage::fromData(data).size(), forms::rys().resultPicture().size()) << f.name;
    }
    // The vector formats: the picture's size, its text as the title.
    const QSize size = forms::rys().resultPicture().size();
    const struct {
        const char* name;
        const char* filter;
        QByteArray holds;
    } vectors[] = {{"plakat", "Obraz wektorowy SVG (*.svg)",
                    QStringLiteral("width=\"%1\" height=\"%2\"")
                        .arg(size.width())
                        .arg(size.height())
                        .toLatin1()},
                   {"plakat.PDF", "Pliki BMP (*.bmp)", "/Title"}};
    for (const auto& v : vectors) {
        answer = dir.filePath(v.name);
        selected = v.filter;
        mdi.zapisz->trigger();
        QFile written(answer);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << v.name;
        EXPECT_TRUE(written.readAll().contains(v.holds)) << v.name;
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(Fixture, CancelledSaveWritesAndShowsNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    setEditor("Nic", sans(24), 0, ColourValue::rgb(0, 0, 255));
    pressOkAndWait();
    int asked = 0;
    forms::mdi().askFileName = [&](QWidget*, QString, const QString&, const QString&, QString*) {
        ++asked;
        return QString();
    };
    forms::mdi().zapisz->trigger();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
}

// A save that fails is reported with the file's name and the reason, and an
// existing file keeps every byte.
TEST_F(Fixture, FailedSaveIsReportedAndKeepsTheExistingFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray old = "stara zawartość pliku";
    const QString existing = dir.filePath("stary.bmp");
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    auto contents = [&] {
        QFile f(existing);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };

    // Before the job Picture1 has no columns or rows: nothing may be written.
    openMainWindow();
    MDI& mdi = forms::mdi();
    QString answer = existing;
    mdi.askFileName = [&](QWidget*, QString, const QString&, const QString&, QString*) {
        return answer;
    };
    mdi.zapisz_Click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(existing)) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains("pusty")) << messages[0].toStdString();
    EXPECT_EQ(contents(), old);

    // A folder that does not exist.
    forms::rys().Timer1_Timer();
    ASSERT_FALSE(forms::rys().resultPicture().isNull());
    answer = dir.filePath("brak/efekt.bmp");
    mdi.zapisz_Click();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains(answer)) << messages[1].toStdString();
    EXPECT_FALSE(QFile::exists(answer));

    // A folder without write permission (not enforceable for root).
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(dir.filePath("probe"));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.remove();
    } else {
        answer = existing;
        mdi.zapisz_Click();
        ASSERT_EQ(messages.size(), 3);
        EXPECT_TRUE(messages[2].contains(existing));
        EXPECT_EQ(contents(), old);
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(Fixture, CtrlAShowsTheAboutBox) {
    openMainWindow();
    pressShortcut(Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(forms::hasAutorX());
    EXPECT_TRUE(forms::autorX().isVisible());
}

// F12, "&Koniec" and the close box all end the program at once, and the
// editor does not come back.
TEST_F(Fixture, F12MenuAndCloseBoxEndTheProgram) {
    setEditor("Koniec", sans(24), 0, ColourValue::rgb(9, 9, 9));
    const QPointer<Redak> editor = &forms::redak();
    pressOkAndWait();
    MDI& mdi = forms::mdi();
    pressShortcut(Qt::Key_F12);
    EXPECT_EQ(endCalls, 1);
    mdi.koniec->trigger();
    EXPECT_EQ(endCalls, 2);
    mdi.close();
    EXPECT_EQ(endCalls, 3);
    // The editor that "&OK" hid does not come back.
    ASSERT_TRUE(editor);
    EXPECT_FALSE(editor->isVisible());
}

} // namespace
