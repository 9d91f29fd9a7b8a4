#pragma once

#include "ui/ApplicationEventWatcher.h"

class QWidget;

// Closes a lookup grid when a mouse button is pressed, released or double-clicked anywhere in
// the application except on the grid itself, or on its box while the box has the focus. It
// watches every mouse-button event of the application and passes each on unchanged.
class LookupCloser : public ApplicationEventWatcher {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LookupCloser)

public:
    LookupCloser(QWidget *lookup, QWidget *box, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_lookup;
    QWidget *m_box;
};
