#pragma once

#include "ui/ApplicationEventWatcher.h"

#include <QList>

class QAbstractButton;
class QWidget;

// Gives a work window's own buttons their access keys while the focus is inside the window:
// Alt+S on "保存新增(&S)" saves, although the main menu "系统(&S)" carries the same key. Left to
// Qt, the two would clash and the menu would open. Watches the application's key events.
class ButtonAccessKeys : public ApplicationEventWatcher {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ButtonAccessKeys)

public:
    ButtonAccessKeys(QWidget *window, const QList<QAbstractButton *> &buttons);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractButton *buttonFor(QObject *watched, QEvent *event) const;

    QWidget *m_window;
    QList<QAbstractButton *> m_buttons;
};
