#include "editor/redak.h"

#include "editor/colourswatch.h"
#include "editor/editormodel.h"
#include "render/fonts.h"
#include "render/oneline.h"
#include "resources/centre.h"
#include "resources/combo.h"
#include "resources/frames.h"
#include "resources/icons.h"
#include "resources/palette.h"
#include "resources/twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontInfo>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QValidator>

#include <algorithm>
#include <optional>

namespace {

constexpr int SizeBoxArrowWidth = 12;

// Text1 holds what it shows: a pasted line break or tab, which the box shows
// as a space, becomes a space in the text itself, so the picture draws the
// words apart as the box shows them (text drawing drops line breaks).
class OneLineValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        input = pismolot::shownOnOneLine(input, &pos);
        return Acceptable;
    }
};

// The character a key press types, as the size box's key filter sees it; none
// for keys that only edit or move (Delete, arrows, Home, End) and for Tab,
// which moves the focus on.
std::optional<int> typedCharacter(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return std::nullopt;
    default:
        break;
    }
    const QString text = event.text();
    if (!text.isEmpty() && text.front() != QChar(0x7F))
        return text.front().unicode();
    // Ctrl+letter types a control character (Ctrl+V is 22) even where the
    // platform reports no text for it.
    if ((event.modifiers() & Qt::ControlModifier) && event.key() >= Qt::Key_A &&
        event.key() <= Qt::Key_Z)
        return event.key() - Qt::Key_A + 1;
    return std::nullopt;
}

bool allDigits(const QString& text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

// Fills a list without selecting anything: Qt selects the first item added to
// an empty combo box, but filling a list must fire no click.
void fillUnselected(QComboBox* list, const QStringList& items, const QString& keepText = {}) {
    const QSignalBlocker block(list);
    list->addItems(items);
    list->setCurrentIndex(-1);
    if (list->isEditable())
        list->setEditText(keepText);
}

} // namespace

Redak::Redak(PictureStore pictures, QWidget* parent)
    : QWidget(parent), pictures_(std::move(pictures)) {
    // A normal window, not a dialog: Qt makes every dialog transient for the
    // program, and panels list no such window, while the editor is the
    // program's first window and some window managers let it be minimised
    // whatever it asks.
    setWindowFlags(Qt::Window | ui::FixedFrame);
    setWindowTitle(QStringLiteral("Pismolot"));
    setWindowIcon(icons::editor());
    setFixedSize(twips::size(6975, 4440));
    ui::fixedFrame(*this);
    ui::centreOnScreen(*this);

    createControls();
    nameControls();
    arrangeTabOrder();
    connectHandlers();
    Form_Load();
}

void Redak::createControls() {
    Label1 = new QLabel(QStringLiteral("Tutaj wpisz tekst"), this);
    Label1->setGeometry(twips::rect(120, 840, 1695, 255));

    Text1 = new QLineEdit(QStringLiteral("Text"), this);
    Text1->setGeometry(twips::rect(120, 1080, 4815, 2775));
    Text1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Text1->setValidator(new OneLineValidator(Text1));

    List1 = new QComboBox(this);
    List1->setGeometry(twips::rect(120, 360, 2295, 315));
    List1->setToolTip(QStringLiteral("Wybierz z listy czcionkę"));

    Label2 = new QLabel(QStringLiteral("Czcionka"), this);
    Label2->setGeometry(twips::rect(120, 120, 2175, 255));

    Command2 = new QPushButton(QStringLiteral("&OK"), this);
    Command2->setGeometry(twips::rect(360, 3960, 1935, 375));
    Command3 = new QPushButton(QStringLiteral("&Autor"), this);
    Command3->setGeometry(twips::rect(2400, 3960, 1935, 375));
    Command4 = new QPushButton(QStringLiteral("&Koniec"), this);
    Command4->setGeometry(twips::rect(4560, 3960, 2055, 375));

    static constexpr char Letters[] = {'B', 'I', 'U'};
    static const char* const Tips[] = {"Pogrubienie", "Kursywa", "Podkreślenie"};
    for (int k = 0; k < editor::AttributeCount; ++k) {
        auto* button = new ColourButton(QString(), this);
        button->setCheckable(true);
        button->setGeometry(twips::rect(3240 + 360 * k, 360, 375, 375));
        button->setToolTip(QString::fromUtf8(Tips[k]));
        button->setIcon(QIcon(icons::attributeLetter(Letters[k])));
        button->setIconSize(button->size() - QSize(4, 4));
        tbToolBar[std::size_t(k)] = button;
        setShading(k, editor::ShadingOff);
    }

    List2 = new QComboBox(this);
    List2->setGeometry(twips::rect(4560, 360, 2295, 315));
    List2->setToolTip(QStringLiteral("Wybierz styl liter"));

    Label3 = new QLabel(QStringLiteral("Styl"), this);
    Label3->setGeometry(twips::rect(4560, 120, 1575, 255));

    Frame1 = new FrameBox(QStringLiteral("Podgląd"), this);
    Frame1->setGeometry(twips::rect(5040, 1080, 1815, 1455));
    Frame1->setAutoFillBackground(true);
    QPalette framePalette = Frame1->palette();
    framePalette.setColor(QPalette::Window, toQColor(pismolot::syscolour::ActiveBorder));
    Frame1->setPalette(framePalette);

    Image1 = new QLabel(Frame1);
    Image1->setGeometry(twips::rect(120, 300, 1560, 975));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Frame2 = new FrameBox(QStringLiteral("Tło"), this);
    Frame2->setGeometry(twips::rect(5040, 2640, 1815, 1095));

    Label4 = new ColourSwatch(Frame2);
    Label4->setGeometry(twips::rect(120, 240, 1575, 255));
    Label4->setBackColor(pismolot::syscolour::CaptionText);

    Command1 = new QPushButton(QStringLiteral("Zmień"), Frame2);
    Command1->setGeometry(twips::rect(240, 600, 1335, 375));

    Text2 = new QComboBox(this);
    Text2->setEditable(true);
    Text2->setGeometry(twips::rect(2520, 360, 615, 315));
    // A plain drop-down box: it neither completes typed digits to a preset
    // nor adds what is typed to its list.
    Text2->setCompleter(nullptr);
    Text2->setInsertPolicy(QComboBox::NoInsert);
    Text2->setEditText(QString::fromLatin1(editor::SizeBoxDesignText));
    Text2->installEventFilter(this);
    Text2->lineEdit()->installEventFilter(this);
    // The box is 41 pixels wide: with the style's own arrow "480" would not
    // fit beside it.
    ui::narrowArrow(*Text2, SizeBoxArrowWidth);

    for (QComboBox* list : {List1, List2, Text2}) {
        ui::fitPopupToContents(*list);
        ui::wheelOnlyWithFocus(*list);
    }
}

