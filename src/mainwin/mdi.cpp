#include "mainwin/mdi.h"

#include "mainwin/clipboard.h"
#include "mainwin/opensave.h"
#include "mainwin/output.h"
#include "mainwin/rys.h"
#include "resources/icons.h"
#include "resources/palette.h"
#include "resources/twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <QVBoxLayout>

#include <optional>

#include <algorithm>

MDI::MDI(RenderWindowSource renderWindow, QWidget* parent)
    : QMainWindow(parent), renderWindow_(std::move(renderWindow)) {
    setWindowTitle(QStringLiteral("Pismolot"));
    setWindowIcon(icons::common());
    askFileName = AskSaveFileName;
    showMessage = [this](const QString& message) {
        QMessageBox::warning(this, QStringLiteral("Pismolot"), message);
    };
    createWorkspace();
    createMenus();
    createHintStrip();
    createTimer();
    MDIForm_Load();
}

void MDI::createWorkspace() {
    auto* client = new QWidget(this);
    client->setAccessibleName(QStringLiteral("Obszar okna"));
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    mdiArea = new QMdiArea(client);
    mdiArea->setAccessibleName(QStringLiteral("Obszar efektu"));
    mdiArea->viewport()->setAccessibleName(QStringLiteral("Widok efektu"));
    mdiArea->setBackground(toQColor(pismolot::syscolour::AppWorkspace));
    column->addWidget(mdiArea, 1);
    setCentralWidget(client);
    resize(twips::size(6765, 4755) + QSize(0, menuBar()->sizeHint().height()));
}

void MDI::createMenus() {
    menuBar()->setAccessibleName(QStringLiteral("Menu"));
    plik = menuBar()->addMenu(QStringLiteral("&Plik"));
    zapisz = plik->addAction(QStringLiteral("&Zapisz jako..."));
    zapisz->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    p1 = plik->addSeparator();
    koniec = plik->addAction(QStringLiteral("&Koniec"));
    koniec->setShortcut(QKeySequence(Qt::Key_F12));

    edycja = menuBar()->addMenu(QStringLiteral("&Edycja"));
    kopiuj = edycja->addAction(QStringLiteral("&Kopiuj do schowka"));
    kopiuj->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));

    pomoc = menuBar()->addMenu(QStringLiteral("&Pomoc"));
    autor = pomoc->addAction(QStringLiteral("&Autor"));
    autor->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));

    // The shortcuts act anywhere in the window, also while the render
    // child has the focus.
    for (QAction* action : {zapisz, koniec, kopiuj, autor})
        action->setShortcutContext(Qt::WindowShortcut);

    connect(zapisz, &QAction::triggered, this, &MDI::zapisz_Click);
    connect(koniec, &QAction::triggered, this, &MDI::koniec_Click);
    connect(kopiuj, &QAction::triggered, this, &MDI::kopiuj_Click);
    connect(autor, &QAction::triggered, this, &MDI::autor_Click);
}

void MDI::createHintStrip() {
    Picture1 = new QWidget(centralWidget());
    Picture1->setAccessibleName(QStringLiteral("Pasek podpowiedzi"));
    Picture1->setAutoFillBackground(true);
    QPalette stripPalette = Picture1->palette();
    stripPalette.setColor(QPalette::Window, toQColor(pismolot::syscolour::ButtonFace));
    Picture1->setPalette(stripPalette);

    Label1 = new QLabel(QStringLiteral("Skopiuj efekt do schowka lub go zapisz na dysk"), Picture1);
    placeHintStrip();
    Label1->setAutoFillBackground(true);
    QPalette labelPalette = Label1->palette();
    labelPalette.setColor(QPalette::Window, toQColor(pismolot::syscolour::ActiveBorder));
    Label1->setPalette(labelPalette);

    centralWidget()->layout()->addWidget(Picture1);
}

