#pragma once

#include "job.h"
#include "scan.h"

#include <QImage>
#include <QSize>

#include <optional>

namespace pismolot {

// The metrics of a screen `widthPixels` wide at `dpi`: 1440 / dpi twips per
// pixel (15 at 96 DPI).
ScreenMetrics screenAt(int dpi, int widthPixels);

// A twips extent in whole pixels, as the scan counts its columns and rows;
// and a pixel size in twips.
QSize twipsToPixels(const ScreenMetrics& screen, float widthTwips, float heightTwips);
TextExtent pixelsToTwips(const ScreenMetrics& screen, QSize pixels);

// The result picture: the `size` rectangle of `output` from (0, 0), at the
// output's resolution; where it reaches beyond the output surface it shows
// `background`.
QImage cutResult(const QImage& output, QSize size, ColourValue background);

struct RenderOptions {
    // The picture in Format_ARGB32: the pixels the scan wrote (the letters)
    // opaque, every other pixel fully transparent with the background's RGB.
    bool transparent = false;
};

// The render job on plain images: scratch and output surfaces of at most
// `screen` pixels at `dpi`, no window anywhere. The scratch font must be set
// before the text is drawn, as the job does. Keeps no state outside itself,
// so several can run at once on different threads.
class HeadlessPlatform final : public RenderPlatform {
public:
    HeadlessPlatform(EffectSettings settings, QSize screen, int dpi, RenderOptions options = {});

    ColourValue backgroundColour() override { return settings_.background; }
    QString text() override { return settings_.text; }
    FontChoice font() override { return settings_.font; }
    int styleIndex() override { return settings_.styleIndex; }

    void disableTimer() override {}
    void showWaitWindow() override {}
    void fillOutput(ColourValue colour) override { filled_ = colour; }
    void setMeasureText(const QString& text) override { measureText_ = text; }
    void setMeasureFont(const FontChoice& font) override { measureFont_ = font; }
    void setScratchFont(const FontChoice& font) override { scratchFont_ = font; }
    void drawScratchText(const QString& text) override;
    void yield() override {}
    ScreenMetrics screenMetrics() override;
    TextExtent measuredExtent() override;
    ConstRasterView scratch() override;
    RasterView output() override;
    void setResultSize(float widthTwips, float heightTwips) override;
    void snapshotResult() override;
    void clearBackgroundPicture() override {}
    void showResult() override {}
    void closeWaitWindow() override { scratch_ = QImage(); }

    const QImage& result() const { return result_; }

private:
    struct Measure {
        QString text;
        FontChoice font;
        QSize size;
        bool inkCut = false;
    };

    EffectSettings settings_;
    QSize screen_;
    int dpi_;
    RenderOptions options_;
    QImage scratch_;
    QImage output_;
    QImage result_;
    QString measureText_;
    FontChoice measureFont_;
    FontChoice scratchFont_;
    QSize resultSize_;
    ColourValue filled_;
    std::optional<Measure> drawn_; // the extent of the scratch drawing
};

// Renders `settings` headlessly and returns the result picture; tells in
// `lettersCut` whether letters lay beyond the screen and are missing, and in
// `outcome` all the job tells (what the vector picture is made from). Safe to
// call from several threads at once, each with its own StyleRandom.
QImage renderHeadless(const EffectSettings& settings, QSize screen, int dpi,
                      StyleRandom& random = styleRandom(), RenderOptions options = {},
                      bool* lettersCut = nullptr, RenderOutcome* outcome = nullptr);

} // namespace pismolot
