#include "app/QuilloApplication.h"

#include "ui/CommandGuard.h"

QuilloApplication::QuilloApplication(int &argc, char **argv)
    : QApplication(argc, argv) {}

bool QuilloApplication::notify(QObject *receiver, QEvent *event) {
    bool handled = false;
    RunCommand([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
