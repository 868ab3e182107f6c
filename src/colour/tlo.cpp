#include "colour/tlo.h"

#include "resources/centre.h"
#include "resources/frames.h"
#include "resources/icons.h"
#include "resources/palette.h"
#include "resources/spoken.h"
#include "resources/twips.h"

#include <QEventLoop>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QTimer>

Tlo::Tlo(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Zmień tło"));
    setWindowIcon(icons::common());
    setWindowFlags(Qt::Dialog | ui::FixedFrame);
    setFixedSize(twips::size(5655, 1950));
    ui::fixedFrame(*this);
    createControls();
    connectControls();
    showState();
    HScroll1->setFocus();
    Form_Load();
}

namespace {

// A scroll bar that shows when it has the keyboard focus (Fusion's draws no
// mark), so a keyboard user sees which part the arrow keys move.
class FocusScrollBar final : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void paintEvent(QPaintEvent* event) override {
        QScrollBar::paintEvent(event);
        if (!hasFocus())
            return;
        QStylePainter painter(this);
        QStyleOptionFocusRect mark;
        mark.initFrom(this);
        // Fusion draws the mark only for a focus that came by keyboard.
        mark.state |= QStyle::State_KeyboardFocusChange;
        mark.rect = rect().adjusted(1, 1, -1, -1);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, mark);
    }
};

} // namespace

void Tlo::createControls() {
    auto bar = [this](int top) {
        auto* b = new FocusScrollBar(Qt::Horizontal, this);
        b->setGeometry(twips::rect(1080, top, 3855, 255));
        b->setRange(0, ColourModel::MaxPart);
        b->setSingleStep(1);
        b->setPageStep(50);
        b->setFocusPolicy(Qt::StrongFocus);
        b->installEventFilter(this);
        return b;
    };
    auto box = [this](int top) {
        auto* t = new QLineEdit(QStringLiteral("0"), this);
        t->setGeometry(twips::rect(5040, top, 495, 285));
        t->installEventFilter(this);
        return t;
    };
    auto label = [this](const QString& caption, int top) {
        auto* l = new QLabel(caption, this);
        l->setGeometry(twips::rect(120, top, 855, 255));
        return l;
    };
    auto button = [this](const QString& caption, int left) {
        auto* b = new QPushButton(caption, this);
        b->setGeometry(twips::rect(left, 1440, 1335, 375));
        // Neither button answers Enter: the dialog has no default button.
        b->setAutoDefault(false);
        b->setDefault(false);
        return b;
    };

    // Created in tab order.
    HScroll1 = bar(240);
    HScroll2 = bar(600);
    HScroll3 = bar(960);
    Text1 = box(240);
    Text2 = box(600);
    Text3 = box(960);
    Label1 = new QLabel(QStringLiteral("Kolor tła"), this);
    Label1->setGeometry(twips::rect(2280, 1440, 1095, 255));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setAutoFillBackground(true);
    Command1 = button(QStringLiteral("OK"), 120);
    Command2 = button(QStringLiteral("Anuluj"), 4200);
    Label2 = label(QStringLiteral("Czerwony"), 240);
    Label3 = label(QStringLiteral("Zielony"), 600);
    Label4 = label(QStringLiteral("Niebieski"), 960);

    bars_ = {HScroll1, HScroll2, HScroll3};
    boxes_ = {Text1, Text2, Text3};
    // Each row's bar and box are named by the row's label, and apart.
    const std::array<QLabel*, ColourModel::PartCount> rows = {Label2, Label3, Label4};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i]->setBuddy(boxes_[i]);
        bars_[i]->setAccessibleName(rows[i]->text() + QStringLiteral(" – suwak"));
        boxes_[i]->setAccessibleName(rows[i]->text() + QStringLiteral(" – wartość"));
    }
    Label1->setAccessibleName(QStringLiteral("Kolor tła – podgląd"));
    QWidget* order[] = {HScroll1, HScroll2, HScroll3, Text1, Text2, Text3, Command1, Command2};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void Tlo::connectControls() {
    for (int part = 0; part < ColourModel::PartCount; ++part) {
        QScrollBar* bar = bars_[std::size_t(part)];
        // With tracking on, valueChanged also reports every value the thumb
        // passes while dragged, so one connection serves both events.
        connect(bar, &QScrollBar::valueChanged, this, [this, part, bar](int value) {
            if (bar->isSliderDown())
                model_.scrollDragged(part, value);
            else
                model_.scrollChanged(part, value);
            showState();
        });
        connect(boxes_[std::size_t(part)], &QLineEdit::textChanged, this,
                [this, part](const QString& text) {
                    model_.textChanged(part, text);
                    showState();
                });
    }
    connect(Command1, &QPushButton::clicked, this, &Tlo::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Tlo::Command2_Click);
}

