#pragma once

#include "render/job.h"

#include <QWidget>

#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ColourSwatch;

// The editor, the start-up window. Its controls hold the effect's settings;
// the render job reads them after "&OK" hides the window.
class Redak : public QWidget {
    Q_OBJECT
public:
    explicit Redak(QWidget* parent = nullptr); // runs Form_Load

    // Settings as the render job reads them, straight from the controls.
    QString effectText() const;             // Text1's text
    pismolot::FontSpec previewFont() const; // Text1's font
    int styleIndex() const;                 // List2's selected index
    pismolot::ColourValue backgroundColour() const; // Label4's background

    // Controls, by the names of the layout.
    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QComboBox* List1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    std::array<QPushButton*, 3> tbToolBar{};
    QComboBox* List2 = nullptr;
    QLabel* Label3 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Image1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    ColourSwatch* Label4 = nullptr;
    QPushButton* Command1 = nullptr;
    QComboBox* Text2 = nullptr;
};
