// mirawen-bench-empty-dialog: the yardstick for the window's start-up time, a
// plain Qt program that opens an empty dialog of the lookup window's size.

#include "app/DialogStyle.h"
#include "app/DialogUnits.h"

#include <QApplication>
#include <QDialog>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog(nullptr, kFixedDialogFlags);
    dialog.setWindowTitle(QStringLiteral("Empty 1.0"));
    dialog.setFont(dialogFont(kMainPointSize));
    dialog.setFixedSize(DialogUnits(dialog.font()).size(341, 374));
    dialog.show();
    return app.exec();
}
