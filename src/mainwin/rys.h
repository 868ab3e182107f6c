#pragma once

#include "mainwin/surface.h"
#include "render/job.h"
#include "render/vectorpicture.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QMimeData;
class QTimer;

// The render window: it shows the output surface and the result picture
// Picture1 it is given, and its timer's first tick runs the render job on the
// settings it was handed.
class Rys : public SurfaceWidget {
    Q_OBJECT
public:
    explicit Rys(pismolot::EffectSettings settings = {}, QWidget* parent = nullptr);

    // The window when it is not maximised: at left 60, top 60, with a client
    // area of 7335 x 4290 twips.
    static QRect designRect();

    // The settings the job renders: the editor's at "&OK".
    const pismolot::EffectSettings& settings() const { return settings_; }
    void setSettings(const pismolot::EffectSettings& settings) { settings_ = settings; }

    // The image of Picture1 as copy and save take it (empty before the job),
    // in device pixels.
    QImage resultPicture() const { return result_; }
    // The same picture as shapes, for SVG, PDF and the clipboard.
    pismolot::VectorPicture vectorPicture() const;

    // Runs the render job; the timer's first tick calls it.
    void Timer1_Timer();

    // Whether the last job lost letters beyond the screen, and the largest
    // point size at which the text would have fitted (0: none), found when
    // first asked: only the message that tells of cut letters needs it.
    bool lettersCut() const { return lettersCut_; }
    int fittingSize() const;

    // What the job does to this window.
    void stopTimer();
    void setMeasureCaption(const QString& text);
    void setMeasureFont(const pismolot::FontChoice& font);
    // Picture1 takes `picture` (device pixels), sized to it, shown unscaled at
    // the box's (0, 0); it stays hidden until showResultPicture.
    void setResultPicture(const QImage& picture);
    void showResultPicture();

    QLabel* Picture1 = nullptr;
    QLabel* XSize = nullptr; // measuring label, never shown
    QTimer* Timer1 = nullptr;

    // Pressing on Picture1 and moving beyond the desktop's drag distance
    // drags the picture out (output::dragData); this runs the drag: a
    // QDrag, unless tests take the data instead.
    std::function<void(std::unique_ptr<QMimeData> data)> startDrag;

signals:
    // The job just made a picture that lacks letters (see lettersCut).
    void lettersCutOff();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void dragPicture();
    void showPicture(); // result_ on Picture1

    pismolot::EffectSettings settings_;
    QImage result_;
    bool lettersCut_ = false;
    // What the last job drew, for the fitting size.
    pismolot::EffectSettings jobSettings_;
    int jobDpi_ = 0;
    QSize jobScreen_;
    pismolot::RenderOutcome jobOutcome_;
    mutable std::optional<int> fittingSize_;
    std::optional<QPoint> pressedAt_; // on Picture1, while the left button is down
    QPoint grabbedAt_;                // where the last drag began
};