// At the twips per pixel of the window's screen, again whenever it moves to
// another.
void MDI::placeHintStrip() {
    const QScreen* screen = twips::screenOf(*this);
    Picture1->setFixedHeight(twips::toPixels(315, screen));
    // Wider than stored where the desktop's font needs it, so the hint is
    // never cut off.
    QRect hint = twips::rect(120, 60, 3735, 255, screen);
    hint.setWidth(std::max(hint.width(), Label1->sizeHint().width()));
    Label1->setGeometry(hint);
}

bool MDI::event(QEvent* event) {
    // The strip's fonts follow the screen after this event; it is placed
    // once they have.
    if (event->type() == QEvent::ScreenChangeInternal)
        QMetaObject::invokeMethod(this, &MDI::placeHintStrip, Qt::QueuedConnection);
    return QMainWindow::event(event);
}

void MDI::createTimer() {
    Timer1 = new QTimer(this);
    Timer1->setInterval(2);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &MDI::Timer1_Timer);
    Timer1->start();
}

void MDI::MDIForm_Load() {
    setWindowState(windowState() | Qt::WindowMaximized);
    QCoreApplication::processEvents();
}

void MDI::Timer1_Timer() {
    if (renderWindow_)
        showRenderWindow(renderWindow_());
    Timer1->stop();
}

void MDI::setRenderWindow(Rys& rys) {
    if (rys_ == &rys)
        return;
    if (rys_)
        disconnect(rys_, &Rys::lettersCutOff, this, nullptr);
    rys_ = &rys;
    // Queued: the message comes once the job has ended and the picture shows.
    connect(
        &rys, &Rys::lettersCutOff, this,
        [this] {
            if (rys_)
                showMessage(output::lettersCutMessage(rys_->fittingSize()));
        },
        Qt::QueuedConnection);
}

QImage MDI::resultPicture() const {
    return rys_ ? rys_->resultPicture() : QImage();
}

void MDI::showRenderWindow(Rys& rys) {
    setRenderWindow(rys);
    auto* sub = qobject_cast<QMdiSubWindow*>(rys.parentWidget());
    if (!sub || sub->mdiArea() != mdiArea) {
        // The render child has no close box: closing it would lose the picture.
        sub = mdiArea->addSubWindow(&rys, Qt::SubWindow | Qt::CustomizeWindowHint |
                                              Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint);
        sub->setWindowIcon(icons::common());
        // What restoring from maximised returns to: the design rectangle,
        // the frame (title bar, borders) around the design client area.
        const QRect client = Rys::designRect();
        const QMargins frame = sub->contentsMargins();
        sub->setGeometry(QRect(client.topLeft(), client.size().grownBy(frame)));
    }
    sub->showMaximized();
}

void MDI::zapisz_Click() {
    QString selectedFilter;
    const QString path = askFileName(this, output::saveFilter(), QStringLiteral("Zapisz jako"),
                                     QString(), &selectedFilter);
    if (path.isEmpty())
        return;
    const pismolot::ImageFormat format = output::saveFormatFor(path, selectedFilter);
    // The shapes are made only when asked for.
    std::optional<pismolot::VectorPicture> vector;
    if (pismolot::isVectorFormat(format) && rys_)
        vector = rys_->vectorPicture();
    const QString failure =
        output::savePicture(path, resultPicture(), format, vector ? &*vector : nullptr);
    if (!failure.isEmpty())
        showMessage(failure);
}

void MDI::kopiuj_Click() {
    std::optional<pismolot::VectorPicture> vector;
    if (rys_ && clipboardTakesSvg())
        vector = rys_->vectorPicture();
    const QString failure = output::copyPicture(*QGuiApplication::clipboard(), resultPicture(),
                                                vector ? &*vector : nullptr);
    if (!failure.isEmpty())
        showMessage(failure);
}

void MDI::autor_Click() {
    emit aboutBoxWanted();
}

void MDI::koniec_Click() {
    emit quitRequested();
}

void MDI::MDIForm_Unload() {
    koniec_Click();
}

void MDI::closeEvent(QCloseEvent* event) {
    MDIForm_Unload();
    event->accept();
}
