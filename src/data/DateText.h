#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Dates are stored and exchanged as ISO text: "yyyy-mm-dd" and "yyyy-mm-dd hh:mm:ss".
QString DateText(const QDate &date);
QString DateTimeText(const QDateTime &moment);

// Reads "yyyy-m-d" or "yyyy-m-d h:m[:s]" (separators "-" or "/"); invalid when it is not a date.
QDateTime ParseDateText(const QString &text);

// The moment a Jet day number stands for: days counted from 1899-12-30, the fraction the time
// of day. Invalid outside the years 100 to 9999 that Jet dates cover (and for NaN).
QDateTime DateFromDayNumber(double days);
