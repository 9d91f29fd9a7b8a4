// The lunar date of the status bar: the calendar against the twenty-year year-code
// table, the dates after that table ends, and the whole panel text.
#include "app/LunarDate.h"

#include <unicode/timezone.h>

#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <memory>

namespace {

// One code per lunar year from 庚辰 (starts 5 February 2000) to 己亥 (ends 24 January 2020).
// Bits 16-19: the leap month's number (0: none, 12 months; else 13). Month k of the year
// (from 0, the leap month counted) has 30 days when bit (months - 1 - k) is 1, else 29.
constexpr unsigned YearCodes[20] = {0xc96,   0x41a95, 0xd4a,   0xda5,   0x20b55, 0x56a,   0x7155b,
                                    0x25d,   0x92d,   0x5192b, 0xa95,   0xb4a,   0x416aa, 0xad5,
                                    0x90ab5, 0x4ba,   0xa5b,   0x60a57, 0x52b,   0xa93};

// The table walk, kept apart from the program's code as the reference: empty outside the table.
QString TableLunarText(const QDate &date) {
    static const char16_t *const stems[] = {u"甲", u"乙", u"丙", u"丁", u"戊",
                                            u"己", u"庚", u"辛", u"壬", u"癸"};
    static const char16_t *const branches[] = {u"子", u"丑", u"寅", u"卯", u"辰", u"巳",
                                               u"午", u"未", u"申", u"酉", u"戌", u"亥"};
    static const char16_t *const animals[] = {u"鼠", u"牛", u"虎", u"兔", u"龙", u"蛇",
                                              u"马", u"羊", u"猴", u"鸡", u"狗", u"猪"};
    static const char16_t *const months[] = {u"正", u"二", u"三", u"四", u"五", u"六",
                                             u"七", u"八", u"九", u"十", u"冬", u"腊"};
    static const char16_t *const days[] = {
        u"初一", u"初二", u"初三", u"初四", u"初五", u"初六", u"初七", u"初八", u"初九", u"初十",
        u"十一", u"十二", u"十三", u"十四", u"十五", u"十六", u"十七", u"十八", u"十九", u"二十",
        u"廿一", u"廿二", u"廿三", u"廿四", u"廿五", u"廿六", u"廿七", u"廿八", u"廿九", u"三十"};

    const qint64 n = QDate(2000, 2, 5).daysTo(date);
    if (n < 0)
        return {};
    qint64 s = 0;
    for (int k = 0; k < 20; ++k) {
        const unsigned code = YearCodes[k];
        const int leap = int(code >> 16) & 0xf;
        const int count = leap ? 13 : 12;
        for (int m = 0; m < count; ++m) {
            const int length = (code >> (count - 1 - m)) & 1 ? 30 : 29;
            if (s + length > n) {
                QString text = QString::fromUtf16(stems[(k + 6) % 10]) +
                               QString::fromUtf16(branches[(k + 4) % 12]) + "(" +
                               QString::fromUtf16(animals[(k + 4) % 12]) + ")年";
                if (leap && m == leap)
                    text += "闰";
                text += QString::fromUtf16(months[leap && m >= leap ? m - 1 : m]) + "月" +
                        QString::fromUtf16(days[n - s]);
                return text;
            }
            s += length;
        }
    }
    return {};
}

// Sets the process's local time zone and ICU's default zone for one scope.
class LocalZone {
public:
    explicit LocalZone(const char *zone)
        : m_oldTz(qgetenv("TZ"))
        , m_hadTz(qEnvironmentVariableIsSet("TZ"))
        , m_oldIcu(icu::TimeZone::createDefault()) {
        qputenv("TZ", zone);
        tzset();
        icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(zone)));
    }
    ~LocalZone() {
        if (m_hadTz)
            qputenv("TZ", m_oldTz);
        else
            qunsetenv("TZ");
        tzset();
        icu::TimeZone::adoptDefault(m_oldIcu.release());
    }
    LocalZone(const LocalZone &) = delete;
    LocalZone &operator=(const LocalZone &) = delete;

private:
    QByteArray m_oldTz;
    bool m_hadTz;
    std::unique_ptr<icu::TimeZone> m_oldIcu;
};

