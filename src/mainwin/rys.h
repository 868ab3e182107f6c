#pragma once

#include <QImage>
#include <QWidget>

// The render window: its output surface and the result picture Picture1.
class Rys : public QWidget {
    Q_OBJECT
public:
    explicit Rys(QWidget* parent = nullptr);

    // The image of Picture1 as copy and save take it (empty before the job).
    QImage resultPicture() const;
};
