#pragma once

#include <QDialog>

// The background colour dialog "Zmień tło".
class Tlo : public QDialog {
    Q_OBJECT
public:
    explicit Tlo(QWidget* parent = nullptr); // runs Form_Load

    // Shows the dialog modally; returns when it is hidden or closed.
    void showModal();
};
