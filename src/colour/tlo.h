#pragma once

#include "colour/colourmodel.h"

#include <QAbstractSlider>
#include <QDialog>

#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

// The background colour dialog "Zmień tło". The widgets forward their events
// to a ColourModel and show its state; "OK" hands on the preview's back colour.
class Tlo : public QDialog {
    Q_OBJECT
public:
    explicit Tlo(QWidget* parent = nullptr); // runs Form_Load

    // Shows the dialog modally; returns when it is hidden or closed.
    void showModal();

    const ColourModel& model() const { return model_; }

    // Controls, by the names of the layout.
    QScrollBar* HScroll1 = nullptr;
    QScrollBar* HScroll2 = nullptr;
    QScrollBar* HScroll3 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLabel* Label1 = nullptr; // the preview
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;

    void Command1_Click();
    void Command2_Click();

signals:
    // "OK": the colour chosen, before the dialog hides.
    void colourChosen(pismolot::ColourValue colour);
    // The dialog was hidden by the program or closed (ends a modal show).
    void hidden();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Form_Load();
    void createControls();
    void connectControls();
    void showState();
    int partOfBox(const QObject* box) const;
    static std::optional<QAbstractSlider::SliderAction> scrollKeyAction(int key);

    ColourModel model_;
    std::array<QScrollBar*, ColourModel::PartCount> bars_{};
    std::array<QLineEdit*, ColourModel::PartCount> boxes_{};
};
