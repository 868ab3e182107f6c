#pragma once

#include "colour.h"
#include "raster.h"
#include "scan.h"
#include "styles.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace pismolot {

// Font of the text: what the editor's preview box holds.
struct FontChoice {
    QString name;
    float size = 24; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;

    friend bool operator==(const FontChoice&, const FontChoice&) = default;
};

// The largest font size the program takes, in points.
inline constexpr float MaxFontPoints = 2048.0f;

// The settings one render reads, straight from the editor's controls.
struct EffectSettings {
    QString text = QStringLiteral("Text");
    FontChoice font;
    std::int16_t styleIndex = 0;
    ColourValue background = syscolour::CaptionText;
};

struct ScreenMetrics {
    float tppx = 15; // twips per pixel
    float tppy = 15;
    float widthTwips = 1920 * 15;
};

struct TextExtent {
    float width = 0; // twips
    float height = 0;
    // Ink of the text lies right of or below the screen-sized scratch
    // surface: letters that the picture cannot show.
    bool inkCut = false;
};

// What one run of the render job did.
struct RenderOutcome {
    ScanPlan plan;
    // Letter pixels lay outside the scratch surface and are missing from the
    // picture, which is otherwise the one the rules make.
    bool lettersCut = false;
    // What the vector picture repeats: the last column and row the scan
    // reached, and the colour it gave rows 1..plan.rows (the random stripes'
    // draws included), 0xffRRGGBB, the first at index 0.
    ScanReach reach;
    std::vector<std::uint32_t> rowColours;
};

// Everything the render job needs of its surroundings. The windows implement
// it on real windows, the headless renderer on plain images, tests with a
// recording fake. The job calls these in a fixed order (see runRenderJob).
class RenderPlatform {
public:
    virtual ~RenderPlatform() = default;

    // Settings, read at the moment the job needs each one.
    virtual ColourValue backgroundColour() = 0;
    virtual QString text() = 0;
    virtual FontChoice font() = 0;
    virtual int styleIndex() = 0;

    virtual void disableTimer() = 0;
    virtual void showWaitWindow() = 0;
    virtual void fillOutput(ColourValue colour) = 0;
    virtual void setMeasureText(const QString& text) = 0;
    virtual void setMeasureFont(const FontChoice& font) = 0;
    virtual void setScratchFont(const FontChoice& font) = 0;
    virtual void drawScratchText(const QString& text) = 0;
    virtual void yield() = 0;
    virtual ScreenMetrics screenMetrics() = 0;
    virtual TextExtent measuredExtent() = 0;
    virtual ConstRasterView scratch() = 0;
    virtual RasterView output() = 0;
    virtual void setResultSize(float widthTwips, float heightTwips) = 0;
    virtual void snapshotResult() = 0;
    virtual void clearBackgroundPicture() = 0;
    virtual void showResult() = 0;
    virtual void closeWaitWindow() = 0;
};

// Runs the render job once: wait window up, output filled with the
// background, text measured and drawn black on the scratch surface, one
// yield, the letter scan, the result picture snapshot, wait window closed.
// Returns the plan it scanned with and whether letters were cut.
RenderOutcome runRenderJob(RenderPlatform& platform, StyleRandom& random = styleRandom());

} // namespace pismolot
