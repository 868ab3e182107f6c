#include "resources/screens.h"

#include "resources/captions.h"
#include "resources/twips.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

namespace ui {

namespace {

const char* const FollowerName = "pismolotScreenFollower";

class ScreenFollower final : public QObject {
public:
    explicit ScreenFollower(QWidget& window)
        : QObject(&window), window_(window), firstDpi_(twips::screenDpi()), dpi_(firstDpi_) {
        setObjectName(QLatin1String(FollowerName));
        window.installEventFilter(this);
    }

    int dpi() const { return dpi_; }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &window_)
            return false;
        if (event->type() == QEvent::Show) {
            // Before the window reaches the screen, with its fonts polished.
            follow();
        } else if (event->type() == QEvent::ScreenChangeInternal) {
            // The children take the new screen's fonts after the window
            // has handled this event.
            QMetaObject::invokeMethod(this, &ScreenFollower::follow, Qt::QueuedConnection);
        }
        return false;
    }

private:
    struct Placed {
        QPointer<QWidget> widget;
        QRect geometry;
    };

    void follow() {
        const QScreen* screen = twips::screenOf(window_);
        const int dpi = twips::screenDpi(screen);
        if (dpi != dpi_) {
            if (!placed_)
                remember();
            placeAt(screen);
            dpi_ = dpi;
        }
        fitCaptions(window_);
    }

    void remember() {
        placed_.emplace();
        forEachPlacedChild(window_, [this](QWidget& control) {
            placed_->push_back({&control, control.geometry()});
        });
        if (window_.minimumSize() == window_.maximumSize())
            fixedSize_ = window_.minimumSize();
    }

    // The first places, in twips at the first dpi, on `screen`.
    void placeAt(const QScreen* screen) {
        const double perPixel = 1440.0 / firstDpi_;
        const auto scaled = [&](int pixels) { return twips::toPixels(pixels * perPixel, screen); };
        if (fixedSize_)
            window_.setFixedSize(scaled(fixedSize_->width()), scaled(fixedSize_->height()));
        for (const Placed& p : *placed_) {
            if (p.widget)
                p.widget->setGeometry(scaled(p.geometry.x()), scaled(p.geometry.y()),
                                      scaled(p.geometry.width()), scaled(p.geometry.height()));
        }
    }

    QWidget& window_;
    const int firstDpi_;
    int dpi_;
    std::optional<std::vector<Placed>> placed_;
    std::optional<QSize> fixedSize_;
};

} // namespace

namespace {

ScreenFollower* followerOf(const QWidget& window) {
    return static_cast<ScreenFollower*>(
        window.findChild<QObject*>(QLatin1String(FollowerName), Qt::FindDirectChildrenOnly));
}

} // namespace

void followScreen(QWidget& window) {
    if (!followerOf(window))
        new ScreenFollower(window);
}

int laidOutDpi(const QWidget& window) {
    const ScreenFollower* follower = followerOf(window);
    return follower ? follower->dpi() : twips::screenDpi();
}

} // namespace ui