// What a screen reader calls each control: the captions where they say it,
// the tooltips for the picture buttons and the lists, and a name for each
// control that shows no text.
void Redak::nameControls() {
    Label1->setBuddy(Text1);
    Label2->setBuddy(List1);
    Label3->setBuddy(List2);
    Text1->setAccessibleName(QStringLiteral("Tekst"));
    // Where a combo's name is its choice (as on Linux), the label it is
    // labelled by and its description still say what it is for.
    List1->setAccessibleName(List1->toolTip());
    List2->setAccessibleName(List2->toolTip());
    Text2->setAccessibleName(QStringLiteral("Rozmiar czcionki"));
    Text2->setAccessibleDescription(QStringLiteral("Rozmiar czcionki"));
    Text2->lineEdit()->setAccessibleName(QStringLiteral("Rozmiar czcionki"));
    for (ColourButton* button : tbToolBar)
        button->setAccessibleName(button->toolTip());
    Image1->setAccessibleName(QStringLiteral("Podgląd stylu"));
    Label4->setAccessibleName(QStringLiteral("Kolor tła"));
    Command1->setAccessibleName(QStringLiteral("Zmień tło"));
    Command2->setAccessibleName(QStringLiteral("OK"));
    Command3->setAccessibleName(QStringLiteral("Autor"));
    Command4->setAccessibleName(QStringLiteral("Koniec"));
}

