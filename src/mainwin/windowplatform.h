#pragma once

#include "render/job.h"

#include <QImage>
#include <QPointer>
#include <QScreen>
#include <QSize>

#include "mainwin/rys.h"
#include "mainwin/temp.h"

// The render job on the program's windows: the settings handed over at
// "&OK", a scratch and an output surface of its own, which it gives the wait
// window Temp and the render window Rys to show, and Rys's Picture1 as the
// result picture.
class WindowPlatform final : public pismolot::RenderPlatform {
public:
    WindowPlatform(Rys& rys, pismolot::EffectSettings settings);
    ~WindowPlatform() override; // closes the wait window if the job did not

    pismolot::ColourValue backgroundColour() override { return settings_.background; }
    QString text() override { return settings_.text; }
    pismolot::FontChoice font() override { return settings_.font; }
    int styleIndex() override { return settings_.styleIndex; }

    void disableTimer() override;
    void showWaitWindow() override;
    void fillOutput(pismolot::ColourValue colour) override;
    void setMeasureText(const QString& text) override;
    void setMeasureFont(const pismolot::FontChoice& font) override;
    void setScratchFont(const pismolot::FontChoice& font) override;
    void drawScratchText(const QString& text) override;
    void yield() override;
    pismolot::ScreenMetrics screenMetrics() override;
    pismolot::TextExtent measuredExtent() override;
    pismolot::ConstRasterView scratch() override;
    pismolot::RasterView output() override;
    void setResultSize(float widthTwips, float heightTwips) override;
    void snapshotResult() override;
    void clearBackgroundPicture() override;
    void showResult() override;
    void closeWaitWindow() override;

    // How long the job's yield waits at most for the wait window to paint.
    static constexpr int MaxPaintWait = 400; // ms

    // The wait window while the job has it open.
    Temp* waitWindow() const { return temp_; }
    int dpi() const { return dpi_; }
    // The screen in device pixels.
    QSize screenSize() const { return screen_; }

private:
    // Either window may be closed for good during the job's yield; the job
    // then reads no letters and shows nothing, and still runs to its end.
    QPointer<Rys> rys_;
    QPointer<Temp> temp_;
    const pismolot::EffectSettings settings_;
    // The render window's screen when the job began: the picture is made at
    // its dpi and size, wherever the window goes during the job.
    QPointer<QScreen> onScreen_;
    int dpi_;
    QSize screen_;
    QImage scratch_;
    QImage output_;
    QString measureText_;
    pismolot::FontChoice measureFont_;
    pismolot::FontChoice scratchFont_;
    QSize resultSize_;
    int paintsBeforeText_ = 0;
    pismolot::ColourValue filled_ = pismolot::ColourValue::rgb(255, 255, 255);
};
