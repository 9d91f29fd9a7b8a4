#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Dates are stored and exchanged as ISO text: "yyyy-mm-dd" and "yyyy-mm-dd hh:mm:ss".
QString DateText(const QDate &date);
QString DateTimeText(const QDateTime &moment);

// Reads "yyyy-m-d" or "yyyy-m-d h:m[:s]" (separators "-" or "/"); invalid when it is not a date.
QDateTime ParseDateText(const QString &text);
