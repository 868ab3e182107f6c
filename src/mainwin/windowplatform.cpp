#include "mainwin/windowplatform.h"

#include "app/forms.h"
#include "editor/redak.h"
#include "mainwin/rys.h"
#include "mainwin/temp.h"
#include "render/headless.h"
#include "render/textraster.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

using namespace pismolot;

WindowPlatform::WindowPlatform(Rys& rys) : rys_(&rys), dpi_(rys.dpi()) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    screenSize_ = screen ? screen->geometry().size() : QSize();
}

WindowPlatform::~WindowPlatform() {
    delete temp_.data();
}

ColourValue WindowPlatform::backgroundColour() {
    return forms::redak().backgroundColour();
}
QString WindowPlatform::text() {
    return forms::redak().effectText();
}
FontChoice WindowPlatform::font() {
    return forms::redak().previewFont();
}
int WindowPlatform::styleIndex() {
    return forms::redak().styleIndex();
}

void WindowPlatform::disableTimer() {
    if (rys_)
        rys_->Timer1->stop();
}

void WindowPlatform::showWaitWindow() {
    delete temp_.data();
    temp_ = new Temp(dpi_);
    temp_->showWaiting();
}

void WindowPlatform::fillOutput(ColourValue colour) {
    filled_ = colour;
    if (rys_)
        rys_->fillOutput(colour);
}

void WindowPlatform::setMeasureText(const QString& text) {
    if (rys_)
        rys_->XSize->setText(text);
}

void WindowPlatform::setMeasureFont(const FontChoice& font) {
    measureFont_ = font;
    if (rys_)
        rys_->XSize->setFont(makeFont(font));
}

void WindowPlatform::setScratchFont(const FontChoice& font) {
    if (temp_)
        temp_->setPrintFont(font);
}

void WindowPlatform::drawScratchText(const QString& text) {
    if (temp_)
        temp_->print(text);
}

void WindowPlatform::yield() {
    QCoreApplication::processEvents();
}

ScreenMetrics WindowPlatform::screenMetrics() {
    return screenAt(dpi_, screenSize_.width());
}

TextExtent WindowPlatform::measuredExtent() {
    if (!rys_)
        return {};
    // The label sizes itself to its caption, as the measure says; the same
    // measurement as the headless renderer's, so both give the same picture.
    const QSize px = measureText(rys_->XSize->text(), measureFont_, dpi_, screenSize_);
    rys_->XSize->resize(px);
    return pixelsToTwips(screenMetrics(), px);
}

ConstRasterView WindowPlatform::scratch() {
    return temp_ ? rasterOf(temp_->surface()) : ConstRasterView{};
}

RasterView WindowPlatform::output() {
    return rys_ ? rasterOf(rys_->outputSurface()) : RasterView{};
}

void WindowPlatform::setResultSize(float widthTwips, float heightTwips) {
    resultSize_ = twipsToPixels(screenMetrics(), widthTwips, heightTwips);
    if (rys_)
        rys_->Picture1->resize(resultSize_);
}

void WindowPlatform::snapshotResult() {
    if (rys_)
        rys_->setResultPicture(cutResult(rys_->outputSurface(), resultSize_, filled_));
}

void WindowPlatform::clearBackgroundPicture() {
    // Rys carries no background picture; what remains is its surface.
    if (rys_)
        rys_->update();
}

void WindowPlatform::showResult() {
    if (rys_)
        rys_->Picture1->show();
}

void WindowPlatform::closeWaitWindow() {
    delete temp_.data();
    temp_.clear();
}
