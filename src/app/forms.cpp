#include "app/forms.h"

#include "about/autorx.h"
#include "colour/tlo.h"
#include "editor/redak.h"
#include "mainwin/mdi.h"
#include "mainwin/rys.h"
#include "resources/xdata.h"

#include <QApplication>
#include <QPointer>

namespace forms {

namespace {

QPointer<Redak> redakSlot;
QPointer<MDI> mdiSlot;
QPointer<Rys> rysSlot;
QPointer<Tlo> tloSlot;
QPointer<AutorX> autorXSlot;
QPointer<XData> xdataSlot;
std::function<void()> endHandler;

template <class W> W& instance(QPointer<W>& slot) {
    if (!slot) {
        slot = new W;
        slot->setAttribute(Qt::WA_DeleteOnClose);
    }
    return *slot;
}

template <class W> void destroy(QPointer<W>& slot) {
    delete slot.data();
    slot.clear();
}

} // namespace

Redak& redak() {
    return instance(redakSlot);
}
MDI& mdi() {
    return instance(mdiSlot);
}
Rys& rys() {
    return instance(rysSlot);
}
Tlo& tlo() {
    return instance(tloSlot);
}
AutorX& autorX() {
    return instance(autorXSlot);
}
XData& xdata() {
    return instance(xdataSlot);
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
}

} // namespace forms
