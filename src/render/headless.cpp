#include "headless.h"

#include "numbers.h"
#include "textraster.h"

#include <QPainter>

namespace pismolot {

ScreenMetrics screenAt(int dpi, int widthPixels) {
    const float tpp = 1440.0f / float(dpi);
    return {tpp, tpp, float(widthPixels) * tpp};
}

QSize twipsToPixels(const ScreenMetrics& screen, float widthTwips, float heightTwips) {
    return QSize(roundHalfEven<int>(widthTwips / screen.tppx),
                 roundHalfEven<int>(heightTwips / screen.tppy));
}

TextExtent pixelsToTwips(const ScreenMetrics& screen, QSize pixels) {
    return {float(pixels.width()) * screen.tppx, float(pixels.height()) * screen.tppy};
}

QSize resultPixelSize(const ScanPlan& plan) {
    return QSize(plan.cols, plan.rows);
}

QImage cutResult(const QImage& output, QSize size, ColourValue background) {
    if (size.isEmpty())
        return QImage();
    if (output.size() == size)
        return output;
    QImage result(size, QImage::Format_RGB32);
    result.fill(background.toArgb());
    QPainter painter(&result);
    painter.drawImage(QPoint(0, 0), output, QRect(QPoint(0, 0), size).intersected(output.rect()));
    return result;
}

HeadlessPlatform::HeadlessPlatform(EffectSettings settings, QSize screen, int dpi)
    : settings_(std::move(settings)), screen_(screen), dpi_(dpi) {}

void HeadlessPlatform::showWaitWindow() {}

void HeadlessPlatform::fillOutput(ColourValue colour) {
    filled_ = colour;
}

// Only the top-left cols x rows corner of the surfaces reaches the result
// picture (the scan's writes in column cols and row rows fall just outside
// it), so the screen-sized surfaces are made just that large: the result's
// pixels are the same, the time and memory much smaller.
void HeadlessPlatform::drawScratchText(const QString& text) {
    const ScreenMetrics m = screenMetrics();
    const TextExtent extent = pixelsToTwips(m, measured(text, scratchFont_));
    const ScanPlan plan = planScan(extent.width, extent.height, m.tppx, m.tppy, m.widthTwips);
    const QSize reach = resultPixelSize(plan).boundedTo(screen_).expandedTo(QSize(1, 1));
    scratch_ = makeSurface(reach, dpi_);
    output_ = makeSurface(reach, dpi_, filled_.toArgb());
    drawText(scratch_, text, scratchFont_);
}

// The job measures the same text in the same font that it draws: measure once.
QSize HeadlessPlatform::measured(const QString& text, const FontChoice& font) {
    if (!lastMeasure_ || lastMeasure_->text != text || lastMeasure_->font != font)
        lastMeasure_ = Measure{text, font, measureText(text, font, dpi_)};
    return lastMeasure_->size;
}

ScreenMetrics HeadlessPlatform::screenMetrics() {
    return screenAt(dpi_, screen_.width());
}

TextExtent HeadlessPlatform::measuredExtent() {
    return pixelsToTwips(screenMetrics(), measured(measureText_, measureFont_));
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
}

QImage renderHeadless(const EffectSettings& settings, QSize screen, int dpi, StyleRandom& random) {
    HeadlessPlatform platform(settings, screen, dpi);
    runRenderJob(platform, random);
    return platform.result();
}

} // namespace pismolot
