#pragma once

#include "render/job.h"
#include "resources/colourbutton.h"
#include "resources/framebox.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <functional>

class QCloseEvent;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ColourSwatch;

// The editor, the start-up window. Its controls hold the effect's settings;
// "&OK" hands them on as one value.
class Redak : public QWidget {
    Q_OBJECT
public:
    // The stored preview picture of a style; a null image where there is none.
    using PictureStore = std::function<QImage(int style)>;

    explicit Redak(PictureStore pictures, QWidget* parent = nullptr); // runs Form_Load

    // The settings as the controls hold them, read in the order the render
    // job reads them: background, text, font, style.
    pismolot::EffectSettings effectSettings() const;
    QString effectText() const;                     // Text1's text
    pismolot::FontChoice previewFont() const;       // Text1's font
    int styleIndex() const;                         // List2's selected index
    pismolot::ColourValue backgroundColour() const; // Label4's background
    // The colour dialog's answer: Label4 takes the colour.
    void setBackgroundColour(pismolot::ColourValue colour);

    // Applies the font list's name and the size box's number to Text1's font.
    void Zmien();

    // Whether loading has filled the lists (the style picture follows the
    // style list only from then on).
    bool listsFilled() const { return ListsFilled; }
    // Background colour of attribute button `index` (0 bold, 1 italic, 2 underline).
    pismolot::ColourValue attributeShading(int index) const;

    // Controls, by the names of the layout.
    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QComboBox* List1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    std::array<ColourButton*, 3> tbToolBar{}; // checkable; checked = the attribute is on
    QComboBox* List2 = nullptr;
    QLabel* Label3 = nullptr;
    FrameBox* Frame1 = nullptr;
    QLabel* Image1 = nullptr;
    FrameBox* Frame2 = nullptr;
    ColourSwatch* Label4 = nullptr;
    QPushButton* Command1 = nullptr;
    QComboBox* Text2 = nullptr;

signals:
    // "Zmień": the colour dialog is to be shown modally; the editor waits
    // until the connected slot returns.
    void colourDialogWanted();
    // "&OK", after the editor has hidden itself.
    void settingsConfirmed(const pismolot::EffectSettings& settings);
    // "&Autor".
    void aboutBoxWanted();
    // "&Koniec" and the close box.
    void quitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void List1_Click();
    void List2_Click();
    void Text2_Click();
    void Text2_Change();
    void Text2_KeyPress(int& keyAscii);
    void Text2_KeyUp(int keyCode, Qt::KeyboardModifiers shift);
    void tbToolBar_Click(int index);

    void createControls();
    void nameControls();
    void arrangeTabOrder();
    void connectHandlers();
    void setShading(int index, pismolot::ColourValue colour);
    void setPreviewFont(const pismolot::FontChoice& font);

    PictureStore pictures_;
    bool ListsFilled = false;
    std::array<pismolot::ColourValue, 3> shading_{};
};
