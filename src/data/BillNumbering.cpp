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

    // Whether a stored code begins with a prefix of this rule, of any date.
    bool beginsLike(QStringView code) const {
        if (code.size() < text.size())
            return false;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (dateDigit[i] ? !isDigit(code[i]) : code[i].toCaseFolded() != text[i].toCaseFolded())
                return false;
        }
        return true;
    }
};

// A text as a like-pattern that matches exactly that text: the wildcards % and _ (and the
// escape character itself) are escaped, and the clause naming the escape character goes after
// the pattern. A text without wildcards stays as it is, with no clause.
struct LikeLiteral {
    QString pattern; // quoted for a single-quoted literal
    QString escapeClause;
};

LikeLiteral likeLiteral(const QString &text) {
    LikeLiteral literal{text, QString()};
    if (text.contains(u'%') || text.contains(u'_')) {
        literal.pattern.replace(u'\\', QStringLiteral("\\\\"));
        literal.pattern.replace(u'%', QStringLiteral("\\%"));
        literal.pattern.replace(u'_', QStringLiteral("\\_"));
        literal.escapeClause = QStringLiteral(" escape '\\'");
    }
    literal.pattern = QuoteSql(literal.pattern);
    return literal;
}

// The highest serial stored under the rule that has outgrown the width of startno, or 0 when
// there is none. The textual maximum of the rule's statement cannot see such serials ("1000"
// sorts below "999", and only the last w characters of the maximum are read), so without this
// the same number would come out again. Only codes this rule could have made count: the
// prefix (of any date when notype is no) followed by nothing but digits, more than w of them.
qint64 highestWideSerial(const Prefix &prefix, bool noType, const QString &column, const QString &table,
                         int width) {
    const int prefixLength = static_cast<int>(prefix.text.size());
    QString statement = QStringLiteral("select ") + column + QStringLiteral(" as code from ") + table +
                        QStringLiteral(" where Len(") + column + QStringLiteral(")>") +
                        QString::number(prefixLength + width);
    if (prefixLength > 0 && noType) {
        const LikeLiteral literal = likeLiteral(prefix.text);
        statement += QStringLiteral(" and ") + column + QStringLiteral(" like '") + literal.pattern +
                     QStringLiteral("%'") + literal.escapeClause;
    }

    DbQuery &query = ShareDM1->ShareQuery1;
    query.open(statement);
    qint64 highest = 0;
    for (; !query.eof(); query.next()) {
        const QString code = query.asText("code");
        if (!prefix.beginsLike(code))
            continue;
        const QStringView serial = QStringView(code).mid(prefixLength);
        bool ok = false;
        const qint64 value = serial.toLongLong(&ok); // more than 18 digits: no serial of ours
        if (allDigits(serial) && ok && value > highest)
            highest = value;
    }
    query.close();
    return highest;
}

} // namespace

qint64 ReadSerial(const QString &text, int width) {
    QString padded = text;
    if (padded.size() < width)
        padded.prepend(QString(width - padded.size(), u'0'));
    const QStringView last = QStringView(padded).right(width);
    qsizetype start = last.size();
    while (start > 0 && isDigit(last[start - 1]))
        --start;
    const QStringView digits = last.mid(start);
    bool ok = false;
    const qint64 serial = digits.toLongLong(&ok);
    if (!ok)
        throw DbError(QStringLiteral("“%1”不是有效的整数值。").arg(digits));
    return serial;
}

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

    const QString &p = prefix.text;
    QString statement;
    if (p.isEmpty()) {
        statement = QStringLiteral("select max(") + column + QStringLiteral(") as maxbillcode from ") + table;
    } else if (noType) {
        // The prefix is matched as it stands: quoted, and with its wildcards escaped.
        const LikeLiteral literal = likeLiteral(p);
        statement = QStringLiteral("select max(Right(") + column + QStringLiteral(",Len(") + column +
                    QStringLiteral(")-") + QString::number(p.size()) +
                    QStringLiteral(")) as maxbillcode from ") + table + QStringLiteral(" where ") + column +
                    QStringLiteral(" like '%") + literal.pattern + QStringLiteral("%'") +
                    literal.escapeClause;
    } else {
        statement = QStringLiteral("select max(Right(") + column + u',' + QString::number(width) +
                    QStringLiteral(")) as maxbillcode from ") + table;
    }
    query.open(statement);
    qint64 found = ReadSerial(query.asText("maxbillcode"), width);

    found = std::max(found, highestWideSerial(prefix, noType, column, table, width));
    const qint64 next = found >= 1 ? found + 1 : 1;
    return p + PadSerial(next, width);
}
