#include "mainwin/rys.h"

#include "mainwin/windowplatform.h"
#include "render/textraster.h"
#include "resources/twips.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTimer>

Rys::Rys(pismolot::EffectSettings settings, QWidget* parent)
    : SurfaceWidget(0xFFFFFFFF, parent), settings_(std::move(settings)) {
    setWindowTitle(QStringLiteral("Efekt"));
    setAccessibleName(QStringLiteral("Efekt"));
    resize(designRect().size());

    Picture1 = new QLabel(this);
    Picture1->setAccessibleName(QStringLiteral("Obraz efektu"));
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

QRect Rys::designRect() {
    return twips::rect(60, 60, 7335, 4290);
}

void Rys::Timer1_Timer() {
    WindowPlatform platform(*this, settings_);
    pismolot::runRenderJob(platform);
}

void Rys::stopTimer() {
    Timer1->stop();
}

void Rys::setMeasureCaption(const QString& text) {
    XSize->setText(text);
}

void Rys::setMeasureFont(const pismolot::FontChoice& font) {
    XSize->setFont(pismolot::makeFont(font));
}

void Rys::setResultPicture(const QImage& picture) {
    result_ = picture;
    QPixmap shown = QPixmap::fromImage(picture);
    // One pixel of the picture on one device pixel.
    shown.setDevicePixelRatio(devicePixelRatioF());
    Picture1->setPixmap(shown);
    Picture1->resize(shown.deviceIndependentSize().toSize());
}

void Rys::showResultPicture() {
    Picture1->show();
}

// The picture belongs to this window until the program ends: closing the
// child would lose it, so the close is refused.
void Rys::closeEvent(QCloseEvent* event) {
    event->ignore();
}
