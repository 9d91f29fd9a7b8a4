#pragma once

#include <QList>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;
class DbQuery;

// What the connection takes from an ADO-shaped connection string.
struct ConnectionParams {
    QString dataSource; // the database file, with "/" separators
    QString password;
};

// The database connection: one encrypted file, keyed with its password. Statements are given
// in the Jet dialect and translated before they are prepared. Errors raise DbError.
class DbConnection {
public:
    DbConnection() = default;
    ~DbConnection();
    DbConnection(const DbConnection &) = delete;
    DbConnection &operator=(const DbConnection &) = delete;

    static ConnectionParams parseConnectionString(const QString &connString);
    // What an open says of a file that is not a database of this program, or is keyed with
    // another password.
    static QString notOurDatabaseMessage(const QString &path);

    void setConnectionString(const QString &connString) { m_connString = connString; }
    QString connectionString() const { return m_connString; }

    // Opens the file named by the connection string.
    void open();
    // Opens (or, with create, creates) a database file keyed with the password.
    void openFile(const QString &path, const QString &password, bool create = false);
    // Closes every query on the connection, then the connection.
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString fileName() const { return m_fileName; }

    void beginTrans();
    void commitTrans();
    void rollbackTrans(); // never raises; does nothing outside a transaction
    bool inTransaction() const;

    // Runs one Jet statement that returns no rows.
    void execute(const QString &jetStatement);
    // Runs SQLite statements as they are, without translation (schema creation, pragmas).
    void executeNative(const QString &sqliteStatements);

    sqlite3 *handle() const { return m_db; }
    // Prepares a translated statement; raises DbError naming the Jet text on failure.
    sqlite3_stmt *prepare(const QString &sqliteStatement, const QString &jetStatement);
    QString engineMessage() const;

private:
    friend class DbQuery;
    void attach(DbQuery *query) { m_queries.append(query); }
    void detach(DbQuery *query) { m_queries.removeOne(query); }
    void runPlain(const char *sql);

    sqlite3 *m_db = nullptr;
    QString m_connString;
    QString m_fileName;
    QList<DbQuery *> m_queries;
};
