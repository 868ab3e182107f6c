#pragma once

// The renderer's only calls into the engine and the output code, so that the
// rest of cli/ sees one small surface.

#include "render/imagefile.h"
#include "render/job.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

class QIODevice;

namespace pismolot::cli {

// The picture of `settings`, each call from the generator's first state, as a
// fresh run starts. Safe to call from several threads at once.
// `lettersCut` tells whether letters lay beyond the screen and are missing.
QImage renderPicture(const EffectSettings& settings, QSize screen, int dpi, bool transparent,
                     bool* lettersCut = nullptr);

// Why a picture whose letters were cut lacks them: the screen, the largest
// size that fits and --screen, on one line, for a warning.
QString lettersCutWarning(const EffectSettings& settings, QSize screen, int dpi);

bool formatAvailable(ImageFormat format);

// Whether the font engine can draw `points` at `dpi`, and its limit in pixels
// per em.
bool sizeDrawable(float points, int dpi);
int maxPixelsPerEm();

QStringList fontFamilies();
QString defaultFamily();
// The family the font engine really draws for `requested`.
QString familyDrawn(const QString& requested);

WriteStatus checkPictureFor(const QImage& picture, ImageFormat format);
WriteStatus writePictureFile(const QString& path, const QImage& picture, ImageFormat format);
WriteStatus writePictureTo(QIODevice& device, const QImage& picture, ImageFormat format);

// Why a write failed, in English, on one line.
QString describe(const WriteStatus& status);

} // namespace pismolot::cli