// A new moon seen from UTC+8: its civil day and the seconds from that day's nearer midnight.
struct NewMoon {
    QDate date;
    double secondsFromMidnight;
};

// Delta T (TT - UT) in seconds, the polynomial fits of Espenak and Meeus.
double DeltaT(double y) {
    if (y < 1941) {
        const double t = y - 1920;
        return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
    }
    if (y < 1961) {
        const double t = y - 1950;
        return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
    }
    if (y < 1986) {
        const double t = y - 1975;
        return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
    }
    if (y < 2005) {
        const double t = y - 2000;
        return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * std::pow(t, 3) +
               0.000651814 * std::pow(t, 4) + 0.00002373599 * std::pow(t, 5);
    }
    if (y < 2050) {
        const double t = y - 2000;
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    }
    return -20 + 32 * std::pow((y - 1820) / 100, 2) - 0.5628 * (2150 - y);
}

// The k-th new moon after January 2000 by the mean phase with its periodic and planetary
// terms (Meeus, Astronomical Algorithms, ch. 49): good to well under a minute in this era,
// and independent of ICU's lunar theory.
NewMoon NewMoonAtUtc8(int k) {
    const auto rad = [](double deg) { return deg * M_PI / 180; };
    const double T = k / 1236.85;
    const double jde = 2451550.09766 + 29.530588861 * k + 0.00015437 * T * T - 0.000000150 * T * T * T +
                       0.00000000073 * T * T * T * T;
    const double E = 1 - 0.002516 * T - 0.0000074 * T * T;
    const double M = rad(2.5534 + 29.10535670 * k - 0.0000014 * T * T - 0.00000011 * T * T * T);
    const double Mp = rad(201.5643 + 385.81693528 * k + 0.0107582 * T * T + 0.00001238 * T * T * T -
                          0.000000058 * T * T * T * T);
    const double F = rad(160.7108 + 390.67050284 * k - 0.0016118 * T * T - 0.00000227 * T * T * T +
                         0.000000011 * T * T * T * T);
    const double Om = rad(124.7746 - 1.56375588 * k + 0.0020672 * T * T + 0.00000215 * T * T * T);
    using std::sin;
    const double periodic =
        -0.40720 * sin(Mp) + 0.17241 * E * sin(M) + 0.01608 * sin(2 * Mp) + 0.01039 * sin(2 * F) +
        0.00739 * E * sin(Mp - M) - 0.00514 * E * sin(Mp + M) + 0.00208 * E * E * sin(2 * M) -
        0.00111 * sin(Mp - 2 * F) - 0.00057 * sin(Mp + 2 * F) + 0.00056 * E * sin(2 * Mp + M) -
        0.00042 * sin(3 * Mp) + 0.00042 * E * sin(M + 2 * F) + 0.00038 * E * sin(M - 2 * F) -
        0.00024 * E * sin(2 * Mp - M) - 0.00017 * sin(Om) - 0.00007 * sin(Mp + 2 * M) +
        0.00004 * sin(2 * Mp - 2 * F) + 0.00004 * sin(3 * M) + 0.00003 * sin(Mp + M - 2 * F) +
        0.00003 * sin(2 * Mp + 2 * F) - 0.00003 * sin(Mp + M + 2 * F) + 0.00003 * sin(Mp - M + 2 * F) -
        0.00002 * sin(Mp - M - 2 * F) - 0.00002 * sin(3 * Mp + M) + 0.00002 * sin(4 * Mp);
    const double A[14] = {299.77 + 0.107408 * k - 0.009173 * T * T,
                          251.88 + 0.016321 * k,
                          251.83 + 26.651886 * k,
                          349.42 + 36.412478 * k,
                          84.66 + 18.206239 * k,
                          141.74 + 53.303771 * k,
                          207.14 + 2.453732 * k,
                          154.84 + 7.306860 * k,
                          34.52 + 27.261239 * k,
                          207.19 + 0.121824 * k,
                          291.34 + 1.844379 * k,
                          161.72 + 24.198154 * k,
                          239.56 + 25.513099 * k,
                          331.55 + 3.592518 * k};
    const double coefficients[14] = {325, 165, 164, 126, 110, 62, 60, 56, 47, 42, 40, 37, 35, 23};
    double planetary = 0;
    for (int i = 0; i < 14; ++i)
        planetary += coefficients[i] * 1e-6 * sin(rad(A[i]));

    const double year = 2000 + k / 12.3685;
    const double jdUtc8 = jde + periodic + planetary - DeltaT(year) / 86400 + 8.0 / 24;
    const double dayNumber = std::floor(jdUtc8 + 0.5);
    const double seconds = (jdUtc8 + 0.5 - dayNumber) * 86400;
    return {QDate::fromJulianDay(static_cast<qint64>(dayNumber)), std::min(seconds, 86400 - seconds)};
}

} // namespace