void Tlo::Form_Load() {
    ui::centreOnScreen(*this);
}

// Writes the model's state into the widgets without their signals: the model
// has already played out what those signals would have caused.
void Tlo::showState() {
    for (std::size_t i = 0; i < bars_.size(); ++i) {
        if (bars_[i]->value() != model_.value(int(i))) {
            const QSignalBlocker block(bars_[i]);
            bars_[i]->setValue(model_.value(int(i)));
        }
        if (boxes_[i]->text() != model_.text(int(i))) {
            const QSignalBlocker block(boxes_[i]);
            boxes_[i]->setText(model_.text(int(i)));
        }
    }
    QPalette p = Label1->palette();
    p.setColor(QPalette::Window, toQColor(model_.previewBack()));
    p.setColor(QPalette::WindowText, toQColor(model_.previewText()));
    Label1->setPalette(p);
    Label1->setAccessibleDescription(spoken::colourDescription(toQColor(model_.previewBack())));
}

namespace {
bool isFocusKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
}
} // namespace

// The classic scroll bar's keys: Left and Up lower the value by one, Right
// and Down raise it, PageUp lowers and PageDown raises it by a page, Home and
// End go to the ends. (Qt's own bars raise on Up and PageUp.)
std::optional<QAbstractSlider::SliderAction> Tlo::scrollKeyAction(int key) {
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        return QAbstractSlider::SliderSingleStepSub;
    case Qt::Key_Right:
    case Qt::Key_Down:
        return QAbstractSlider::SliderSingleStepAdd;
    case Qt::Key_PageUp:
        return QAbstractSlider::SliderPageStepSub;
    case Qt::Key_PageDown:
        return QAbstractSlider::SliderPageStepAdd;
    case Qt::Key_Home:
        return QAbstractSlider::SliderToMinimum;
    case Qt::Key_End:
        return QAbstractSlider::SliderToMaximum;
    default:
        return std::nullopt;
    }
}

int Tlo::partOfBox(const QObject* box) const {
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        if (boxes_[i] == box)
            return int(i);
    return -1;
}

bool Tlo::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* bar = qobject_cast<QScrollBar*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (bar && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            if (const auto action = scrollKeyAction(key->key())) {
                bar->triggerAction(*action);
                return true;
            }
        }
    }
    const int part = partOfBox(watched);
    const bool keyEvent = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    // Tab moves the focus on; the box never sees it as a keystroke.
    if (part < 0 || !keyEvent || isFocusKey(static_cast<QKeyEvent*>(event)))
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        // Before the line edit inserts the character: key down, key press.
        model_.keyDown(part);
        model_.keyPress(part);
        showState();
    } else {
        model_.keyUp(part);
        showState();
    }
    return QDialog::eventFilter(watched, event);
}

void Tlo::keyPressEvent(QKeyEvent* event) {
    // Neither button is the cancel button: Esc must not close the dialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Tlo::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        emit hidden();
}

// The editor waits while the dialog is up: minimised, it would leave the
// editor blocked with nothing on screen to answer, so it comes straight back.
void Tlo::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && isVisible())
        QTimer::singleShot(0, this, [this] {
            if (!isMinimized() || !isVisible())
                return;
            showNormal();
            raise();
            activateWindow();
        });
}

void Tlo::Command1_Click() {
    emit colourChosen(model_.ok());
    hide();
}

void Tlo::Command2_Click() {
    hide();
}

void Tlo::showModal() {
    // Not QDialog::exec: it deletes a delete-on-close dialog even when the
    // dialog was only hidden, and hiding must keep its state.
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    if (!isVisible())
        return;
    QEventLoop loop;
    connect(this, &Tlo::hidden, &loop, &QEventLoop::quit);
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::DialogExec);
}
