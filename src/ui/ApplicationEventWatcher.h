#pragma once

#include <QObject>

// Base of the helpers that watch every event of the application while they live: installs
// itself as the application's event filter and removes itself when it goes.
class ApplicationEventWatcher : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ApplicationEventWatcher)

protected:
    explicit ApplicationEventWatcher(QObject *parent);
    ~ApplicationEventWatcher() override;
};
