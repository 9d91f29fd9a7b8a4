#pragma once

#include <QDateTime>

// The one source of "now" for numbering, logs, default dates and the SQL date functions.
// Tests fix it; the program leaves it on the system clock.
class Clock {
public:
    static QDateTime now();
    static QDate today() { return now().date(); }

    // Fixes "now" at the given moment (an invalid value returns to the system clock).
    static void setFixed(const QDateTime &moment);
    static void reset() { setFixed(QDateTime()); }
};
