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
// `lettersCut` tells whether letters lay beyond the screen and are missing;
// `vector`, where given, gets the same picture as shapes (for SVG and PDF).
QImage renderPicture(const EffectSettings& settings, QSize screen, int dpi, bool transparent,
                     bool* lettersCut = nullptr, VectorPicture* vector = nullptr);

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

// `vector` is what SVG and PDF are written from.
WriteStatus checkPictureFor(const QImage& picture, ImageFormat format,
                            const VectorPicture* vector = nullptr);
WriteStatus writePictureFile(const QString& path, const QImage& picture, ImageFormat format,
                             const VectorPicture* vector = nullptr);
WriteStatus writePictureTo(QIODevice& device, const QImage& picture, ImageFormat format,
                           const VectorPicture* vector = nullptr);

// Why a write failed, in English, on one line.
QString describe(const WriteStatus& status);

} // namespace pismolot::cli
