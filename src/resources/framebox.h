#pragma once

#include <QGroupBox>

// A frame drawn as the classic desktop draws its group boxes: an etched line
// whose top edge runs through the middle of the caption, the caption set into
// the line near its left end. Children are placed by hand, from the box's
// top-left corner, as the stored layouts give them.
class FrameBox : public QGroupBox {
    Q_OBJECT
public:
    explicit FrameBox(const QString& caption, QWidget* parent = nullptr);

    // The row of the frame's top line (its dark half; the light half lies
    // one row below), and the rectangle the caption is drawn in.
    int borderTop() const;
    QRect captionRect() const;

    static constexpr int CaptionIndent = 6; // from the left edge to the caption's gap
    static constexpr int CaptionGap = 2;    // free pixels either side of the caption

protected:
    void paintEvent(QPaintEvent* event) override;
};
