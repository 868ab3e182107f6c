#include "mainwin/windowplatform.h"

#include "mainwin/rys.h"
#include "mainwin/temp.h"
#include "render/headless.h"
#include "render/surfaces.h"
#include "render/textline.h"
#include "render/textmeasure.h"
#include "resources/twips.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>

using namespace pismolot;

WindowPlatform::WindowPlatform(Rys& rys, EffectSettings settings)
    : rys_(&rys), settings_(std::move(settings)), onScreen_(twips::screenOf(rys)),
      dpi_(twips::renderDpi(onScreen_)), screen_(twips::screenDeviceSize(onScreen_)) {}

WindowPlatform::~WindowPlatform() {
    delete temp_.data();
}

void WindowPlatform::disableTimer() {
    if (rys_)
        rys_->stopTimer();
}

// Both surfaces are at least as large as the screen: Temp covers the screen
// and Rys is maximised, and so a text up to the screen's size keeps all its
// letters, as in the headless renderer.
void WindowPlatform::showWaitWindow() {
    delete temp_.data();
    temp_ = new Temp;
    // On the screen whose dpi the job draws at.
    if (onScreen_)
        temp_->setScreen(onScreen_);
    temp_->showWaiting();
    scratch_ = makeSurface(screen_.expandedTo(temp_->surfaceSize()), dpi_);
    temp_->showSurface(scratch_);
}

void WindowPlatform::fillOutput(ColourValue colour) {
    filled_ = colour;
    const QSize area = rys_ ? screen_.expandedTo(rys_->deviceSize()) : screen_;
    output_ = makeSurface(area, dpi_, colour.toArgb());
    // Rys shows the colour all over now and is given the surface once the
    // letters are on it, so the scan writes to a surface nobody shares.
    if (rys_)
        rys_->setSurface(QImage(), colour.toArgb());
}

void WindowPlatform::setMeasureText(const QString& text) {
    measureText_ = text;
    if (rys_)
        rys_->setMeasureCaption(text);
}

void WindowPlatform::setMeasureFont(const FontChoice& font) {
    measureFont_ = font;
    if (rys_)
        rys_->setMeasureFont(font);
}

void WindowPlatform::setScratchFont(const FontChoice& font) {
    scratchFont_ = font;
}

void WindowPlatform::drawScratchText(const QString& text) {
    drawText(scratch_, text, scratchFont_);
    if (temp_) {
        paintsBeforeText_ = temp_->surfaceWidget()->paintCount();
        temp_->showSurface(scratch_);
    }
}

// The pending events once, and then, for a bounded time, whatever it takes
// until the wait window has painted: under a window manager the window is
// exposed some moments after it is shown, and the user is to see its white
// surface, the text and the menu line while the scan runs. Last, the window
// system is made to take the painted pixels before the scan holds the thread.
void WindowPlatform::yield() {
    QCoreApplication::processEvents();
    if (!temp_)
        return;
    if (temp_->surfaceWidget()->paintCount() == paintsBeforeText_) {
        QEventLoop loop;
        QObject::connect(temp_->surfaceWidget(), &SurfaceWidget::painted, &loop, &QEventLoop::quit);
        QObject::connect(temp_, &QObject::destroyed, &loop, &QEventLoop::quit);
        QTimer::singleShot(MaxPaintWait, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    QGuiApplication::sync();
}

ScreenMetrics WindowPlatform::screenMetrics() {
    return screenAt(dpi_, screen_.width());
}

TextExtent WindowPlatform::measuredExtent() {
    const MeasuredText m = measureDrawnText(measureText_, measureFont_, dpi_, screen_, false);
    TextExtent extent = pixelsToTwips(screenMetrics(), m.extent);
    extent.inkCut = m.inkBeyondScreen;
    return extent;
}

ConstRasterView WindowPlatform::scratch() {
    return rasterOf(std::as_const(scratch_));
}

RasterView WindowPlatform::output() {
    return rasterOf(output_);
}

void WindowPlatform::setResultSize(float widthTwips, float heightTwips) {
    resultSize_ = twipsToPixels(screenMetrics(), widthTwips, heightTwips);
}

void WindowPlatform::snapshotResult() {
    if (!rys_)
        return;
    rys_->setSurface(output_, filled_.toArgb());
    rys_->setResultPicture(cutResult(output_, resultSize_, filled_));
}

void WindowPlatform::clearBackgroundPicture() {
    // Rys carries no background picture; what remains is its surface.
}

void WindowPlatform::showResult() {
    if (rys_)
        rys_->showResultPicture();
}

void WindowPlatform::closeWaitWindow() {
    delete temp_.data();
    temp_.clear();
    scratch_ = QImage();
}
