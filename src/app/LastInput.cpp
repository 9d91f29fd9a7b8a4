#include "app/LastInput.h"

#include "data/Clock.h"

#include <QEvent>

LastInput::LastInput(QObject *parent)
    : ApplicationEventWatcher(parent)
    , m_ticks(Clock::tickCount()) {}

void LastInput::touch() {
    m_ticks = Clock::tickCount();
}

bool LastInput::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
        touch();
        break;
    default:
        break;
    }
    return ApplicationEventWatcher::eventFilter(watched, event);
}

bool IdleLockDue(int idleMinutes, quint32 nowTicks, quint32 lastInputTicks) {
    if (idleMinutes <= 0)
        return false;
    const quint32 idleSeconds = (nowTicks - lastInputTicks) / 1000;
    return static_cast<qint64>(idleSeconds) >= static_cast<qint64>(idleMinutes) * 60;
}
