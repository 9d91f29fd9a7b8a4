#include "data/DbQuery.h"

#include "data/DateText.h"
#include "data/DbConnection.h"
#include "data/DbError.h"
#include "data/JetDialect.h"
#include "data/NumberText.h"

#include <cmath>

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

DbQuery::DbQuery(DbConnection &connection)
    : m_conn(connection) {
    m_conn.attach(this);
}

DbQuery::~DbQuery() {
    close();
    m_conn.detach(this);
}

void DbQuery::close() {
    if (m_stmt) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
    m_names.clear();
    m_eof = true;
    m_lastIndex = -1;
}

void DbQuery::fail(const QString &message) const {
    throw DbError(message, text());
}

void DbQuery::open() {
    close();
    const QString jet = text();
    const QString sql = JetDialect::translate(jet);
    if (sql.isEmpty())
        fail(QStringLiteral("查询语句为空。"));
    m_stmt = m_conn.prepare(sql, jet);
    const int columns = sqlite3_column_count(m_stmt);
    m_names.reserve(columns);
    for (int i = 0; i < columns; ++i)
        m_names.append(QString::fromUtf8(sqlite3_column_name(m_stmt, i)));
    m_eof = false;
    step();
}

void DbQuery::execSql() {
    close();
    const QString jet = text();
    if (!m_conn.isOpen())
        fail(QStringLiteral("数据库未连接。"));
    m_conn.checkTransaction(jet);
    QByteArray rest = JetDialect::translate(jet).toUtf8();
    // A text may hold several statements; each runs in turn.
    const char *tail = rest.constData();
    const char *end = tail + rest.size();
    while (tail < end) {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(m_conn.handle(), tail, static_cast<int>(end - tail), &stmt, &tail) !=
            SQLITE_OK) {
            const DbError error = m_conn.engineError(jet);
            sqlite3_finalize(stmt);
            throw error;
        }
        if (!stmt)
            break; // only white space or a comment was left
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE) {
            const DbError error = m_conn.engineError(jet);
            sqlite3_finalize(stmt);
            throw error;
        }
        sqlite3_finalize(stmt);
    }
}

void DbQuery::step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return;
    m_eof = true;
    if (rc != SQLITE_DONE) {
        const DbError error = m_conn.engineError(text());
        close();
        throw error;
    }
}

void DbQuery::next() {
    if (m_stmt && !m_eof)
        step();
}

int DbQuery::fieldIndex(QAnyStringView name) const {
    const int count = static_cast<int>(m_names.size());
    if (count == 0)
        return -1;
    // Lists read their columns in order, so the column after the last one found comes first,
    // and an exact match is tried before the case-blind search.
    const int expected = (m_lastIndex + 1) % count;
    if (QAnyStringView::equal(m_names[expected], name)) {
        m_lastIndex = expected;
        return expected;
    }
    for (int k = 0; k < count; ++k) {
        const int i = (expected + k) % count;
        if (QAnyStringView::compare(m_names[i], name, Qt::CaseInsensitive) == 0) {
            m_lastIndex = i;
            return i;
        }
    }
    return -1;
}

int DbQuery::indexOf(QAnyStringView field) const {
    if (!m_stmt)
        throw DbError(QStringLiteral("数据集未打开，不能读取字段“%1”。").arg(field.toString()), text());
    const int i = fieldIndex(field);
    if (i < 0)
        throw DbError(QStringLiteral("找不到字段“%1”。").arg(field.toString()), text());
    return i;
}

bool DbQuery::isNull(QAnyStringView field) const {
    const int i = indexOf(field);
    return m_eof || sqlite3_column_type(m_stmt, i) == SQLITE_NULL;
}

QString DbQuery::textAt(int i) const {
    if (m_eof)
        return QString();
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_NULL:
        return QString();
    case SQLITE_INTEGER:
        return QString::number(sqlite3_column_int64(m_stmt, i));
    case SQLITE_FLOAT:
        return GeneralNumberText(sqlite3_column_double(m_stmt, i));
    default: {
        const char *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, i));
        return QString::fromUtf8(data, sqlite3_column_bytes(m_stmt, i));
    }
    }
}

qint64 DbQuery::integerAt(int i) const {
    if (m_eof)
        return 0;
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_NULL:
        return 0;
    case SQLITE_INTEGER:
        return sqlite3_column_int64(m_stmt, i);
    case SQLITE_FLOAT:
        return std::llround(sqlite3_column_double(m_stmt, i));
    default: {
        const QString t = textAt(i).trimmed();
        if (t.isEmpty())
            return 0;
        bool ok = false;
        const qint64 v = t.toLongLong(&ok);
        if (ok)
            return v;
        const double d = t.toDouble(&ok);
        if (ok && std::isfinite(d))
            return std::llround(d);
        throw DbError(QStringLiteral("“%1”不是有效的整数值。").arg(t), text());
    }
    }
}

double DbQuery::doubleAt(int i) const {
    if (m_eof)
        return 0;
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_NULL:
        return 0;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_stmt, i);
    default: {
        const QString t = textAt(i).trimmed();
        if (t.isEmpty())
            return 0;
        bool ok = false;
        const double d = t.toDouble(&ok);
        if (!ok)
            throw DbError(QStringLiteral("“%1”不是有效的数值。").arg(t), text());
        return d;
    }
    }
}

bool DbQuery::boolAt(int i) const {
    if (m_eof)
        return false;
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_NULL:
        return false;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_stmt, i) != 0;
    default: {
        const QString t = textAt(i).trimmed();
        if (t.isEmpty())
            return false;
        const QChar first = t[0].toUpper();
        if (first == u'T' || first == u'Y')
            return true;
        if (first == u'F' || first == u'N')
            return false;
        bool ok = false;
        const double d = t.toDouble(&ok);
        if (!ok)
            throw DbError(QStringLiteral("“%1”不是有效的是/否值。").arg(t), text());
        return d != 0;
    }
    }
}

QDateTime DbQuery::dateTimeAt(int i) const {
    if (m_eof)
        return {};
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: {
        // A day number, as Jet stores dates.
        const QDateTime moment = DateFromDayNumber(sqlite3_column_double(m_stmt, i));
        if (!moment.isValid())
            throw DbError(QStringLiteral("“%1”不是有效的日期。").arg(textAt(i)), text());
        return moment;
    }
    default: {
        const QString t = textAt(i).trimmed();
        if (t.isEmpty())
            return {};
        const QDateTime moment = ParseDateText(t);
        if (!moment.isValid())
            throw DbError(QStringLiteral("“%1”不是有效的日期。").arg(t), text());
        return moment;
    }
    }
}
