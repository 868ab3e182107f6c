#pragma once

#include "render/colour.h"

#include <QString>
#include <QUrl>

#include <array>
#include <vector>

// The About box's rules as plain functions: the gradient it paints at load,
// and the hover highlight of its three buttons.
namespace about {

inline constexpr pismolot::ColourValue NormalColour = pismolot::ColourValue::rgb(0, 128, 0);
inline constexpr pismolot::ColourValue HighlightColour = pismolot::ColourValue::rgb(192, 0, 192);

// The freeware notice of Label3.
inline constexpr const char* FreewareNotice =
    "Program jest darmowy (freeware): możesz go używać i rozdawać bez opłat.";

// Where a file installed with the program is, found from the running
// program's folder `programDir` wherever the tree was installed or unpacked:
// beside the program, then at `fromProgram`, its path relative to the
// installed program's folder (../share/... from bin/). When neither exists,
// or the folder is unknown (empty), `installed`, the configured location.
QString installedFile(const QString& programDir, const QString& fromProgram,
                      const QString& installed);
// The user guide this program opens, found as installedFile() finds it.
QString guideFile();

// What "WWW" opens: the build's web address, or with none set the user guide
// at `guidePath`.
QUrl webTarget(const QString& webAddress, const QString& guidePath);
// What "Mail" opens: a "mailto:" link to the build's address (given with or
// without "mailto:"); none (an empty URL) where no address is set.
QUrl mailTarget(const QString& mailAddress);
// The two targets of this build.
QUrl webTarget();
QUrl mailTarget();

inline constexpr int BandCount = 256;
inline constexpr int PenWidth = 5; // pixels

// One band of the gradient, in twips from the top of the client area.
struct Band {
    int top = 0;
    int height = 0;
    pismolot::ColourValue colour;
};

// Client height in twips / 255, rounded half to even (12 at 3060 twips).
int bandHeight(float scaleHeight);
// The 256 bands top to bottom: RGB(255 - i, 11, 255 - i), each starting where
// the one before ended; the last ones may lie below the client area.
std::vector<Band> gradientBands(float scaleHeight);

// Where the pointer moves. The two labels without handlers change nothing.
enum class Spot { Background, Label1, Label2, Label3, Command1, Command2, Command3 };

// The three buttons' background colours, which are all the hover state there is.
using ButtonColours = std::array<pismolot::ColourValue, 3>;

// Marz: every button back to the normal green.
ButtonColours Marz(ButtonColours colours);
// The colours after a mouse move over spot: a button turns magenta and the
// others green; the background and Label3 clear the highlight.
ButtonColours afterMouseMove(ButtonColours colours, Spot spot);

} // namespace about
