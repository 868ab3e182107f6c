#include "resources/appearance.h"

#include "resources/access.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ui {

QFont dialogFont(double points) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    for (const QString& family : dialogFontFamilies()) {
        if (QFontDatabase::hasFamily(family)) {
            font = QFont(family);
            break;
        }
    }
    font.setPointSizeF(points);
    return font;
}

bool loadQtTranslation(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    // Built into the program where no Qt is installed beside it (Windows),
    // else Qt's installed translations.
    for (const QString& folder :
         {QStringLiteral(":/translations"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (translator->load(QLocale(QLocale::Polish, QLocale::Poland), QStringLiteral("qtbase"),
                             QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
    }
    delete translator;
    return false;
}

void setUpApplication(QApplication& app) {
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    loadQtTranslation(app);
    QApplication::setFont(dialogFont());
    setUpAccess(app);
}

} // namespace ui
