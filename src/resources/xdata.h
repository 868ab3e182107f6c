#pragma once

#include <QImage>
#include <QWidget>

// The never-shown store of the thirteen 104 x 65 style preview pictures.
class XData : public QWidget {
    Q_OBJECT
public:
    explicit XData(QWidget* parent = nullptr);

    // Element i of the picture array; a null image for an index outside 0..12.
    QImage picture(int index) const;
};
