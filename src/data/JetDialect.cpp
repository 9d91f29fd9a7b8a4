#include "data/JetDialect.h"

#include "data/Clock.h"
#include "data/DateText.h"
#include "data/NumberText.h"

#include <QHash>
#include <QList>
#include <QSet>

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

namespace {

// ---------------------------------------------------------------------------------------------
// Tokens

struct Token {
    enum Kind { Space, Word, Number, String, Date, Punct };
    Kind kind;
    QString text;

    bool isWord(QLatin1StringView w) const {
        return kind == Word && text.compare(w, Qt::CaseInsensitive) == 0;
    }
    bool isPunct(QChar c) const { return kind == Punct && text.size() == 1 && text[0] == c; }
};

using Tokens = QList<Token>;

bool isWordStart(QChar c) {
    return c.isLetter() || c == u'_' || c.unicode() > 0x7f;
}

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c.unicode() > 0x7f;
}

QString singleQuoted(const QString &content) {
    QString out = content;
    out.replace(u'\'', QStringLiteral("''"));
    return u'\'' + out + u'\'';
}

// A #…# literal as ISO text: #2014-2-5# and #2014/02/05# give '2014-02-05'.
QString dateLiteral(const QString &inside) {
    const QDateTime moment = ParseDateText(inside.trimmed());
    if (!moment.isValid())
        return singleQuoted(inside.trimmed());
    const bool hasTime = inside.contains(u':');
    return singleQuoted(hasTime ? DateTimeText(moment) : DateText(moment.date()));
}

