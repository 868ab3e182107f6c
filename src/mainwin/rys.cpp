#include "mainwin/rys.h"

#include "app/twips.h"
#include "mainwin/surface.h"
#include "mainwin/windowplatform.h"
#include "render/job.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

Rys::Rys(QWidget* parent) : QWidget(parent), dpi_(twips::screenDpi()) {
    setWindowTitle(QStringLiteral("Efekt"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(twips::size(7335, 4290));
    output_ = grownSurface(QImage(), size(), dpi_, backColour_);

    Picture1 = new QLabel(this);
    Picture1->setGeometry(twips::rect(0, 0, 735, 615));
    Picture1->setFrameShape(QFrame::NoFrame);
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1->hide();

    XSize = new QLabel(QStringLiteral("Label1"), this);
    XSize->setGeometry(twips::rect(3480, 3000, 480, 195));
    XSize->hide();

    Timer1 = new QTimer(this);
    Timer1->setInterval(109);
    connect(Timer1, &QTimer::timeout, this, &Rys::Timer1_Timer);
    Timer1->start();
}

QImage Rys::resultPicture() const {
    return result_;
}

void Rys::Timer1_Timer() {
    WindowPlatform platform(*this);
    pismolot::runRenderJob(platform);
}

void Rys::fillOutput(pismolot::ColourValue colour) {
    backColour_ = colour.toArgb();
    output_ = grownSurface(QImage(), size(), dpi_, backColour_);
    update();
}

void Rys::setResultPicture(const QImage& picture) {
    result_ = picture;
    Picture1->setPixmap(QPixmap::fromImage(picture));
}

void Rys::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), output_, event->rect());
}

void Rys::resizeEvent(QResizeEvent*) {
    output_ = grownSurface(output_, size(), dpi_, backColour_);
}

// The picture belongs to this window until the program ends: closing the
// child would lose it, so the close is refused.
void Rys::closeEvent(QCloseEvent* event) {
    event->ignore();
}
