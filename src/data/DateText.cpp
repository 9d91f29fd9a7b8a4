#include "data/DateText.h"

#include <cmath>

QString DateText(const QDate &date) {
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

QString DateTimeText(const QDateTime &moment) {
    return moment.isValid() ? moment.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) : QString();
}

QDateTime DateFromDayNumber(double days) {
    // 0100-01-01 and 9999-12-31 23:59:59 as day numbers.
    if (!(days >= -657434.0 && days < 2958466.0))
        return {};
    const QDateTime base(QDate(1899, 12, 30), QTime(0, 0));
    return base.addMSecs(std::llround(days * 86400000.0));
}

namespace {
// Reads up to maxDigits digits at pos; -1 when there is none.
int readNumber(const QString &text, qsizetype &pos, int maxDigits) {
    int value = 0;
    int digits = 0;
    while (pos < text.size() && digits < maxDigits && text[pos].isDigit()) {
        value = value * 10 + text[pos].digitValue();
        ++pos;
        ++digits;
    }
    return digits ? value : -1;
}

bool readSeparator(const QString &text, qsizetype &pos, QChar a, QChar b = QChar()) {
    if (pos < text.size() && (text[pos] == a || (!b.isNull() && text[pos] == b))) {
        ++pos;
        return true;
    }
    return false;
}
} // namespace

QDateTime ParseDateText(const QString &text) {
    qsizetype pos = 0;
    const int y = readNumber(text, pos, 4);
    if (y < 0 || !readSeparator(text, pos, u'-', u'/'))
        return {};
    const int m = readNumber(text, pos, 2);
    if (m < 0 || !readSeparator(text, pos, u'-', u'/'))
        return {};
    const int d = readNumber(text, pos, 2);
    const QDate date(y, m, d);
    if (d < 0 || !date.isValid())
        return {};
    if (pos == text.size())
        return QDateTime(date, QTime(0, 0));

    // A time part may follow after blanks or a "T".
    if (text[pos] != u' ' && text[pos] != u'T')
        return {};
    while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'T'))
        ++pos;
    const int h = readNumber(text, pos, 2);
    if (h < 0 || !readSeparator(text, pos, u':'))
        return {};
    const int mi = readNumber(text, pos, 2);
    int s = 0;
    if (readSeparator(text, pos, u':'))
        s = readNumber(text, pos, 2);
    // Fractions of a second are ignored.
    if (pos < text.size() && text[pos] == u'.')
        pos = text.size();
    const QTime time(h, mi, s);
    if (mi < 0 || s < 0 || pos != text.size() || !time.isValid())
        return {};
    return QDateTime(date, time);
}