Tokens tokenize(const QString &sql) {
    Tokens tokens;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        const qsizetype start = i;
        if (c.isSpace()) {
            while (i < n && sql[i].isSpace())
                ++i;
            tokens.append({Token::Space, sql.mid(start, i - start)});
        } else if (c == u'\'') {
            ++i;
            while (i < n) {
                if (sql[i] == u'\'') {
                    if (i + 1 < n && sql[i + 1] == u'\'') {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            tokens.append({Token::String, sql.mid(start, i - start)});
        } else if (c == u'"') {
            // Jet reads a double-quoted text as a string literal.
            QString content;
            ++i;
            while (i < n) {
                if (sql[i] == u'"') {
                    if (i + 1 < n && sql[i + 1] == u'"') {
                        content += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                content += sql[i++];
            }
            tokens.append({Token::String, singleQuoted(content)});
        } else if (c == u'[') {
            while (i < n && sql[i] != u']')
                ++i;
            if (i < n)
                ++i;
            tokens.append({Token::Word, sql.mid(start, i - start)});
        } else if (c == u'#') {
            const qsizetype close = sql.indexOf(u'#', i + 1);
            bool looksLikeDate = close > i + 1;
            for (qsizetype k = i + 1; looksLikeDate && k < close; ++k) {
                const QChar d = sql[k];
                looksLikeDate = d.isDigit() || d == u'-' || d == u'/' || d == u':' || d == u' ';
            }
            if (looksLikeDate) {
                tokens.append({Token::Date, dateLiteral(sql.mid(i + 1, close - i - 1))});
                i = close + 1;
            } else {
                tokens.append({Token::Punct, QString(c)});
                ++i;
            }
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && sql[i + 1].isDigit())) {
            while (i < n && (sql[i].isDigit() || sql[i] == u'.'))
                ++i;
            if (i < n && (sql[i] == u'e' || sql[i] == u'E')) {
                qsizetype k = i + 1;
                if (k < n && (sql[k] == u'+' || sql[k] == u'-'))
                    ++k;
                if (k < n && sql[k].isDigit()) {
                    i = k;
                    while (i < n && sql[i].isDigit())
                        ++i;
                }
            }
            tokens.append({Token::Number, sql.mid(start, i - start)});
        } else if (isWordStart(c)) {
            while (i < n && isWordChar(sql[i]))
                ++i;
            tokens.append({Token::Word, sql.mid(start, i - start)});
        } else {
            tokens.append({Token::Punct, QString(c)});
            ++i;
        }
    }
    return tokens;
}

QString join(const Tokens &tokens, qsizetype from = 0, qsizetype to = -1) {
    if (to < 0)
        to = tokens.size();
    QString out;
    for (qsizetype i = from; i < to; ++i)
        out += tokens[i].text;
    return out;
}

// Index of the next token that is not white space, starting at i (tokens.size() if none).
qsizetype nextSignificant(const Tokens &tokens, qsizetype i) {
    while (i < tokens.size() && tokens[i].kind == Token::Space)
        ++i;
    return i;
}

// Indexes of the significant tokens, for matching statement shapes.
QList<qsizetype> significant(const Tokens &tokens) {
    QList<qsizetype> idx;
    for (qsizetype i = 0; i < tokens.size(); ++i)
        if (tokens[i].kind != Token::Space)
            idx.append(i);
    return idx;
}

// ---------------------------------------------------------------------------------------------
// Rewrites

const QSet<QString> &jetFunctions() {
    static const QSet<QString> names = {
        QStringLiteral("format"), QStringLiteral("month"), QStringLiteral("year"), QStringLiteral("day"),
        QStringLiteral("now"),    QStringLiteral("date"),  QStringLiteral("iif"),  QStringLiteral("right"),
        QStringLiteral("left"),   QStringLiteral("len"),   QStringLiteral("mid"),  QStringLiteral("trim")};
    return names;
}

bool isTextType(const Token &t) {
    return t.isWord(QLatin1StringView("varchar")) || t.isWord(QLatin1StringView("char")) ||
           t.isWord(QLatin1StringView("text")) || t.isWord(QLatin1StringView("memo")) ||
           t.isWord(QLatin1StringView("longtext")) || t.isWord(QLatin1StringView("nvarchar"));
}

// Literals, yes/no words, type names and function names, token by token.
void rewriteWords(Tokens &tokens, bool ddl) {
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        Token &t = tokens[i];
        if (t.kind != Token::Word)
            continue;
        const QString lower = t.text.toLower();
        if (lower == u"true") {
            t = {Token::Number, QStringLiteral("-1")};
        } else if (lower == u"false") {
            t = {Token::Number, QStringLiteral("0")};
        } else if (ddl && lower == u"bit") {
            t.text = QStringLiteral("integer");
        } else if (ddl && isTextType(t)) {
            // Jet compares and sorts text without regard to case.
            // The collation follows the type and its length; a length whose bracket is never
            // closed ends the statement, and the engine reports the statement as faulty.
            qsizetype end = i;
            const qsizetype next = nextSignificant(tokens, i + 1);
            if (next < tokens.size() && tokens[next].isPunct(u'(')) {
                end = next;
                while (end + 1 < tokens.size() && !tokens[end].isPunct(u')'))
                    ++end;
            }
            tokens.insert(end + 1, {Token::Word, QStringLiteral(" collate nocase")});
            i = end + 1;
        } else if (jetFunctions().contains(lower)) {
            const qsizetype next = nextSignificant(tokens, i + 1);
            if (next < tokens.size() && tokens[next].isPunct(u'('))
                t.text = QStringLiteral("jet_") + lower;
        }
    }
}

// "select top N …" → "select … limit N".
void rewriteTop(Tokens &tokens) {
    const QList<qsizetype> sig = significant(tokens);
    if (sig.size() < 3 || !tokens[sig[0]].isWord(QLatin1StringView("select")) ||
        !tokens[sig[1]].isWord(QLatin1StringView("top")) || tokens[sig[2]].kind != Token::Number)
        return;
    const QString count = tokens[sig[2]].text;
    const qsizetype removeTo = nextSignificant(tokens, sig[2] + 1);
    tokens.remove(sig[1], removeTo - sig[1]);
    while (!tokens.isEmpty() && (tokens.last().kind == Token::Space || tokens.last().isPunct(u';')))
        tokens.removeLast();
    tokens.append({Token::Word, QStringLiteral(" limit ") + count});
}

// "create table …(id autoincrement, …, CONSTRAINT x PRIMARY KEY(id))": SQLite wants the key on
// the column itself and refuses a second primary key.
void rewriteAutoincrement(Tokens &tokens) {
    QString column;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (tokens[i].isWord(QLatin1StringView("autoincrement")) ||
            tokens[i].isWord(QLatin1StringView("counter"))) {
            qsizetype prev = i - 1;
            while (prev >= 0 && tokens[prev].kind == Token::Space)
                --prev;
            if (prev >= 0)
                column = tokens[prev].text;
            tokens[i].text = QStringLiteral("integer primary key autoincrement");
        }
    }
    if (column.isEmpty())
        return;
    const QList<qsizetype> sig = significant(tokens);
    for (qsizetype k = 0; k + 6 < sig.size(); ++k) {
        if (tokens[sig[k]].isWord(QLatin1StringView("constraint")) &&
            tokens[sig[k + 2]].isWord(QLatin1StringView("primary")) &&
            tokens[sig[k + 3]].isWord(QLatin1StringView("key")) && tokens[sig[k + 4]].isPunct(u'(') &&
            tokens[sig[k + 5]].text.compare(column, Qt::CaseInsensitive) == 0 &&
            tokens[sig[k + 6]].isPunct(u')')) {
            const qsizetype from = (k > 0 && tokens[sig[k - 1]].isPunct(u',')) ? sig[k - 1] : sig[k];
            tokens.remove(from, sig[k + 6] + 1 - from);
            return;
        }
    }
}

// Splits tokens [from, to) at top-level commas.
QList<std::pair<qsizetype, qsizetype>> splitTopLevel(const Tokens &tokens, qsizetype from, qsizetype to) {
    QList<std::pair<qsizetype, qsizetype>> parts;
    int depth = 0;
    qsizetype start = from;
    for (qsizetype i = from; i < to; ++i) {
        if (tokens[i].isPunct(u'('))
            ++depth;
        else if (tokens[i].isPunct(u')'))
            --depth;
        else if (depth == 0 && tokens[i].isPunct(u',')) {
            parts.append({start, i});
            start = i + 1;
        }
    }
    parts.append({start, to});
    return parts;
}

// Replaces "alias." by "table." in tokens [from, to).
QString qualify(const Tokens &tokens, qsizetype from, qsizetype to, const QString &alias,
                const QString &table) {
    QString out;
    for (qsizetype i = from; i < to; ++i) {
        if (!alias.isEmpty() && tokens[i].kind == Token::Word &&
            tokens[i].text.compare(alias, Qt::CaseInsensitive) == 0 && i + 1 < to &&
            tokens[i + 1].isPunct(u'.'))
            out += table;
        else
            out += tokens[i].text;
    }
    return out.trimmed();
}

// "update A a,B b set a.x=b.y where cond" → "update A set x=(select b.y from B b where cond')
// where exists(select 1 from B b where cond')", with a. written as A. in cond'.
bool rewriteTwoTableUpdate(Tokens &tokens) {
    const QList<qsizetype> sig = significant(tokens);
    if (sig.size() < 6 || !tokens[sig[0]].isWord(QLatin1StringView("update")))
        return false;
    qsizetype setPos = -1;
    qsizetype wherePos = -1;
    int depth = 0;
    for (qsizetype k = 1; k < sig.size(); ++k) {
        const Token &t = tokens[sig[k]];
        if (t.isPunct(u'('))
            ++depth;
        else if (t.isPunct(u')'))
            --depth;
        else if (depth == 0 && setPos < 0 && t.isWord(QLatin1StringView("set")))
            setPos = k;
        else if (depth == 0 && setPos >= 0 && wherePos < 0 && t.isWord(QLatin1StringView("where")))
            wherePos = k;
    }
    if (setPos < 0)
        return false;
    // The table list between "update" and "set": "A a , B b".
    QList<QStringList> tables(1);
    for (qsizetype k = 1; k < setPos; ++k) {
        if (tokens[sig[k]].isPunct(u','))
            tables.append(QStringList());
        else
            tables.last().append(tokens[sig[k]].text);
    }
    if (tables.size() != 2 || tables[0].isEmpty() || tables[1].isEmpty() || tables[0].size() > 2 ||
        tables[1].size() > 2)
        return false;
    const QString target = tables[0][0];
    const QString targetAlias = tables[0].value(1);
    const QString source = tables[1].join(u' ');

    const qsizetype assignFrom = sig[setPos] + 1;
    const qsizetype assignTo = wherePos >= 0 ? sig[wherePos] : tokens.size();
    const QString condition =
        wherePos >= 0 ? qualify(tokens, sig[wherePos] + 1, tokens.size(), targetAlias, target) : QString();
    const QString fromClause = QStringLiteral(" from ") + source +
                               (condition.isEmpty() ? QString() : QStringLiteral(" where ") + condition);

    QStringList assignments;
    for (const auto &[from, to] : splitTopLevel(tokens, assignFrom, assignTo)) {
        qsizetype eq = from;
        while (eq < to && !tokens[eq].isPunct(u'='))
            ++eq;
        if (eq >= to)
            return false;
        QString column = join(tokens, from, eq).trimmed();
        const qsizetype dot = column.lastIndexOf(u'.');
        if (dot >= 0)
            column = column.mid(dot + 1);
        const QString value = qualify(tokens, eq + 1, to, targetAlias, target);
        assignments.append(column + QStringLiteral("=(select ") + value + fromClause + u')');
    }
    const QString sql = QStringLiteral("update ") + target + QStringLiteral(" set ") +
                        assignments.join(u',') + QStringLiteral(" where exists(select 1") + fromClause + u')';
    tokens = {{Token::Word, sql}};
    return true;
}

// ---------------------------------------------------------------------------------------------
// Functions

QString valueText(sqlite3_value *v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        return QString();
    case SQLITE_INTEGER:
        return QString::number(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
        return GeneralNumberText(sqlite3_value_double(v));
    default:
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(v)),
                                 sqlite3_value_bytes(v));
    }
}

