#include "data/BillNumbering.h"

#include "data/Clock.h"
#include "data/DbError.h"
#include "data/Sharedm2.h"
#include "data/StatementRoutines.h"

#include <QList>

#include <algorithm>
#include <initializer_list>

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool allDigits(QStringView text) {
    for (QChar c : text)
        if (!isDigit(c))
            return false;
    return !text.isEmpty();
}

// The code columns compare as SQLite's NOCASE does: ASCII letters without regard to case,
// every other character as it is.
QChar foldCase(QChar c) {
    return c >= u'A' && c <= u'Z' ? QChar(c.unicode() + (u'a' - u'A')) : c;
}

// Whether a serial (what follows the prefix) is one the rule could have written: digits only,
// at most 18 of them, and wider than startno only without a leading zero, as PadSerial writes
// the serials that have outgrown the width. Narrower ones are numbers typed by hand; they
// count by their value.
bool isRuleSerial(QStringView serial, int width) {
    if (serial.size() > 18 || !allDigits(serial))
        return false;
    return serial.size() <= width || serial[0] != u'0';
}

// The code column of a rule's table, walked through its index from the top down: every
// statement is a range on the column, so that a lookup costs the same whatever the table holds.
class CodeIndex {
public:
    CodeIndex(const QString &column, const QString &table)
        : m_column(column)
        , m_table(table) {}

    // The highest stored code c with lower <= c < upper (or <= upper when inclusive);
    // empty when there is none.
    QString highest(const QString &lower, const QString &upper, bool inclusive = false) const {
        DbQuery &query = ShareDM1->ShareQuery1;
        query.open(QStringLiteral("select top 1 ") + m_column + QStringLiteral(" as code from ") + m_table +
                   range(lower, upper, inclusive) + QStringLiteral(" order by ") + m_column +
                   QStringLiteral(" desc"));
        const QString code = query.asText("code");
        query.close();
        return code;
    }

    // Every stored code c with lower <= c < upper, in the order of the index.
    QStringList between(const QString &lower, const QString &upper) const {
        DbQuery &query = ShareDM1->ShareQuery1;
        query.open(QStringLiteral("select ") + m_column + QStringLiteral(" as code from ") + m_table +
                   range(lower, upper, false) + QStringLiteral(" order by ") + m_column);
        QStringList codes;
        for (; !query.eof(); query.next())
            codes.append(query.asText("code"));
        query.close();
        return codes;
    }

private:
    QString range(const QString &lower, const QString &upper, bool inclusive) const {
        return QStringLiteral(" where ") + m_column + QStringLiteral(">='") + QuoteSql(lower) +
               QStringLiteral("' and ") + m_column +
               (inclusive ? QStringLiteral("<='") : QStringLiteral("<'")) + QuoteSql(upper) + u'\'';
    }

    QString m_column;
    QString m_table;
};

// The highest serial stored under one prefix, or 0 when there is none. Codes that are not the
// prefix followed by a serial of the rule (typed by hand: "2024-A", "0000002补") are stepped
// over, each kind of them with one look-up.
qint64 highestSerial(const CodeIndex &index, const QString &prefix, int width) {
    const qsizetype p = prefix.size();
    QString upper = prefix + u':'; // every prefix-and-digit code sorts below it
    bool inclusive = false;
    QString top; // the textually highest serial of the rule
    for (;;) {
        const QString code = index.highest(prefix + u'0', upper, inclusive);
        if (code.isEmpty())
            break;
        const QStringView serial = QStringView(code).mid(p);
        if (isRuleSerial(serial, width)) {
            top = serial.toString();
            break;
        }
        qsizetype digits = 0;
        while (digits < serial.size() && isDigit(serial[digits]))
            ++digits;
        const QString lead = code.left(p + digits);
        inclusive = false;
        if (digits == serial.size()) {
            // Digits only, but too many or wide with a leading zero: the rule's codes below it
            // begin with its first width digits.
            if (serial[0] == u'0' && serial.size() > width) {
                upper = code.left(p + width);
                inclusive = true;
            } else {
                upper = code;
            }
        } else if (foldCase(serial[digits]) > u'9') {
            upper = lead + u':'; // past every code that goes on with a letter here
        } else {
            upper = code.left(p + digits + 1); // past every code that goes on with this sign
        }
    }
    if (top.isEmpty())
        return 0;

    qint64 highest = top.toLongLong();
    // A higher serial sorts below the textual maximum only when it is wider: one that has
    // outgrown startno ("1000" below "999") or one above a narrow hand-typed number ("00123"
    // below "7"). Such serials lie between the text of the next serial and the maximum.
    const QString next = PadSerial(highest + 1, width);
    if (next < top) {
        const QStringList hidden = index.between(prefix + next, prefix + top);
        for (const QString &code : hidden) {
            const QStringView serial = QStringView(code).mid(p);
            if (isRuleSerial(serial, width))
                highest = std::max(highest, serial.toLongLong());
        }
    }
    return highest;
}

