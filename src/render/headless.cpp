#include "headless.h"

#include "surfaces.h"
#include "textmeasure.h"

#include <QPainter>

namespace pismolot {

ScreenMetrics screenAt(int dpi, int widthPixels) {
    const float tpp = 1440.0f / float(dpi);
    return {tpp, tpp, float(widthPixels) * tpp};
}

QSize twipsToPixels(const ScreenMetrics& screen, float widthTwips, float heightTwips) {
    return QSize(twipsToPixelCount(widthTwips, screen.tppx), rowsOf(heightTwips, screen.tppy));
}

TextExtent pixelsToTwips(const ScreenMetrics& screen, QSize pixels) {
    return {float(pixels.width()) * screen.tppx, float(pixels.height()) * screen.tppy};
}

QImage cutResult(const QImage& output, QSize size, ColourValue background) {
    if (size.isEmpty())
        return QImage();
    if (output.size() == size)
        return output;
    QImage result(size, QImage::Format_RGB32);
    // The picture keeps the resolution it was drawn at, which a BMP records.
    result.setDotsPerMeterX(output.dotsPerMeterX());
    result.setDotsPerMeterY(output.dotsPerMeterY());
    result.fill(background.toArgb());
    QPainter painter(&result);
    painter.drawImage(QPoint(0, 0), output, QRect(QPoint(0, 0), size).intersected(output.rect()));
    return result;
}

HeadlessPlatform::HeadlessPlatform(EffectSettings settings, QSize screen, int dpi,
                                   RenderOptions options)
    : settings_(std::move(settings)), screen_(screen), dpi_(dpi), options_(options) {}

// The drawing that measures the text is the scratch surface itself: the job
// measures the same text in the same font that it draws, so it is drawn once.
// Both surfaces cover only the text's rectangle within the screen, which is
// all the scan reads and all the result picture shows; the screen-sized
// surfaces of the windows give the same picture.
void HeadlessPlatform::drawScratchText(const QString& text) {
    MeasuredText drawn = measureDrawnText(text, scratchFont_, dpi_, screen_, true);
    scratch_ = std::move(drawn.surface);
    drawn_ = Measure{text, scratchFont_, drawn.extent, drawn.inkBeyondScreen};
    const QSize reach = drawn.extent.boundedTo(screen_).expandedTo(QSize(1, 1));
    output_ = makeRendererSurface(reach, dpi_, filled_.toArgb());
}

ScreenMetrics HeadlessPlatform::screenMetrics() {
    return screenAt(dpi_, screen_.width());
}

TextExtent HeadlessPlatform::measuredExtent() {
    Measure measured;
    if (drawn_ && drawn_->text == measureText_ && drawn_->font == measureFont_) {
        measured = *drawn_;
    } else {
        const MeasuredText m = measureDrawnText(measureText_, measureFont_, dpi_, screen_, false);
        measured.size = m.extent;
        measured.inkCut = m.inkBeyondScreen;
    }
    TextExtent extent = pixelsToTwips(screenMetrics(), measured.size);
    extent.inkCut = measured.inkCut;
    return extent;
}

ConstRasterView HeadlessPlatform::scratch() {
    return rasterOf(std::as_const(scratch_));
}

RasterView HeadlessPlatform::output() {
    return rasterOf(output_);
}

void HeadlessPlatform::setResultSize(float widthTwips, float heightTwips) {
    resultSize_ = twipsToPixels(screenMetrics(), widthTwips, heightTwips);
}

void HeadlessPlatform::snapshotResult() {
    result_ = cutResult(output_, resultSize_, filled_);
    if (options_.transparent && !result_.isNull()) {
        // Same pixel layout: only the alpha bytes change, in place once the
        // output surface no longer shares the pixels.
        const ConstRasterView reach{nullptr, 0, output_.width(), output_.height()};
        output_ = QImage();
        result_.reinterpretAsFormat(QImage::Format_ARGB32);
        RasterView picture{reinterpret_cast<std::uint32_t*>(result_.bits()),
                           std::ptrdiff_t(result_.bytesPerLine() / 4), result_.width(),
                           result_.height()};
        clearUnwrittenAlpha(rasterOf(std::as_const(scratch_)), reach, resultSize_.width(),
                            resultSize_.height(), picture);
    }
}

QImage renderHeadless(const EffectSettings& settings, QSize screen, int dpi, StyleRandom& random,
                      RenderOptions options, bool* lettersCut, RenderOutcome* outcome) {
    HeadlessPlatform platform(settings, screen, dpi, options);
    RenderOutcome done = runRenderJob(platform, random);
    if (lettersCut)
        *lettersCut = done.lettersCut;
    if (outcome)
        *outcome = std::move(done);
    return platform.result();
}

} // namespace pismolot