void resultText(sqlite3_context *ctx, const QString &text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

void resultError(sqlite3_context *ctx, const QString &message) {
    const QByteArray utf8 = message.toUtf8();
    sqlite3_result_error(ctx, utf8.constData(), static_cast<int>(utf8.size()));
}

bool isNull(sqlite3_value *v) {
    return sqlite3_value_type(v) == SQLITE_NULL;
}

// The moment a value stands for: ISO text, or a day number counted from 1899-12-30 as Jet does.
QDateTime valueMoment(sqlite3_value *v) {
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
        return DateFromDayNumber(sqlite3_value_double(v));
    return ParseDateText(valueText(v).trimmed());
}

const QString &typeMismatch() {
    static const QString text = QStringLiteral("表达式中数据类型不匹配。");
    return text;
}

const QString &invalidCall() {
    static const QString text = QStringLiteral("无效的过程调用或参数。");
    return text;
}

void datePart(sqlite3_context *ctx, sqlite3_value **argv, int part) {
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const QDateTime m = valueMoment(argv[0]);
    if (!m.isValid()) {
        resultError(ctx, typeMismatch());
        return;
    }
    const QDate d = m.date();
    sqlite3_result_int(ctx, part == 0 ? d.year() : part == 1 ? d.month() : d.day());
}

void fnYear(sqlite3_context *ctx, int, sqlite3_value **argv) {
    datePart(ctx, argv, 0);
}
void fnMonth(sqlite3_context *ctx, int, sqlite3_value **argv) {
    datePart(ctx, argv, 1);
}
void fnDay(sqlite3_context *ctx, int, sqlite3_value **argv) {
    datePart(ctx, argv, 2);
}

void fnNow(sqlite3_context *ctx, int, sqlite3_value **) {
    resultText(ctx, DateTimeText(Clock::now()));
}

void fnDate(sqlite3_context *ctx, int, sqlite3_value **) {
    resultText(ctx, DateText(Clock::today()));
}

bool truthy(sqlite3_value *v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        return false;
    case SQLITE_INTEGER:
        return sqlite3_value_int64(v) != 0;
    case SQLITE_FLOAT:
        return sqlite3_value_double(v) != 0;
    default: {
        const QString t = valueText(v).trimmed();
        if (t.compare(u"true", Qt::CaseInsensitive) == 0)
            return true;
        bool ok = false;
        const double d = t.toDouble(&ok);
        return ok && d != 0;
    }
    }
}

