#pragma once

#include <QApplication>

// The application object. An error that escapes an event handler is shown with its text and
// the program goes on running.
class QuilloApplication : public QApplication {
    Q_OBJECT

public:
    QuilloApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
