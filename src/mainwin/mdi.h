#pragma once

#include <QMainWindow>

// The main window: hosts the render window and the output commands.
class MDI : public QMainWindow {
    Q_OBJECT
public:
    explicit MDI(QWidget* parent = nullptr); // runs MDIForm_Load
};
