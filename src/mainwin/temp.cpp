#include "mainwin/temp.h"

#include "mainwin/surface.h"
#include "render/textraster.h"
#include "resources/icons.h"

#include <QAction>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>

Temp::Temp(int dpi, QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Proszę czekać...."));
    setWindowIcon(icons::common());
    // Fixed single border: a close box, no minimise or maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    mnuczekaj = menuBar()->addAction(QStringLiteral("Proszę czekać, trwa przetwarzanie danych..."));
    surface_ = new SurfaceWidget(dpi, 0xFFFFFFFF, this);
    setCentralWidget(surface_);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    surface_->setPalette(pal);
}

void Temp::showWaiting() {
    // Without a window manager nothing would maximise the window, so it is
    // given the screen's working area first.
    if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
        setGeometry(s->availableGeometry());
    showMaximized();
    if (layout())
        layout()->activate();
    surface_->coverArea();
}

void Temp::print(const QString& text) {
    pismolot::drawText(surface_->image(), text, font_);
    surface_->update();
}

const QImage& Temp::surface() const {
    return surface_->image();
}