void fnIif(sqlite3_context *ctx, int, sqlite3_value **argv) {
    sqlite3_result_value(ctx, truthy(argv[0]) ? argv[1] : argv[2]);
}

// Reads a length or position argument; false (and an error result) when it is negative.
bool countArg(sqlite3_context *ctx, sqlite3_value *v, qsizetype &out) {
    const qint64 n = sqlite3_value_int64(v);
    if (n < 0) {
        resultError(ctx, invalidCall());
        return false;
    }
    out = static_cast<qsizetype>(n);
    return true;
}

void fnRight(sqlite3_context *ctx, int, sqlite3_value **argv) {
    qsizetype n = 0;
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
    } else if (countArg(ctx, argv[1], n)) {
        resultText(ctx, valueText(argv[0]).right(n));
    }
}

void fnLeft(sqlite3_context *ctx, int, sqlite3_value **argv) {
    qsizetype n = 0;
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
    } else if (countArg(ctx, argv[1], n)) {
        resultText(ctx, valueText(argv[0]).left(n));
    }
}

void fnMid(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    qsizetype start = 0;
    qsizetype n = -1;
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    if (!countArg(ctx, argv[1], start))
        return;
    if (start < 1) {
        resultError(ctx, invalidCall());
        return;
    }
    if (argc > 2 && !countArg(ctx, argv[2], n))
        return;
    resultText(ctx, valueText(argv[0]).mid(start - 1, n));
}

void fnLen(sqlite3_context *ctx, int, sqlite3_value **argv) {
    if (isNull(argv[0]))
        sqlite3_result_null(ctx);
    else
        sqlite3_result_int64(ctx, valueText(argv[0]).size());
}

void fnTrim(sqlite3_context *ctx, int, sqlite3_value **argv) {
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    QString t = valueText(argv[0]);
    qsizetype b = 0;
    qsizetype e = t.size();
    while (b < e && t[b] == u' ')
        ++b;
    while (e > b && t[e - 1] == u' ')
        --e;
    resultText(ctx, t.mid(b, e - b));
}