// The prefix of a number, and which of its characters are date digits (they change from one
// day, month or year to the next; everything else is the rule's letters and separators).
struct Prefix {
    QString text;
    QList<bool> dateDigit;

    void add(const QString &part, bool isDate) {
        text += part;
        for (qsizetype i = 0; i < part.size(); ++i)
            dateDigit.append(isDate);
    }

    bool hasDate() const { return dateDigit.contains(true); }

    // The first position at which a code leaves the shape of this rule's prefix (of any
    // date), or -1 when it begins with such a prefix.
    qsizetype mismatch(QStringView code) const {
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (i >= code.size())
                return i;
            if (dateDigit[i] ? !isDigit(code[i]) : foldCase(code[i]) != foldCase(text[i]))
                return i;
        }
        return -1;
    }
};

// The highest serial under the prefixes of every date (a rule with a date and notype no counts
// over the whole table): each date that holds codes is looked at once, from the top down.
qint64 highestSerialOfAnyDate(const CodeIndex &index, const Prefix &prefix, int width) {
    const QString lead = prefix.text.left(prefix.dateDigit.indexOf(true)); // letters before the date
    QString upper = lead + u':';
    qint64 highest = 0;
    for (;;) {
        const QString code = index.highest(lead + u'0', upper);
        if (code.isEmpty())
            break;
        const qsizetype at = prefix.mismatch(code);
        if (at < 0) {
            const QString datedPrefix = code.left(prefix.text.size());
            highest = std::max(highest, highestSerial(index, datedPrefix, width));
            upper = datedPrefix; // past every code of that date
        } else if (at < code.size() &&
                   foldCase(code[at]) > (prefix.dateDigit[at] ? QChar(u'9') : foldCase(prefix.text[at]))) {
            upper = code.left(at + 1);
        } else {
            upper = code.left(at);
        }
    }
    return highest;
}

} // namespace

QString PadSerial(qint64 serial, int width) {
    const QString digits = QString::number(serial);
    if (digits.size() >= width)
        return digits;
    static const QString zeros = QStringLiteral("000000000000000");
    QString padded = zeros + digits;
    if (padded.size() < width)
        padded.prepend(QString(width - padded.size(), u'0'));
    return padded.right(width);
}

QString MakeBillCode(int rule) {
    const QDate today = Clock::today();
    const QString year = QString::number(today.year()).rightJustified(4, u'0');
    const QString month = QString::number(today.month()).rightJustified(2, u'0');
    const QString day = QString::number(today.day()).rightJustified(2, u'0');

    DbQuery &query = ShareDM1->ShareQuery1;
    query.open(QStringLiteral("select * from xt_billconfig where billconfigid=") + QString::number(rule));
    const QString mark = query.asText("billmark");
    const QString codeType = query.asText("codetype");
    const QString separator = query.asText("separator");
    const int width = static_cast<int>(query.asText("startno").size());
    const QString table = query.asText("tablename");
    const bool dateSeparator = query.asBool("dateseparator");
    const bool noType = query.asBool("notype");

    const QString column = table.left(3) == u"aa_" ? QStringLiteral("tablecode") : QStringLiteral("billcode");
    const QString dateGap = dateSeparator ? separator : QString();

    Prefix prefix;
    prefix.add(mark + separator, false);
    auto addDate = [&](std::initializer_list<QString> parts) {
        bool first = true;
        for (const QString &part : parts) {
            if (!first)
                prefix.add(dateGap, false);
            prefix.add(part, true);
            first = false;
        }
        prefix.add(separator, false);
    };
    if (codeType == u"年")
        addDate({year});
    else if (codeType == u"年月")
        addDate({year, month});
    else if (codeType == u"月年")
        addDate({month, year});
    else if (codeType == u"年月日")
        addDate({year, month, day});
    else if (codeType == u"月日年")
        addDate({month, day, year});

    const CodeIndex index(column, table);
    const qint64 found = noType || !prefix.hasDate() ? highestSerial(index, prefix.text, width)
                                                     : highestSerialOfAnyDate(index, prefix, width);
    return prefix.text + PadSerial(found + 1, width);
}