class LunarDateTest : public QObject {
    Q_OBJECT

private slots:
    void everyDayOfTheYearCodeTable();
    void monthsStartOnTheDayOfTheNewMoon();
    void knownDates_data();
    void knownDates();
    void sameDayInEveryTimeZone_data();
    void sameDayInEveryTimeZone();
    void panelText_data();
    void panelText();
};

void LunarDateTest::everyDayOfTheYearCodeTable() {
    // The reference covers exactly 5 February 2000 to 24 January 2020.
    QVERIFY(TableLunarText(QDate(2000, 2, 4)).isEmpty());
    QCOMPARE(TableLunarText(QDate(2020, 1, 24)), QString("己亥(猪)年腊月三十"));
    QVERIFY(TableLunarText(QDate(2020, 1, 25)).isEmpty());

    qint64 checked = 0;
    for (QDate d(2000, 2, 5); d <= QDate(2020, 1, 24); d = d.addDays(1), ++checked) {
        const QString expected = TableLunarText(d);
        const QString actual = LunarDateText(d);
        if (actual != expected)
            QFAIL(qPrintable(QString("%1: %2, expected %3").arg(d.toString(Qt::ISODate), actual, expected)));
    }
    QCOMPARE(checked, QDate(2000, 2, 5).daysTo(QDate(2020, 1, 24)) + 1);
}

void LunarDateTest::monthsStartOnTheDayOfTheNewMoon() {
    // From 1929, when the calendar went over to UTC+8, to 2100. A new moon closer to midnight
    // than the reference can tell is left to the known dates below.
    int checked = 0;
    for (int k = -880; k <= 1250; ++k) {
        const NewMoon moon = NewMoonAtUtc8(k);
        if (moon.date < QDate(1929, 2, 1) || moon.date > QDate(2100, 12, 31) || moon.secondsFromMidnight < 60)
            continue;
        ++checked;
        const QString first = LunarDateText(moon.date);
        const QString before = LunarDateText(moon.date.addDays(-1));
        if (!first.endsWith("初一") || before.endsWith("初一"))
            QFAIL(qPrintable(QString("new moon on %1: %2, the day before %3")
                                 .arg(moon.date.toString(Qt::ISODate), first, before)));
    }
    QVERIFY(checked > 2100);
}

