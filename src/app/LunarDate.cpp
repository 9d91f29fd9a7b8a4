#include "app/LunarDate.h"

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/ucal.h>

#include <array>
#include <memory>

namespace {

constexpr std::array<const char16_t *, 10> Stems = {u"甲", u"乙", u"丙", u"丁", u"戊",
                                                    u"己", u"庚", u"辛", u"壬", u"癸"};
constexpr std::array<const char16_t *, 12> Branches = {u"子", u"丑", u"寅", u"卯", u"辰", u"巳",
                                                       u"午", u"未", u"申", u"酉", u"戌", u"亥"};
constexpr std::array<const char16_t *, 12> Animals = {u"鼠", u"牛", u"虎", u"兔", u"龙", u"蛇",
                                                      u"马", u"羊", u"猴", u"鸡", u"狗", u"猪"};
constexpr std::array<const char16_t *, 12> MonthNames = {u"正", u"二", u"三", u"四", u"五", u"六",
                                                         u"七", u"八", u"九", u"十", u"冬", u"腊"};
constexpr std::array<const char16_t *, 7> WeekdayNames = {u"星期天", u"星期一", u"星期二", u"星期三",
                                                          u"星期四", u"星期五", u"星期六"};

QString DayName(int day) {
    static constexpr std::array<const char16_t *, 10> Digits = {u"一", u"二", u"三", u"四", u"五",
                                                                u"六", u"七", u"八", u"九", u"十"};
    if (day == 10)
        return QStringLiteral("初十");
    if (day == 20)
        return QStringLiteral("二十");
    if (day == 30)
        return QStringLiteral("三十");
    static constexpr std::array<const char16_t *, 3> Tens = {u"初", u"十", u"廿"};
    return QString::fromUtf16(Tens[day / 10]) + QString::fromUtf16(Digits[day % 10 - 1]);
}

// Julian day number of 1970-01-01, the epoch of ICU's UDate.
constexpr qint64 UnixEpochJulianDay = 2440588;
constexpr double MillisPerDay = 86400000.0;

// Month starts that ICU 72 puts on the wrong day. Its lunar theory is good to some minutes
// only, so a new moon within minutes of midnight at UTC+8 can fall on the wrong side of it.
// Each entry is the true first day of a month (from the new moon reckoned with the full
// series of periodic terms and delta T) and how many days ICU's start of that month lies
// after it. From 1929 on, when the calendar is reckoned at UTC+8.
struct MonthStartFix {
    int year, month, day;
    int icuLate; // ICU's first day minus the true one
};
constexpr std::array<MonthStartFix, 9> MonthStartFixes = {{
    {1954, 2, 3, 1},   // new moon 23:55
    {1955, 2, 22, 1},  // 23:54
    {1999, 1, 17, 1},  // 23:46
    {2012, 8, 17, 1},  // 23:54
    {2018, 11, 8, -1}, // 00:02
    {2027, 2, 6, 1},   // 23:56, new year
    {2030, 2, 3, -1},  // 00:07, new year
    {2057, 9, 28, 1},  // 23:59:57
    {2070, 3, 12, 1},  // 23:52
}};

struct LunarFields {
    int cycleYear = 0; // 1 = 甲子 … 60 = 癸亥
    int month = 0;     // 0 = 正月 … 11 = 腊月
    bool leap = false;
    int day = 0; // 1 … 30
};

// The day as ICU's Chinese calendar has it. The calendar works in UTC and is handed noon
// UTC of the day, so the day it computes is the Gregorian day given, whatever the local time
// zone; the new moons and solar terms themselves it reckons at UTC+8.
bool IcuFields(icu::Calendar &calendar, qint64 julianDay, LunarFields &fields) {
    UErrorCode status = U_ZERO_ERROR;
    calendar.setTime(static_cast<double>(julianDay - UnixEpochJulianDay) * MillisPerDay + MillisPerDay / 2,
                     status);
    fields.cycleYear = calendar.get(UCAL_YEAR, status);
    fields.month = calendar.get(UCAL_MONTH, status);
    fields.leap = calendar.get(UCAL_IS_LEAP_MONTH, status) != 0;
    fields.day = calendar.get(UCAL_DATE, status);
    return U_SUCCESS(status) && fields.cycleYear >= 1 && fields.cycleYear <= 60 && fields.month >= 0 &&
           fields.month <= 11 && fields.day >= 1 && fields.day <= 30;
}

// ICU's answer with the month starts of MonthStartFixes put right.
bool LunarFieldsOf(icu::Calendar &calendar, qint64 julianDay, LunarFields &fields) {
    for (const MonthStartFix &fix : MonthStartFixes) {
        const qint64 trueStart = QDate(fix.year, fix.month, fix.day).toJulianDay();
        const qint64 icuStart = trueStart + fix.icuLate;
        if (julianDay >= trueStart && julianDay < icuStart) {
            // ICU still counts the day to the month before.
            if (!IcuFields(calendar, icuStart, fields))
                return false;
            fields.day = static_cast<int>(julianDay - trueStart) + 1;
            return true;
        }
        if (julianDay >= icuStart && julianDay < trueStart) {
            // ICU already starts the next month on this day.
            if (!IcuFields(calendar, icuStart - 1, fields))
                return false;
            fields.day += static_cast<int>(julianDay - icuStart) + 1;
            return true;
        }
    }
    if (!IcuFields(calendar, julianDay, fields))
        return false;
    const qint64 start = julianDay - fields.day + 1;
    for (const MonthStartFix &fix : MonthStartFixes) {
        const qint64 trueStart = QDate(fix.year, fix.month, fix.day).toJulianDay();
        if (start == trueStart + fix.icuLate) {
            fields.day = static_cast<int>(julianDay - trueStart) + 1;
            break;
        }
    }
    return true;
}

} // namespace

QString LunarDateText(const QDate &date) {
    if (!date.isValid())
        return {};

    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(
        icu::Calendar::createInstance(icu::TimeZone::createTimeZone(icu::UnicodeString(u"Etc/UTC")),
                                      icu::Locale("zh@calendar=chinese"), status));
    LunarFields f;
    if (U_FAILURE(status) || !calendar || !LunarFieldsOf(*calendar, date.toJulianDay(), f) || f.day > 30)
        return {};

    const int y = f.cycleYear - 1;
    QString text = QString::fromUtf16(Stems[y % 10]) + QString::fromUtf16(Branches[y % 12]) + u'(' +
                   QString::fromUtf16(Animals[y % 12]) + QStringLiteral(")年");
    if (f.leap)
        text += u'闰';
    text += QString::fromUtf16(MonthNames[f.month]) + u'月' + DayName(f.day);
    return text;
}

QString TodayPanelText(const QDate &today) {
    // dayOfWeek() is 1 (Monday) … 7 (Sunday), 0 for an invalid date.
    const QString weekday =
        today.isValid() ? QString::fromUtf16(WeekdayNames[today.dayOfWeek() % 7]) : QString();
    return QStringLiteral("今天是：") + today.toString(QStringLiteral("yyyy-MM-dd")) + u' ' + weekday + u' ' +
           LunarDateText(today);
}
