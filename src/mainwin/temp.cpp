#include "mainwin/temp.h"

#include "mainwin/surface.h"
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
    // Fixed single border: a close box, no minimise or maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    mnuczekaj = menuBar()->addAction(QStringLiteral("Proszę czekać, trwa przetwarzanie danych..."));
    surface_ = new SurfaceWidget(White, this);
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