void Redak::arrangeTabOrder() {
    QWidget* const order[] = {Text1,    List1,        Command2,     Command3,
                              Command4, tbToolBar[0], tbToolBar[1], tbToolBar[2],
                              List2,    Command1,     Text2};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void Redak::connectHandlers() {
    connect(Command1, &QPushButton::clicked, this, &Redak::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Redak::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Redak::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Redak::Command4_Click);
    for (int k = 0; k < editor::AttributeCount; ++k)
        connect(tbToolBar[std::size_t(k)], &QPushButton::clicked, this,
                [this, k] { tbToolBar_Click(k); });
    // A selection set by the program fires the click handler as a user's does.
    connect(List1, &QComboBox::currentIndexChanged, this, &Redak::List1_Click);
    connect(List2, &QComboBox::currentIndexChanged, this, &Redak::List2_Click);
    connect(Text2, &QComboBox::currentIndexChanged, this, &Redak::Text2_Click);
    // Picking the preset that is already current still counts as a click.
    connect(Text2, &QComboBox::activated, this, &Redak::Text2_Click);
    connect(Text2, &QComboBox::editTextChanged, this, &Redak::Text2_Change);
}

void Redak::Form_Load() {
    ListsFilled = false;

    fillUnselected(List1, pismolot::sortedFontFamilies());
    List1->setCurrentIndex(0);

    QStringList presets;
    for (const char* preset : editor::SizePresets)
        presets << QString::fromLatin1(preset);
    fillUnselected(Text2, presets, Text2->currentText());
    Text2->setCurrentIndex(editor::StartPresetIndex);

    fillUnselected(List2, pismolot::styleNameList());
    ListsFilled = true;
    List2->setCurrentIndex(0);
}

pismolot::EffectSettings Redak::effectSettings() const {
    pismolot::EffectSettings settings;
    settings.background = backgroundColour();
    settings.text = effectText();
    settings.font = previewFont();
    settings.styleIndex = std::int16_t(styleIndex());
    return settings;
}

QString Redak::effectText() const {
    return Text1->text();
}

pismolot::FontChoice Redak::previewFont() const {
    const QFont font = Text1->font();
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
    return {font.family(), float(points), font.bold(), font.italic(), font.underline()};
}

int Redak::styleIndex() const {
    return List2->currentIndex();
}

pismolot::ColourValue Redak::backgroundColour() const {
    return Label4->backColor();
}

void Redak::setBackgroundColour(pismolot::ColourValue colour) {
    Label4->setBackColor(colour);
}

pismolot::ColourValue Redak::attributeShading(int index) const {
    if (index < 0 || index >= editor::AttributeCount)
        return editor::ShadingOff;
    return shading_[std::size_t(index)];
}

void Redak::setPreviewFont(const pismolot::FontChoice& font) {
    if (font != previewFont())
        Text1->setFont(pismolot::makeFont(font));
}

void Redak::setShading(int index, pismolot::ColourValue colour) {
    shading_[std::size_t(index)] = colour;
    tbToolBar[std::size_t(index)]->setBackColor(colour);
}

void Redak::Zmien() {
    setPreviewFont(editor::applyFontChoice(previewFont(), List1->currentText(),
                                           Text2->currentText(),
                                           twips::renderDpi(twips::screenOf(*this))));
}

void Redak::List1_Click() {
    Zmien();
}
void Redak::Text2_Click() {
    Zmien();
}
void Redak::Text2_Change() {
    Zmien();
}

void Redak::Text2_KeyPress(int& keyAscii) {
    if (editor::filterSizeKey(keyAscii))
        Zmien();
}

void Redak::Text2_KeyUp(int, Qt::KeyboardModifiers) {
    Zmien();
}

void Redak::tbToolBar_Click(int index) {
    setPreviewFont(editor::toggleAttribute(previewFont(), index));
    // Shading and checked state show the attribute the font really has.
    const bool on = editor::attribute(previewFont(), index);
    setShading(index, editor::shadingFor(on));
    tbToolBar[std::size_t(index)]->setChecked(on);
    Zmien();
}

void Redak::List2_Click() {
    if (!ListsFilled)
        return;
    // No picture for the index (no selection): the previous one stays.
    const QImage picture = pictures_ ? pictures_(List2->currentIndex()) : QImage();
    if (picture.isNull())
        return;
    // The stored 104 x 65 picture fills its 104 x 65 logical pixels, smoothly
    // scaled where a logical pixel is more than one device pixel.
    const qreal ratio = devicePixelRatioF();
    QImage shown = picture;
    if (ratio != 1.0)
        shown = picture.scaled((QSizeF(picture.size()) * ratio).toSize(), Qt::IgnoreAspectRatio,
                               Qt::SmoothTransformation);
    shown.setDevicePixelRatio(ratio);
    Image1->setPixmap(QPixmap::fromImage(shown));
}

void Redak::Command1_Click() {
    emit colourDialogWanted();
}

void Redak::Command2_Click() {
    const pismolot::EffectSettings settings = effectSettings();
    hide();
    emit settingsConfirmed(settings);
}

void Redak::Command3_Click() {
    emit aboutBoxWanted();
}
void Redak::Command4_Click() {
    emit quitRequested();
}
void Redak::Form_Unload() {
    emit quitRequested();
}

void Redak::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

bool Redak::eventFilter(QObject* watched, QEvent* event) {
    // Keys reach the size box's combo, which hands them to its line edit
    // directly; either may be sent keys, so both are watched.
    if (watched != Text2 && watched != Text2->lineEdit())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const std::optional<int> typed = typedCharacter(*key);
        if (!typed)
            return false;
        int keyAscii = *typed;
        Text2_KeyPress(keyAscii);
        // A discarded character never reaches the box.
        return keyAscii == 0;
    }
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat())
            Text2_KeyUp(key->key(), key->modifiers());
        return false;
    }
    case QEvent::InputMethod: {
        // Composed text takes the same rule as typed characters.
        auto* input = static_cast<QInputMethodEvent*>(event);
        if (!allDigits(input->commitString()) || !input->preeditString().isEmpty()) {
            input->accept();
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}
