#pragma once

#include <QDateTime>

// The one source of "now" for numbering, logs, default dates and the SQL date functions,
// and of the tick count the idle lock measures with. Tests fix them; the program leaves
// them on the system's clocks.
class Clock {
public:
    static QDateTime now();
    static QDate today() { return now().date(); }

    // Fixes "now" at the given moment (an invalid value returns to the system clock).
    static void setFixed(const QDateTime &moment);
    static void reset();

    // Milliseconds of a monotonic counter, cut to 32 bits: differences taken as unsigned
    // 32-bit numbers survive its wrap-around.
    static quint32 tickCount();
    // Fixes the tick count at a value; advanceTicks() moves a fixed count on.
    static void setTickCount(quint32 ticks);
    static void advanceTicks(quint32 milliseconds);
};
