#include "resources/centre.h"

#include "render/numbers.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace ui {

namespace {

const QString WatcherName = QStringLiteral("pismolot-centre-when-framed");

// Centres its window again once the window manager has framed it, then goes.
class CentreWhenFramed final : public QObject {
public:
    explicit CentreWhenFramed(QWidget& window) : QObject(&window), window_(window) {
        setObjectName(WatcherName);
        window.installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Paint:
            if (!frameMargins(window_).isNull()) {
                finish();
                centreOnScreen(window_);
            }
            break;
        case QEvent::Hide:
            finish();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void finish() {
        window_.removeEventFilter(this);
        deleteLater();
    }

    QWidget& window_;
};

// The frame of another shown window of the program, which the window manager
// will most likely give this one too.
QMargins likelyFrame(const QWidget& window) {
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other == &window || !other->isVisible() || other->isMaximized())
            continue;
        const QMargins frame = frameMargins(*other);
        if (!frame.isNull())
            return frame;
    }
    return {};
}

} // namespace

QPoint centredTopLeft(const QRect& screen, const QSize& outer) {
    const double left = screen.width() / 2.0 - outer.width() / 2.0;
    const double top = screen.height() / 2.0 - outer.height() / 2.0;
    return {screen.left() + pismolot::roundHalfEven<int>(left),
            screen.top() + pismolot::roundHalfEven<int>(top)};
}

QMargins frameMargins(const QWidget& window) {
    if (!window.isVisible())
        return {};
    const QRect inner = window.geometry();
    const QRect outer = window.frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

void centreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QMargins frame = frameMargins(window);
    const bool framed = !frame.isNull();
    if (!framed) {
        frame = likelyFrame(window);
        if (!window.findChild<QObject*>(WatcherName, Qt::FindDirectChildrenOnly))
            new CentreWhenFramed(window);
    }
    window.move(centredTopLeft(screen->geometry(), window.size().grownBy(frame)));
}

} // namespace ui
