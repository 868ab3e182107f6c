#include "resources/frames.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#ifdef PISMOLOT_WAYLAND
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client-core.h>
#endif

namespace ui {

namespace {

#ifdef PISMOLOT_WAYLAND
// Request numbers of xdg_toplevel in the stable xdg-shell protocol.
constexpr uint32_t UnsetMaximized = 10;
constexpr uint32_t UnsetFullscreen = 12;

// Watches the window's first show, when its Wayland surface exists, and from
// then on its state.
class MaximiseRefuser final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && !window_) {
            widget_ = static_cast<QWidget*>(watched);
            window_ = widget_->windowHandle();
            if (window_)
                connect(window_, &QWindow::windowStateChanged, this, &MaximiseRefuser::refuse);
        }
        return false;
    }

private:
    // Qt has just sent the compositor set_maximized or set_fullscreen; the
    // opposite request follows in the same batch, so the compositor never
    // configures the window in that state.
    void refuse() {
        const Qt::WindowStates states = window_->windowStates();
        if (!(states & (Qt::WindowMaximized | Qt::WindowFullScreen)))
            return;
        auto* native = QGuiApplication::platformNativeInterface();
        if (auto* toplevel = static_cast<wl_proxy*>(
                native ? native->nativeResourceForWindow("xdg_toplevel", window_) : nullptr)) {
            if (states & Qt::WindowMaximized)
                wl_proxy_marshal(toplevel, UnsetMaximized);
            if (states & Qt::WindowFullScreen)
                wl_proxy_marshal(toplevel, UnsetFullscreen);
        }
        // The widget keeps a state of its own (showMaximized sets it), the
        // window another (the title bar's button sets that one only).
        constexpr Qt::WindowStates Refused = Qt::WindowMaximized | Qt::WindowFullScreen;
        widget_->setWindowState(widget_->windowState() & ~Refused);
        window_->setWindowStates(window_->windowStates() & ~Refused);
    }

    QWidget* widget_ = nullptr;
    QWindow* window_ = nullptr;
};
#endif

} // namespace

void refuseMaximising([[maybe_unused]] QWidget& window) {
#ifdef PISMOLOT_WAYLAND
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    window.installEventFilter(new MaximiseRefuser(&window));
#endif
}

} // namespace ui
