#include "app/forms.h"
#include "editor/redak.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    forms::redak().show();
    return app.exec();
}
