#include "resources/xdata.h"

#include "resources/stylepreviews.h"
#include "resources/twips.h"

#include <QFrame>
#include <QLabel>

XData::XData(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint) {
    setWindowTitle(QStringLiteral("Data Form tymczasowy"));
    setFixedSize(twips::size(5280, 6090));

    // Columns of five at these Lefts, Tops in index order; the places only
    // matter to someone who shows the window while debugging.
    static constexpr int Lefts[] = {120, 1920, 3600};
    static constexpr int Tops[] = {120, 1200, 2280, 3360, 4440};
    const auto& pictures = previews::stylePreviews();
    for (int i = 0; i < pismolot::StyleCount; ++i) {
        auto* image = new QLabel(this);
        image->setGeometry(twips::rect(Lefts[i / 5], Tops[i % 5], 1560, 975));
        image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        image->setPixmap(QPixmap::fromImage(pictures[std::size_t(i)]));
        Image1[std::size_t(i)] = image;
    }
    Line1 = new QFrame(this);
    Line1->setFrameShape(QFrame::VLine);
    Line1->setGeometry(twips::rect(1800, 120, 15, 5880));
}

QImage XData::picture(int index) const {
    if (index < 0 || index >= pismolot::StyleCount)
        return {};
    return previews::stylePreviews()[std::size_t(index)];
}
