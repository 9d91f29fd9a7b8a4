#pragma once

#include "ui/ApplicationEventWatcher.h"

#include <QtGlobal>

// The time of the last keyboard or mouse input anywhere in the program, on the tick count
// of Clock. The idle lock measures from it.
class LastInput : public ApplicationEventWatcher {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LastInput)

public:
    explicit LastInput(QObject *parent);

    quint32 ticks() const { return m_ticks; }
    // Counts as input now (an unlock, for instance).
    void touch();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    quint32 m_ticks;
};

// The idle rule: with idleMinutes above 0, whole seconds since the last input (an unsigned
// 32-bit difference, so the tick counter's wrap-around is harmless) reach idleMinutes × 60.
bool IdleLockDue(int idleMinutes, quint32 nowTicks, quint32 lastInputTicks);