// Jet's format() for dates: yyyy yy mm m dd d hh h nn n ss s; "m" right after an hour means minutes.
QString formatDate(const QDateTime &m, const QString &pattern) {
    QString out;
    bool afterHour = false;
    qsizetype i = 0;
    const qsizetype n = pattern.size();
    auto run = [&](QChar c) {
        qsizetype k = i;
        while (k < n && pattern[k].toLower() == c)
            ++k;
        return k - i;
    };
    auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    while (i < n) {
        const QChar c = pattern[i].toLower();
        const qsizetype len =
            (c == u'y' || c == u'm' || c == u'd' || c == u'h' || c == u'n' || c == u's') ? run(c) : 1;
        if (c == u'y') {
            out += len >= 3 ? QString::number(m.date().year()) : two(m.date().year() % 100);
            afterHour = false;
        } else if (c == u'm' && afterHour && len <= 2) {
            out += len == 2 ? two(m.time().minute()) : QString::number(m.time().minute());
            afterHour = false;
        } else if (c == u'm') {
            out += len >= 2 ? two(m.date().month()) : QString::number(m.date().month());
        } else if (c == u'd') {
            out += len >= 2 ? two(m.date().day()) : QString::number(m.date().day());
            afterHour = false;
        } else if (c == u'h') {
            out += len >= 2 ? two(m.time().hour()) : QString::number(m.time().hour());
            afterHour = true;
        } else if (c == u'n') {
            out += len >= 2 ? two(m.time().minute()) : QString::number(m.time().minute());
        } else if (c == u's') {
            out += len >= 2 ? two(m.time().second()) : QString::number(m.time().second());
        } else {
            out += pattern[i];
        }
        i += len;
    }
    return out;
}

void fnFormat(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (isNull(argv[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString pattern = argc > 1 ? valueText(argv[1]) : QString();
    const int type = sqlite3_value_type(argv[0]);
    if (type == SQLITE_TEXT && !pattern.isEmpty()) {
        const QDateTime m = ParseDateText(valueText(argv[0]).trimmed());
        if (m.isValid()) {
            resultText(ctx, formatDate(m, pattern));
            return;
        }
    }
    resultText(ctx, valueText(argv[0]));
}

} // namespace

QString JetDialect::translate(const QString &jetStatement) {
    Tokens tokens = tokenize(jetStatement);
    const QList<qsizetype> sig = significant(tokens);
    if (sig.isEmpty())
        return QString();

    // The rewrites insert and remove tokens: the statement's kind is read before they run,
    // and no reference into the token list is kept across them.
    const Token &first = tokens[sig[0]];
    const bool isAlter = first.isWord(QLatin1StringView("alter"));
    const bool isCreate = first.isWord(QLatin1StringView("create"));
    const bool isSelect = first.isWord(QLatin1StringView("select"));
    const bool isUpdate = first.isWord(QLatin1StringView("update"));
    if (isAlter && sig.size() > 3 && tokens[sig[3]].isWord(QLatin1StringView("alter")))
        return QString(); // "alter table t alter column c type": SQLite columns take any value

    rewriteWords(tokens, isAlter || isCreate);
    if (isCreate)
        rewriteAutoincrement(tokens);
    else if (isSelect)
        rewriteTop(tokens);
    else if (isUpdate)
        rewriteTwoTableUpdate(tokens);
    return join(tokens);
}

void JetDialect::registerFunctions(sqlite3 *db) {
    struct Fn {
        const char *name;
        int args;
        bool deterministic;
        void (*fn)(sqlite3_context *, int, sqlite3_value **);
    };
    static const Fn functions[] = {
        {"jet_format", 1, true, fnFormat}, {"jet_format", 2, true, fnFormat}, {"jet_month", 1, true, fnMonth},
        {"jet_year", 1, true, fnYear},     {"jet_day", 1, true, fnDay},       {"jet_now", 0, false, fnNow},
        {"jet_date", 0, false, fnDate},    {"jet_iif", 3, true, fnIif},       {"jet_right", 2, true, fnRight},
        {"jet_left", 2, true, fnLeft},     {"jet_len", 1, true, fnLen},       {"jet_mid", 2, true, fnMid},
        {"jet_mid", 3, true, fnMid},       {"jet_trim", 1, true, fnTrim},
    };
    for (const Fn &f : functions) {
        const int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
        sqlite3_create_function_v2(db, f.name, f.args, flags, nullptr, f.fn, nullptr, nullptr, nullptr);
    }
}
