#include "resources/palette.h"

#include <QApplication>
#include <QPalette>

QColor toQColor(pismolot::ColourValue colour) {
    namespace sys = pismolot::syscolour;
    if (colour.isSystem() && qobject_cast<QApplication*>(QCoreApplication::instance())) {
        const QPalette palette = QApplication::palette();
        switch (colour.systemIndex()) {
        case sys::ActiveBorder.systemIndex():
            return palette.color(QPalette::Window);
        case sys::AppWorkspace.systemIndex():
            return palette.color(QPalette::Dark);
        case sys::ButtonFace.systemIndex():
            return palette.color(QPalette::Button);
        default:
            break;
        }
    }
    const pismolot::ColourValue rgb = colour.toRgb();
    return QColor(rgb.red(), rgb.green(), rgb.blue());
}
