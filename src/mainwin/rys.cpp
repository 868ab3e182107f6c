#include "mainwin/rys.h"

#include "mainwin/output.h"
#include "mainwin/windowplatform.h"
#include "render/fonts.h"
#include "render/styles.h"
#include "render/textfit.h"
#include "resources/captions.h"
#include "resources/spoken.h"
#include "resources/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
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
    Picture1->installEventFilter(this);
    ui::keepOwnGeometry(*Picture1); // sized to the picture
    startDrag = [this](std::unique_ptr<QMimeData> data) {
        auto* drag = new QDrag(Picture1);
        // A small picture of the picture under the pointer.
        const QPixmap shown = Picture1->pixmap();
        const QSize thumb = shown.deviceIndependentSize().toSize().boundedTo(QSize(256, 256));
        QPixmap small = shown.scaled(thumb * shown.devicePixelRatio(), Qt::KeepAspectRatio,
                                     Qt::SmoothTransformation);
        small.setDevicePixelRatio(shown.devicePixelRatio());
        drag->setPixmap(small);
        // Held where it was grabbed, scaled as the small picture is.
        const QSizeF full = shown.deviceIndependentSize();
        const QSizeF part = small.deviceIndependentSize();
        drag->setHotSpot(QPoint(int(grabbedAt_.x() * part.width() / full.width()),
                                int(grabbedAt_.y() * part.height() / full.height())));
        drag->setMimeData(data.release());
        drag->exec(Qt::CopyAction);
    };

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
    jobOutcome_ = pismolot::runRenderJob(platform);
    lettersCut_ = jobOutcome_.lettersCut;
    jobSettings_ = settings_;
    jobDpi_ = platform.dpi();
    jobScreen_ = platform.screenSize();
    fittingSize_.reset();
    if (lettersCut_)
        emit lettersCutOff();
}

int Rys::fittingSize() const {
    if (!lettersCut_)
        return 0;
    if (!fittingSize_)
        fittingSize_ =
            pismolot::largestFittingSize(jobSettings_.text, jobSettings_.font, jobDpi_, jobScreen_);
    return *fittingSize_;
}

pismolot::VectorPicture Rys::vectorPicture() const {
    return pismolot::makeVectorPicture(jobSettings_, jobDpi_, result_.size(), jobOutcome_, false);
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
    showPicture();
    Picture1->setAccessibleDescription(spoken::pictureDescription(
        settings_.text, pismolot::styleName(settings_.styleIndex), picture.size()));
}

void Rys::showPicture() {
    const QImage& picture = result_;
    QPixmap shown = QPixmap::fromImage(picture);
    // One pixel of the picture on one device pixel.
    shown.setDevicePixelRatio(devicePixelRatioF());
    Picture1->setPixmap(shown);
    Picture1->resize(shown.deviceIndependentSize().toSize());
}

bool Rys::event(QEvent* event) {
    // On a screen of another device pixel ratio the picture keeps one of its
    // pixels on one device pixel.
    if (event->type() == QEvent::ScreenChangeInternal && !result_.isNull())
        showPicture();
    return SurfaceWidget::event(event);
}

void Rys::showResultPicture() {
    Picture1->show();
}

// The picture belongs to this window until the program ends: closing the
// child would lose it, so the close is refused.
void Rys::closeEvent(QCloseEvent* event) {
    event->ignore();
}

bool Rys::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Picture1)
        return SurfaceWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton)
            pressedAt_ = mouse->position().toPoint();
        break;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (pressedAt_ && mouse->buttons().testFlag(Qt::LeftButton) &&
            (mouse->position().toPoint() - *pressedAt_).manhattanLength() >=
                QApplication::startDragDistance()) {
            grabbedAt_ = *pressedAt_;
            pressedAt_.reset();
            dragPicture();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        pressedAt_.reset();
        break;
    default:
        break;
    }
    return SurfaceWidget::eventFilter(watched, event);
}

void Rys::dragPicture() {
    std::unique_ptr<QMimeData> data(
        output::dragData(result_, settings_.text, output::newDragFolder()));
    if (data && startDrag)
        startDrag(std::move(data));
}
