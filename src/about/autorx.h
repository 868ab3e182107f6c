#pragma once

#include "about/aboutlogic.h"
#include "resources/colourbutton.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;
class QUrl;
class QWindow;

// The About box "O autorze ...".
class AutorX : public QWidget {
    Q_OBJECT
public:
    explicit AutorX(QWidget* parent = nullptr); // runs Form_Load

    // Shows the window modeless; if it is open, brings it to the front.
    void showModeless();

    // Puts every button back to the normal colour.
    void Marz();

    // What opens a web or mail address; the desktop's handler by default.
    // Tests put a recorder here. An empty function restores the default.
    using UrlOpener = std::function<void(const QUrl&)>;
    static void setUrlOpener(UrlOpener opener);

    // The gradient painted at load, which the window repaints from.
    const QImage& background() const { return background_; }

    // Controls, by the names of the layout.
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    ColourButton* Command1 = nullptr;
    ColourButton* Command2 = nullptr;
    ColourButton* Command3 = nullptr;
    QLabel* Label3 = nullptr;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void Form_Activate();
    void Form_MouseMove();
    void Label3_MouseMove();
    void Command1_MouseMove();
    void Command2_MouseMove();
    void Command3_MouseMove();

    void createControls();
    void paintGradient();
    void centre();
    void mouseMovedOver(about::Spot spot);
    bool activatedFromWithin() const;

    QImage background_;
    // The program's focus window now and the one before it, to tell an
    // activation from one of our windows from a return from another program.
    QPointer<QWindow> focusNow_;
    QPointer<QWindow> focusBefore_;
};
