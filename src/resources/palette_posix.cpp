// The desktop's palette where it has a role for a system colour: the
// windows' frames and workspace then match the rest of the desktop.
#include "resources/palette.h"

#include <QApplication>
#include <QPalette>

std::optional<QColor> desktopColour(int index) {
    namespace sys = pismolot::syscolour;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return std::nullopt;
    const QPalette palette = QApplication::palette();
    switch (index) {
    case sys::ActiveBorder.systemIndex():
        return palette.color(QPalette::Window);
    case sys::AppWorkspace.systemIndex():
        return palette.color(QPalette::Dark);
    case sys::ButtonFace.systemIndex():
        return palette.color(QPalette::Button);
    default:
        return std::nullopt;
    }
}
