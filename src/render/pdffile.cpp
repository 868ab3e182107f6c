// The vector picture as a one-page PDF through Qt's own PDF writer.
#include "vectorpicture.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace pismolot {

bool writePdf(QIODevice& out, const VectorPicture& picture) {
    if (picture.size.isEmpty())
        return false;
    QPdfWriter pdf(&out);
    pdf.setTitle(picture.title);
    pdf.setCreator(QStringLiteral("Pismolot"));
    // One picture pixel is one point: Qt gives a page whole points only, and
    // a page of the picture's own inches would then gain a blank sliver.
    pdf.setResolution(72);
    const QPageSize page(picture.size, QPageSize::Point, QString(), QPageSize::ExactMatch);
    if (!pdf.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF())))
        return false;
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    paintVectorPicture(painter, picture);
    return painter.end();
}

} // namespace pismolot
