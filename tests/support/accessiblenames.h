#pragma once

#include <QAccessible>
#include <QAccessibleInterface>
#include <QByteArray>
#include <QMap>
#include <QWidget>

#include <gtest/gtest.h>

// What a screen reader hears a widget called.
inline QString accessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

inline QString describe(const QWidget* widget) {
    return QStringLiteral("%1 (%2)").arg(widget->objectName(),
                                         QString::fromLatin1(widget->metaObject()->className()));
}

// Every visible control of `window` has a name of its own: none empty, no two
// side by side the same; at least `atLeast` controls were looked at.
inline void expectEveryControlNamed(QWidget* window, int atLeast) {
    EXPECT_FALSE(accessibleName(window).isEmpty()) << "the window";
    QMap<QWidget*, QMap<QString, QString>> namesByParent;
    int checked = 0;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        // Qt's own buttons of a maximised child in the menu bar are Qt's to name.
        if (!widget->isVisibleTo(window) ||
            QByteArray(widget->metaObject()->className()).startsWith("QMdi::"))
            continue;
        ++checked;
        const QString name = accessibleName(widget);
        EXPECT_FALSE(name.trimmed().isEmpty()) << describe(widget).toStdString() << " has no name";
        QMap<QString, QString>& siblings = namesByParent[widget->parentWidget()];
        EXPECT_FALSE(siblings.contains(name))
            << '"' << name.toStdString() << "\" names both " << describe(widget).toStdString()
            << " and " << siblings.value(name).toStdString();
        siblings.insert(name, describe(widget));
    }
    EXPECT_GE(checked, atLeast);
}
