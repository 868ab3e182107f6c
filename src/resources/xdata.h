#pragma once

#include "render/styles.h"

#include <QImage>
#include <QWidget>

#include <array>

class QFrame;
class QLabel;

// The never-shown store of the thirteen 104 x 65 style preview pictures.
class XData : public QWidget {
    Q_OBJECT
public:
    explicit XData(QWidget* parent = nullptr);

    // Element i of the picture array; a null image for an index outside 0..12.
    QImage picture(int index) const;

    // The picture array, element i showing the sample of style i unscaled.
    std::array<QLabel*, pismolot::StyleCount> Image1{};
    QFrame* Line1 = nullptr;
};
