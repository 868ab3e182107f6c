#pragma once

#include <QFont>
#include <QStringList>

class QApplication;
class QCoreApplication;

// What every window of the program shares in look and language, set up once
// before the first window opens.
namespace ui {

// The families the dialog font is taken from, best first: the platform's own
// dialog font where it has one, otherwise narrow sans serifs whose widths
// match those the stored layouts were made for.
QStringList dialogFontFamilies();

// The dialog font: the first installed family of dialogFontFamilies() (the
// desktop's general font where none is installed) at `points`.
QFont dialogFont(double points = 8);

// Loads Qt's own Polish texts (its dialogs, message box buttons and window
// menus) whatever the system's language, since the whole interface is
// Polish. Returns false when the translation is not installed.
bool loadQtTranslation(QCoreApplication& app);

// The dialog font for every window, Qt's Polish texts and Polish formats,
// and the keyboard and screen-reader habits of setUpAccess.
void setUpApplication(QApplication& app);

} // namespace ui
