#pragma once

#include <QWidget>

// The About box "O autorze ...".
class AutorX : public QWidget {
    Q_OBJECT
public:
    explicit AutorX(QWidget* parent = nullptr); // runs Form_Load

    // Shows the window modeless; if it is open, brings it to the front.
    void showModeless();
};
