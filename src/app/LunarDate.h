#pragma once

#include <QDate>
#include <QString>

// The Chinese lunar date of a Gregorian day as the status bar shows it, for example
// 甲午(马)年正月廿一 or 壬辰(龙)年闰四月初一. Computed by ICU's Chinese calendar, so every
// date has one; empty only for an invalid date (or one the calendar cannot compute).
QString LunarDateText(const QDate &date);

// The status bar's date panel: "今天是：" + yyyy-MM-dd + " " + weekday (星期天 … 星期六)
// + " " + the lunar date.
QString TodayPanelText(const QDate &today);