void LunarDateTest::knownDates_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("text");

    QTest::newRow("first day of the table") << QDate(2000, 2, 5) << "庚辰(龙)年正月初一";
    QTest::newRow("day 21") << QDate(2014, 2, 20) << "甲午(马)年正月廿一";
    QTest::newRow("leap month") << QDate(2012, 5, 21) << "壬辰(龙)年闰四月初一";
    QTest::newRow("new year 2014") << QDate(2014, 1, 31) << "甲午(马)年正月初一";
    QTest::newRow("last day of the table") << QDate(2020, 1, 24) << "己亥(猪)年腊月三十";
    // After the year-code table: the calendar goes on.
    QTest::newRow("day after the table") << QDate(2020, 1, 25) << "庚子(鼠)年正月初一";
    QTest::newRow("leap month 2020") << QDate(2020, 5, 23) << "庚子(鼠)年闰四月初一";
    QTest::newRow("new year 2021") << QDate(2021, 2, 12) << "辛丑(牛)年正月初一";
    QTest::newRow("eve of 2021") << QDate(2021, 2, 11) << "庚子(鼠)年腊月三十";
    QTest::newRow("new year 2023") << QDate(2023, 1, 22) << "癸卯(兔)年正月初一";
    QTest::newRow("leap month 2023") << QDate(2023, 3, 22) << "癸卯(兔)年闰二月初一";
    QTest::newRow("month after the leap") << QDate(2023, 4, 20) << "癸卯(兔)年三月初一";
    QTest::newRow("eleventh month 2026") << QDate(2026, 12, 11) << "丙午(马)年冬月初三";
    // New moons a few minutes from midnight, where ICU's own answer is a day off.
    QTest::newRow("eve of 2027") << QDate(2027, 2, 5) << "丙午(马)年腊月廿九";
    QTest::newRow("new year 2027") << QDate(2027, 2, 6) << "丁未(羊)年正月初一";
    QTest::newRow("second day 2027") << QDate(2027, 2, 7) << "丁未(羊)年正月初二";
    QTest::newRow("thirty-day first month 2027") << QDate(2027, 3, 7) << "丁未(羊)年正月三十";
    QTest::newRow("eve of 2030") << QDate(2030, 2, 2) << "己酉(鸡)年腊月三十";
    QTest::newRow("new year 2030") << QDate(2030, 2, 3) << "庚戌(狗)年正月初一";
    QTest::newRow("second day 2030") << QDate(2030, 2, 4) << "庚戌(狗)年正月初二";
    QTest::newRow("seventh month 2012") << QDate(2012, 8, 17) << "壬辰(龙)年七月初一";
    QTest::newRow("tenth month 2018") << QDate(2018, 11, 7) << "戊戌(狗)年九月三十";
    QTest::newRow("ninth month 2057") << QDate(2057, 9, 28) << "丁丑(牛)年九月初一";
    QTest::newRow("leap eleventh month 2033") << QDate(2033, 12, 22) << "癸丑(牛)年闰冬月初一";
    // Before the table.
    QTest::newRow("new year 1999") << QDate(1999, 2, 16) << "己卯(兔)年正月初一";
    QTest::newRow("eve of 2000") << QDate(2000, 2, 4) << "己卯(兔)年腊月廿九";
    QTest::newRow("invalid date") << QDate() << "";
}

void LunarDateTest::knownDates() {
    QFETCH(QDate, date);
    QFETCH(QString, text);
    QCOMPARE(LunarDateText(date), text);
}

void LunarDateTest::sameDayInEveryTimeZone_data() {
    QTest::addColumn<QByteArray>("zone");
    QTest::newRow("UTC+14") << QByteArray("Pacific/Kiritimati");
    QTest::newRow("UTC-10") << QByteArray("Pacific/Honolulu");
    QTest::newRow("UTC+8") << QByteArray("Asia/Shanghai");
}

void LunarDateTest::sameDayInEveryTimeZone() {
    QFETCH(QByteArray, zone);
    LocalZone local(zone.constData());
    // First days of months, where a shift of one day shows at once.
    QCOMPARE(LunarDateText(QDate(2014, 1, 31)), QString("甲午(马)年正月初一"));
    QCOMPARE(LunarDateText(QDate(2014, 1, 30)), QString("癸巳(蛇)年腊月三十"));
    QCOMPARE(LunarDateText(QDate(2023, 3, 22)), QString("癸卯(兔)年闰二月初一"));
    QCOMPARE(LunarDateText(QDate(2023, 3, 21)), QString("癸卯(兔)年二月三十"));
}

void LunarDateTest::panelText_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("text");

    QTest::newRow("friday") << QDate(2014, 1, 31) << "今天是：2014-01-31 星期五 甲午(马)年正月初一";
    QTest::newRow("saturday") << QDate(2014, 2, 1) << "今天是：2014-02-01 星期六 甲午(马)年正月初二";
    QTest::newRow("sunday") << QDate(2014, 2, 2) << "今天是：2014-02-02 星期天 甲午(马)年正月初三";
    QTest::newRow("monday") << QDate(2012, 5, 21) << "今天是：2012-05-21 星期一 壬辰(龙)年闰四月初一";
    QTest::newRow("after the table") << QDate(2026, 12, 11) << "今天是：2026-12-11 星期五 丙午(马)年冬月初三";
}

void LunarDateTest::panelText() {
    QFETCH(QDate, today);
    QFETCH(QString, text);
    QCOMPARE(TodayPanelText(today), text);
}

QTEST_APPLESS_MAIN(LunarDateTest)
#include "LunarDateTest.moc"
