#include "job.h"

#include "scan.h"

namespace pismolot {

RenderOutcome runRenderJob(RenderPlatform& platform, StyleRandom& random) {
    platform.disableTimer();
    platform.showWaitWindow();
    platform.fillOutput(platform.backgroundColour());

    const QString text = platform.text();
    const FontChoice font = platform.font();
    platform.setMeasureText(text);
    platform.setMeasureFont(font);
    platform.setScratchFont(font);
    platform.drawScratchText(text);
    platform.yield();

    const int style = platform.styleIndex();
    const ScreenMetrics screen = platform.screenMetrics();
    const TextExtent extent = platform.measuredExtent();
    const ScanPlan plan =
        planScan(extent.width, extent.height, screen.tppx, screen.tppy, screen.widthTwips);
    const ConstRasterView scratch = platform.scratch();
    const RasterView output = platform.output();
    scanLetters(scratch, output, plan, style, random);

    platform.setResultSize(plan.W, plan.H);
    platform.snapshotResult();
    platform.clearBackgroundPicture();
    platform.showResult();
    platform.closeWaitWindow();
    return {plan, extent.inkCut};
}

} // namespace pismolot
