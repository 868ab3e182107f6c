#include "ui/palette.h"

#include <QApplication>
#include <QPalette>

QColor toQColor(pismolot::ColourValue colour) {
    if (colour.isSystem() && qobject_cast<QApplication*>(QCoreApplication::instance())) {
        const QPalette palette = QApplication::palette();
        switch (colour.systemIndex()) {
        case 10:
            return palette.color(QPalette::Window); // active border
        case 12:
            return palette.color(QPalette::Dark); // application workspace
        case 15:
            return palette.color(QPalette::Button); // button face
        default:
            break;
        }
    }
    const pismolot::ColourValue rgb = colour.toRgb();
    return QColor(rgb.red(), rgb.green(), rgb.blue());
}
