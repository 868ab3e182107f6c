#include "job.h"

#include "scan.h"

#include <algorithm>

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
    // The same draws again from a copy, for the vector picture: the scan
    // itself stays as it was.
    StyleRandom replay = random;
    scanLetters(scratch, output, plan, style, random);
    RenderOutcome outcome{
        plan, extent.inkCut, scanReach(scratch, asConst(output), plan.cols, plan.rows), {}};
    outcome.rowColours.reserve(std::size_t(std::max(plan.rows, 0)));
    forEachRowLevel(plan, [&](int, int level) {
        outcome.rowColours.push_back(styleColour(style, level, replay).toArgb());
    });

    platform.setResultSize(plan.W, plan.H);
    platform.snapshotResult();
    platform.clearBackgroundPicture();
    platform.showResult();
    platform.closeWaitWindow();
    return outcome;
}

} // namespace pismolot
