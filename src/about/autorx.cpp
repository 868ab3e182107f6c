#include "about/autorx.h"

#include "about/shell.h"
#include "resources/appearance.h"
#include "resources/centre.h"
#include "resources/frames.h"
#include "resources/icons.h"
#include "resources/palette.h"
#include "resources/twips.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>
#include <QWindow>

namespace {

// What the window shows where the gradient has not been painted.
const QColor BackgroundBeforePainting(192, 192, 192);

AutorX::UrlOpener& urlOpener() {
    static AutorX::UrlOpener opener;
    return opener;
}

void openUrl(const QUrl& url) {
    // Whether a handler exists is the desktop's business; the result is ignored.
    if (urlOpener())
        urlOpener()(url);
    else
        about::openWithShell(url);
}

} // namespace

AutorX::AutorX(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("O autorze ..."));
    setWindowIcon(icons::common());
    setWindowFlags(Qt::Dialog | ui::FixedFrame);
    setFixedSize(twips::size(4680, 3060));
    ui::fixedFrame(*this);
    QPalette p = palette();
    p.setColor(QPalette::Window, BackgroundBeforePainting);
    setPalette(p);
    setMouseTracking(true);
    setFont(ui::dialogFont());
    createControls();

    focusNow_ = QGuiApplication::focusWindow();
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* window) {
        focusBefore_ = focusNow_;
        focusNow_ = window;
    });
    Form_Load();
}

void AutorX::createControls() {
    auto label = [this](const QString& text, QColor colour, const QRect& geometry) {
        auto* l = new QLabel(text, this);
        l->setGeometry(geometry);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, colour);
        l->setPalette(p);
        // Transparent over the gradient; its own mouse moves are decided here.
        l->setAutoFillBackground(false);
        l->setMouseTracking(true);
        l->installEventFilter(this);
        return l;
    };
    auto button = [this](const QString& caption, int left) {
        auto* b = new ColourButton(caption, this);
        b->setBackColor(about::NormalColour);
        b->setGeometry(twips::rect(left, 2520, 1335, 375));
        // Outside a dialog a button answers Enter only when asked to.
        b->setAutoDefault(true);
        b->setMouseTracking(true);
        b->installEventFilter(this);
        return b;
    };

    Label1 = label(QStringLiteral("Autorem tego programu jest Trelon"), QColor(255, 255, 0),
                   twips::rect(840, 840, 2655, 255));
    Label2 =
        label(QStringLiteral("O autorze"), QColor(0, 255, 255), twips::rect(960, 240, 2655, 375));
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont heading = ui::dialogFont(13.5);
    heading.setBold(true);
    Label2->setFont(heading);
    Command1 = button(QStringLiteral("OK"), 120);
    Command1->setDefault(true);
    Command2 = button(QStringLiteral("WWW"), 1680);
    Command3 = button(QStringLiteral("Mail"), 3240);
    Label3 = label(QString::fromUtf8(about::FreewareNotice), QColor(255, 255, 0),
                   twips::rect(840, 1320, 2775, 735));
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Command2->setAccessibleDescription(QStringLiteral("Otwiera stronę programu"));
    Command3->setAccessibleDescription(QStringLiteral("Otwiera nową wiadomość do autora"));
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);
    Command1->setFocus();

    connect(Command1, &QPushButton::clicked, this, &AutorX::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &AutorX::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &AutorX::Command3_Click);
}

void AutorX::setUrlOpener(UrlOpener opener) {
    urlOpener() = std::move(opener);
}

void AutorX::Form_Load() {
    paintGradient();
}

