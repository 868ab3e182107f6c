#include "app/forms.h"

#include "about/autorx.h"
#include "colour/tlo.h"
#include "editor/redak.h"
#include "mainwin/mdi.h"
#include "mainwin/rys.h"
#include "resources/screens.h"
#include "resources/xdata.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>

#include <algorithm>
#include <optional>

namespace forms {

namespace {

QPointer<Redak> redakSlot;
QPointer<MDI> mdiSlot;
QPointer<Rys> rysSlot;
QPointer<Tlo> tloSlot;
QPointer<AutorX> autorXSlot;
QPointer<XData> xdataSlot;
// What the editor handed over at "&OK", for the render window.
std::optional<pismolot::EffectSettings> confirmedSettings;
std::function<void()> endHandler;

// A window opens on the screen the editor is on, where the user works, and
// keeps to the screen it is on from then on.
void placeOnEditorScreen(QWidget& window) {
    QScreen* screen = redakSlot ? redakSlot->screen() : nullptr;
    if (!window.isWindow() || &window == static_cast<QWidget*>(redakSlot.data()) || !screen ||
        screen == window.screen())
        return;
    window.setScreen(screen);
    // Qt leaves the position to the program: into that screen's work area.
    const QRect area = screen->availableGeometry();
    window.move(area.topLeft() + QPoint(std::max(0, (area.width() - window.width()) / 2),
                                        std::max(0, (area.height() - window.height()) / 2)));
}

template <class W, class Make> W& instance(QPointer<W>& slot, Make make) {
    if (!slot) {
        slot = make();
        slot->setAttribute(Qt::WA_DeleteOnClose);
        placeOnEditorScreen(*slot);
        ui::followScreen(*slot);
    }
    return *slot;
}

template <class W> void destroy(QPointer<W>& slot) {
    delete slot.data();
    slot.clear();
}

Redak* makeRedak() {
    auto* editor = new Redak([](int style) { return xdata().picture(style); });
    // A direct connection: "Zmień" waits in showModal until the dialog hides.
    QObject::connect(editor, &Redak::colourDialogWanted, editor, [] { tlo().showModal(); });
    QObject::connect(editor, &Redak::settingsConfirmed, editor,
                     [](const pismolot::EffectSettings& settings) {
                         confirmedSettings = settings;
                         if (rysSlot)
                             rysSlot->setSettings(settings);
                         mdi().show();
                     });
    QObject::connect(editor, &Redak::aboutBoxWanted, editor, [] { autorX().showModeless(); });
    QObject::connect(editor, &Redak::quitRequested, editor, [] { endProgram(); });
    return editor;
}

Tlo* makeTlo() {
    auto* dialog = new Tlo;
    QObject::connect(dialog, &Tlo::colourChosen, dialog, [](pismolot::ColourValue colour) {
        if (redakSlot)
            redakSlot->setBackgroundColour(colour);
    });
    return dialog;
}

MDI* makeMdi() {
    auto* main = new MDI([]() -> Rys& { return rys(); });
    if (rysSlot)
        main->setRenderWindow(*rysSlot);
    QObject::connect(main, &MDI::aboutBoxWanted, main, [] { autorX().showModeless(); });
    QObject::connect(main, &MDI::quitRequested, main, [] { endProgram(); });
    return main;
}

Rys* makeRys() {
    auto* render = new Rys(confirmedSettings.value_or(pismolot::EffectSettings{}));
    if (mdiSlot)
        mdiSlot->setRenderWindow(*render);
    return render;
}

} // namespace

Redak& redak() {
    return instance(redakSlot, makeRedak);
}
MDI& mdi() {
    return instance(mdiSlot, makeMdi);
}
Rys& rys() {
    return instance(rysSlot, makeRys);
}
Tlo& tlo() {
    return instance(tloSlot, makeTlo);
}
AutorX& autorX() {
    return instance(autorXSlot, [] { return new AutorX; });
}
XData& xdata() {
    return instance(xdataSlot, [] { return new XData; });
}

bool hasRedak() {
    return !redakSlot.isNull();
}
bool hasMdi() {
    return !mdiSlot.isNull();
}
bool hasRys() {
    return !rysSlot.isNull();
}
bool hasTlo() {
    return !tloSlot.isNull();
}
bool hasAutorX() {
    return !autorXSlot.isNull();
}

void endProgram() {
    if (endHandler) {
        endHandler();
        return;
    }
    // At once: every window disappears, none gets a close event, nothing is
    // asked; leaving the event loop lets Qt hand the clipboard over on exit.
    for (QWidget* w : QApplication::topLevelWidgets())
        w->hide();
    QCoreApplication::exit(0);
}

void setEndProgramHandler(std::function<void()> handler) {
    endHandler = std::move(handler);
}

void unloadAll() {
    destroy(rysSlot);
    destroy(mdiSlot);
    destroy(tloSlot);
    destroy(autorXSlot);
    destroy(redakSlot);
    destroy(xdataSlot);
    confirmedSettings.reset();
}

} // namespace forms
