#include "mainwin/rys.h"

#include "app/twips.h"
#include "mainwin/windowplatform.h"
#include "render/job.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTimer>

Rys::Rys(QWidget* parent) : SurfaceWidget(twips::screenDpi(), 0xFFFFFFFF, parent) {
    setWindowTitle(QStringLiteral("Efekt"));
    resize(twips::size(7335, 4290));
    coverArea();

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
    refill(colour.toArgb());
}

void Rys::setResultPicture(const QImage& picture) {
    result_ = picture;
    Picture1->setPixmap(QPixmap::fromImage(picture));
}

// The picture belongs to this window until the program ends: closing the
// child would lose it, so the close is refused.
void Rys::closeEvent(QCloseEvent* event) {
    event->ignore();
}
