#include "resources/frames.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <QWindow>

#ifdef PISMOLOT_WAYLAND
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client-core.h>
#endif

namespace ui {

namespace {

// How the window's own title bar is found again.
const char* const TitleStripName = "fixedFrameTitle";

bool onWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// A flat close box with a drawn cross, which scales with the screen as a font
// glyph of the same size might not.
class CloseBox final : public QAbstractButton {
public:
    explicit CloseBox(QWidget* parent) : QAbstractButton(parent) {
        setFocusPolicy(Qt::NoFocus); // a title bar is no stop for the Tab key
        setAccessibleName(QStringLiteral("Zamknij"));
        setToolTip(QStringLiteral("Zamknij"));
        setAttribute(Qt::WA_Hover);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF box = QRectF(rect()).adjusted(3, 3, -3, -3);
        if (isDown() || underMouse()) {
            p.setPen(Qt::NoPen);
            p.setBrush(palette().color(isDown() ? QPalette::Dark : QPalette::Midlight));
            p.drawRoundedRect(box, 3, 3);
        }
        const qreal arm = box.width() / 5;
        const QPointF c = box.center();
        p.setPen(QPen(palette().color(QPalette::ButtonText), 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c + QPointF(-arm, -arm), c + QPointF(arm, arm));
        p.drawLine(c + QPointF(-arm, arm), c + QPointF(arm, -arm));
    }
};

// The caption, centred over the window, and the close box at the right; a
// press anywhere else hands the move to the compositor, as a title bar does.
class TitleStrip final : public QWidget {
public:
    explicit TitleStrip(QWidget& window) : QWidget(&window) {
        setObjectName(QLatin1String(TitleStripName));
        // The same plain bar over every window, whatever colours and font the
        // window chose for its own content.
        const QPalette app = QApplication::palette();
        QPalette own = palette();
        for (auto role : {QPalette::Window, QPalette::WindowText, QPalette::Button,
                          QPalette::ButtonText, QPalette::Mid, QPalette::Midlight, QPalette::Dark})
            for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
                own.setColor(group, role, app.color(group, role));
        setPalette(own);
        QFont bold = QApplication::font();
        bold.setBold(true);
        setFont(bold);

        const int height = qMax(26, QFontMetrics(bold).height() + 10);
        setGeometry(0, 0, window.width(), height);
        auto* caption = new QLabel(window.windowTitle(), this);
        caption->setAlignment(Qt::AlignCenter);
        caption->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto* close = new CloseBox(this);
        close->setFixedSize(height, height);
        auto* row = new QHBoxLayout(this);
        // As wide a margin on the left as the box takes on the right keeps
        // the caption in the middle.
        row->setContentsMargins(height, 0, 0, 0);
        row->setSpacing(0);
        row->addWidget(caption, 1);
        row->addWidget(close);
        connect(&window, &QWidget::windowTitleChanged, caption, &QLabel::setText);
        connect(close, &QAbstractButton::clicked, &window, &QWidget::close);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Window));
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(0, height() - 1, width(), height() - 1);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && window()->windowHandle())
            window()->windowHandle()->startSystemMove();
        event->accept();
    }
    // A title bar maximises on a double click; this window keeps its size.
    void mouseDoubleClickEvent(QMouseEvent* event) override { event->accept(); }
};

// Moves the window's content below its title bar once, when everything the
// constructor placed is in place, before the window reaches the screen.
class ContentMover final : public QObject {
public:
    ContentMover(QWidget& window, QWidget& strip) : QObject(&window), strip_(strip) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show || done_)
            return false;
        done_ = true;
        for (QObject* child : watched->children()) {
            auto* widget = qobject_cast<QWidget*>(child);
            if (widget && widget != &strip_ && !widget->isWindow())
                widget->move(widget->pos() + QPoint(0, strip_.height()));
        }
        strip_.raise();
        return false;
    }

private:
    QWidget& strip_;
    bool done_ = false;
};

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
        // window another (a request from the compositor sets that one only).
        constexpr Qt::WindowStates Refused = Qt::WindowMaximized | Qt::WindowFullScreen;
        widget_->setWindowState(widget_->windowState() & ~Refused);
        window_->setWindowStates(window_->windowStates() & ~Refused);
    }

    QWidget* widget_ = nullptr;
    QWindow* window_ = nullptr;
};
#endif

} // namespace

void fixedFrame(QWidget& window) {
    if (!onWayland())
        return;
    // The type and the frameless hint only: beside the title hints the
    // frameless one did not reach the window.
    window.setWindowFlags((window.windowFlags() & Qt::WindowType_Mask) | Qt::FramelessWindowHint);
    auto* strip = new TitleStrip(window);
    window.setFixedSize(window.size() + QSize(0, strip->height()));
    window.installEventFilter(new ContentMover(window, *strip));
#ifdef PISMOLOT_WAYLAND
    window.installEventFilter(new MaximiseRefuser(&window));
#endif
}

QRect clientArea(const QWidget& window) {
    const auto* strip =
        window.findChild<QWidget*>(QLatin1String(TitleStripName), Qt::FindDirectChildrenOnly);
    return window.rect().adjusted(0, strip ? strip->height() : 0, 0, 0);
}

} // namespace ui
