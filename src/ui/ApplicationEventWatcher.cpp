#include "ui/ApplicationEventWatcher.h"

#include <QCoreApplication>

ApplicationEventWatcher::ApplicationEventWatcher(QObject *parent)
    : QObject(parent) {
    QCoreApplication::instance()->installEventFilter(this);
}

ApplicationEventWatcher::~ApplicationEventWatcher() {
    if (QCoreApplication *application = QCoreApplication::instance())
        application->removeEventFilter(this);
}
