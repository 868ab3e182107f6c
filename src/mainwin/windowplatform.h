#pragma once

#include "render/job.h"

#include <QPointer>
#include <QSize>

#include "mainwin/rys.h"
#include "mainwin/temp.h"

// The render job on the program's windows: settings from the editor, the
// wait window Temp as scratch surface, Rys's back-buffer as output surface
// and its Picture1 as result picture.
class WindowPlatform final : public pismolot::RenderPlatform {
public:
    explicit WindowPlatform(Rys& rys);
    ~WindowPlatform() override; // closes the wait window if the job did not

    pismolot::ColourValue backgroundColour() override;
    QString text() override;
    pismolot::FontChoice font() override;
    int styleIndex() override;

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

    // The wait window while the job has it open.
    Temp* waitWindow() const { return temp_; }

private:
    // Either window may be closed for good during the job's yield; the job
    // then reads no letters and writes nowhere, and still runs to its end.
    QPointer<Rys> rys_;
    QPointer<Temp> temp_;
    int dpi_;
    QSize screenSize_;
    pismolot::FontChoice measureFont_;
    QSize resultSize_;
    pismolot::ColourValue filled_ = pismolot::ColourValue::rgb(255, 255, 255);
};
