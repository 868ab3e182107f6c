// What a screen reader hears in the main window, the render child and the
// wait window: every visible control has a Polish name, no two side by side
// the same.
#include "app/forms.h"
#include "mainwin/mdi.h"
#include "mainwin/rys.h"
#include "mainwin/temp.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QMap>
#include <QTest>
#include <QTimer>

#include "freshwindows.h"

#include <gtest/gtest.h>

namespace {

QString accessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

QString describe(const QWidget* widget) {
    return QString::fromLatin1(widget->metaObject()->className()) + u' ' + widget->objectName();
}

void expectNamed(QWidget* window) {
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
    EXPECT_GE(checked, 2);
}

class MainWindowNames : public FreshWindows<> {};

TEST_F(MainWindowNames, MainWindowWithTheRenderChild) {
    MDI& main = forms::mdi();
    main.Timer1->stop();
    Rys& child = forms::rys();
    child.stopTimer(); // the render job is not needed to name the controls
    main.showRenderWindow(child);
    child.setResultPicture(QImage(20, 10, QImage::Format_RGB32));
    child.showResultPicture();
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    expectNamed(&main);
}

TEST_F(MainWindowNames, WaitWindow) {
    Temp wait;
    wait.showWaiting();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&wait));
    expectNamed(&wait);
}

} // namespace
