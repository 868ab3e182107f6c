#include "mainwin/temp.h"

#include "mainwin/surface.h"
#include "resources/frames.h"
#include "resources/icons.h"

#include <QAction>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>

namespace {
constexpr QRgb White = 0xFFFFFFFF;
}

Temp::Temp(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Proszę czekać...."));
    setWindowIcon(icons::common());
    // Fixed single border: a close box, no minimise or maximise button; not
    // of a fixed size, so that the window manager maximises it.
    setWindowFlags(Qt::Dialog | ui::FixedFrame);
    mnuczekaj = menuBar()->addAction(QStringLiteral("Proszę czekać, trwa przetwarzanie danych..."));
    surface_ = new SurfaceWidget(White, this);
    surface_->setAccessibleName(QStringLiteral("Proszę czekać"));
    menuBar()->setAccessibleName(QStringLiteral("Menu"));
    setCentralWidget(surface_);
}

void Temp::showWaiting() {
    // Without a window manager nothing would maximise the window, so it is
    // given the screen's working area first.
    if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
        setGeometry(s->availableGeometry());
    showMaximized();
    if (layout())
        layout()->activate();
}

QSize Temp::surfaceSize() const {
    return surface_->deviceSize();
}

void Temp::showSurface(const QImage& surface) {
    surface_->setSurface(surface, White);
}

const QImage& Temp::shownSurface() const {
    return surface_->surface();
}
