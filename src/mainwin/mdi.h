#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPointer>

#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;
class Rys;

// The main window: hosts the render window and the output commands.
class MDI : public QMainWindow {
    Q_OBJECT
public:
    // Where Timer1 gets the render window from. The tick may come while
    // MDIForm_Load yields, so this is given before anything else runs.
    using RenderWindowSource = std::function<Rys&()>;

    explicit MDI(RenderWindowSource renderWindow, QWidget* parent = nullptr); // runs MDIForm_Load

    void MDIForm_Load();
    void Timer1_Timer();
    void zapisz_Click();
    void kopiuj_Click();
    void autor_Click();
    void koniec_Click();
    void MDIForm_Unload();

    // The render window whose picture the output commands take.
    void setRenderWindow(Rys& rys);
    // Hosts `rys` as the maximised child.
    void showRenderWindow(Rys& rys);
    // The result picture at this moment: empty before the job has made it.
    QImage resultPicture() const;

    // How "Zapisz jako..." asks for the file name and the name filter left
    // selected: AskSaveFileName, unless tests put in their own answer.
    std::function<QString(QWidget* owner, QString filter, const QString& title,
                          const QString& initialDir, QString* selectedFilter)>
        askFileName;
    // How a failed copy or save is reported: a warning box by default.
    std::function<void(const QString& message)> showMessage;

    QMdiArea* mdiArea = nullptr;
    QWidget* Picture1 = nullptr; // the hint strip along the bottom
    QLabel* Label1 = nullptr;
    QTimer* Timer1 = nullptr;

    QMenu* plik = nullptr;
    QAction* zapisz = nullptr;
    QAction* p1 = nullptr;
    QAction* koniec = nullptr;
    QMenu* edycja = nullptr;
    QAction* kopiuj = nullptr;
    QMenu* pomoc = nullptr;
    QAction* autor = nullptr;

signals:
    void aboutBoxWanted();
    void quitRequested();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createWorkspace();
    void createMenus();
    void createHintStrip();
    void placeHintStrip();
    void createTimer();

    RenderWindowSource renderWindow_;
    QPointer<Rys> rys_;
};
