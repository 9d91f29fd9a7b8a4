#pragma once

#include <QAnyStringView>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

struct sqlite3_stmt;
class DbConnection;

// A query object on a connection, used in the fixed way: close(), clear(), setText() (or
// add() line by line), then open() for rows or execSql() for a statement. Rows are streamed
// from the engine: the current row is read by column name, next() steps, eof() ends.
// A query without a current row (an empty result) reads every column as empty text, 0 or
// false. Errors raise DbError.
class DbQuery {
public:
    explicit DbQuery(DbConnection &connection);
    ~DbQuery();
    DbQuery(const DbQuery &) = delete;
    DbQuery &operator=(const DbQuery &) = delete;

    DbConnection &connection() const { return m_conn; }

    void close();
    void clear() { m_lines.clear(); }
    void setText(const QString &statement) { m_lines = QStringList{statement}; }
    void add(const QString &line) { m_lines.append(line); }
    QString text() const { return m_lines.join(u'\n'); }

    void open();
    void execSql();
    // The whole protocol in one call: close, clear, set the statement, then open or execute.
    void open(const QString &statement) {
        restart(statement);
        open();
    }
    void execSql(const QString &statement) {
        restart(statement);
        execSql();
    }

    bool isOpen() const { return m_stmt != nullptr; }
    bool eof() const { return m_eof; }
    void next();

    int fieldCount() const { return m_names.size(); }
    QString fieldName(int index) const { return m_names.value(index); }
    // Index of a column by name, ignoring case; -1 when the result has no such column.
    int fieldIndex(QAnyStringView name) const;

    bool isNull(QAnyStringView field) const;
    QString asText(QAnyStringView field) const { return textAt(indexOf(field)); }
    qint64 asInteger(QAnyStringView field) const { return integerAt(indexOf(field)); }
    double asDouble(QAnyStringView field) const { return doubleAt(indexOf(field)); }
    bool asBool(QAnyStringView field) const { return boolAt(indexOf(field)); }
    QDateTime asDateTime(QAnyStringView field) const { return dateTimeAt(indexOf(field)); }
    QDate asDate(QAnyStringView field) const { return dateTimeAt(indexOf(field)).date(); }

    QString textAt(int index) const;
    qint64 integerAt(int index) const;
    double doubleAt(int index) const;
    bool boolAt(int index) const;
    QDateTime dateTimeAt(int index) const;

private:
    friend class DbConnection;
    void restart(const QString &statement) {
        close();
        clear();
        setText(statement);
    }
    int indexOf(QAnyStringView field) const; // raises when the column is unknown
    void step();
    [[noreturn]] void fail(const QString &message) const;

    DbConnection &m_conn;
    QStringList m_lines;
    sqlite3_stmt *m_stmt = nullptr;
    QStringList m_names;
    bool m_eof = true;
    mutable int m_lastIndex = -1;
};