// Painted once into a buffer of the client area's size; every repaint after
// that copies the buffer.
void AutorX::paintGradient() {
    const QSize client = ui::clientArea(*this).size();
    const qreal dpr = devicePixelRatioF();
    background_ = QImage(client * dpr, QImage::Format_RGB32);
    background_.setDevicePixelRatio(dpr);
    background_.fill(BackgroundBeforePainting);

    const double perPixel = twips::perPixel(twips::screenOf(*this));
    const float scaleWidth = float(client.width() * perPixel);
    const float scaleHeight = float(client.height() * perPixel);
    QPainter p(&background_);
    for (const about::Band& band : about::gradientBands(scaleHeight)) {
        const QColor colour = toQColor(band.colour);
        p.setPen(QPen(colour, about::PenWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(colour);
        p.drawRect(QRectF(0, band.top / perPixel, scaleWidth / perPixel, band.height / perPixel));
    }
}

void AutorX::paintEvent(QPaintEvent*) {
    // Painted again for a screen of another dpi or ratio, or a size the
    // window took after (its own title bar, a relayout).
    if (background_.deviceIndependentSize().toSize() != ui::clientArea(*this).size() ||
        background_.devicePixelRatio() != devicePixelRatioF())
        paintGradient();
    QPainter p(this);
    p.drawImage(ui::clientArea(*this).topLeft(), background_);
}

bool AutorX::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && activatedFromWithin())
        Form_Activate();
    return QWidget::event(event);
}

// The focus-window signal may come before or after the activation event;
// either way the window focused before ours tells where the focus came from.
bool AutorX::activatedFromWithin() const {
    const QWindow* self = windowHandle();
    const QWindow* before = (focusNow_ == self) ? focusBefore_.data() : focusNow_.data();
    return before != nullptr && before != self;
}

void AutorX::Form_Activate() {
    centre();
}

void AutorX::centre() {
    ui::centreOnScreen(*this);
}

void AutorX::showModeless() {
    // A box the user minimised comes back: on a desktop without a taskbar
    // "&Autor" is the only way to reach it again.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    centre();
}

void AutorX::Marz() {
    mouseMovedOver(about::Spot::Background);
}

void AutorX::mouseMovedOver(about::Spot spot) {
    const std::array<ColourButton*, 3> buttons = {Command1, Command2, Command3};
    about::ButtonColours colours;
    for (std::size_t i = 0; i < buttons.size(); ++i)
        colours[i] = buttons[i]->backColor();
    const about::ButtonColours after = about::afterMouseMove(colours, spot);
    // A button that keeps its colour is not written to, so it does not repaint.
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (after[i] != colours[i])
            buttons[i]->setBackColor(after[i]);
}

void AutorX::Form_MouseMove() {
    Marz();
}
void AutorX::Label3_MouseMove() {
    Marz();
}
void AutorX::Command1_MouseMove() {
    mouseMovedOver(about::Spot::Command1);
}
void AutorX::Command2_MouseMove() {
    mouseMovedOver(about::Spot::Command2);
}
void AutorX::Command3_MouseMove() {
    mouseMovedOver(about::Spot::Command3);
}

void AutorX::mouseMoveEvent(QMouseEvent* event) {
    // Moves that a button passes up (it takes them only while pressed) are
    // not over the bare background.
    if (!childAt(event->position().toPoint()))
        Form_MouseMove();
    event->accept();
}

bool AutorX::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseMove)
        return QWidget::eventFilter(watched, event);
    if (watched == Command1)
        Command1_MouseMove();
    else if (watched == Command2)
        Command2_MouseMove();
    else if (watched == Command3)
        Command3_MouseMove();
    else if (watched == Label3)
        Label3_MouseMove();
    // Label1 and Label2 have no handler: their moves go no further.
    return watched == Label1 || watched == Label2 || watched == Label3;
}

void AutorX::keyPressEvent(QKeyEvent* event) {
    // "OK" is the cancel button, and the default one when no button has the focus.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Command1->click();
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void AutorX::Command1_Click() {
    hide();
}
void AutorX::Command2_Click() {
    const QUrl target = about::webTarget();
    if (target.isValid())
        openUrl(target);
}
// With no mail address in this build the button does nothing visible, as
// when the desktop has no mail handler.
void AutorX::Command3_Click() {
    const QUrl target = about::mailTarget();
    if (target.isValid())
        openUrl(target);
}
