#pragma once

#include <QList>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;
class DbQuery;
class DbError;

// What the connection takes from an ADO-shaped connection string.
struct ConnectionParams {
    QString dataSource; // the database file, with "/" separators
    QString password;
    bool readOnly = false; // "Mode=Read"
};

// The database connection: one encrypted file, keyed with its password. Statements are given
// in the Jet dialect and translated before they are prepared. Errors raise DbError.
class DbConnection {
public:
    DbConnection() = default;
    ~DbConnection();
    DbConnection(const DbConnection &) = delete;
    DbConnection &operator=(const DbConnection &) = delete;

    // Reads "key=value;…" as ADO does: a value may be quoted with double or single quotes (a
    // doubled quote inside stands for one), so that it can hold ";", "=" and quotes.
    static ConnectionParams parseConnectionString(const QString &connString);
    // A value for a connection string: as it is when ADO reads it back unchanged, otherwise in
    // double quotes with every double quote doubled.
    static QString quoteConnectionValue(const QString &value);
    // What an open says of a file that is not a database of this program, or is keyed with
    // another password.
    static QString notOurDatabaseMessage(const QString &path);

    void setConnectionString(const QString &connString) { m_connString = connString; }
    QString connectionString() const { return m_connString; }

    // Opens the file named by the connection string.
    void open();
    // Opens (or, with create, creates) a database file keyed with the password.
    void openFile(const QString &path, const QString &password, bool create = false, bool readOnly = false);
    // Proves that the open file takes changes: a change in a transaction that is rolled back.
    // Raises DbError, naming the file and the reason, when it does not (a read-only file or
    // folder, a file another program locks, a damaged file).
    void checkWritable();
    // Closes every query on the connection, then the connection.
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString fileName() const { return m_fileName; }

    void beginTrans();
    void commitTrans();
    void rollbackTrans(); // never raises; does nothing outside a transaction
    // Whether the engine holds a transaction open. After some failures (a full disk, an I/O
    // error) it rolls the whole transaction back by itself; every later statement of that
    // transaction then raises instead of running on its own, until rollbackTrans().
    bool inTransaction() const;

    // Runs one Jet statement that returns no rows.
    void execute(const QString &jetStatement);
    // Runs SQLite statements as they are, without translation (schema creation, pragmas).
    void executeNative(const QString &sqliteStatements);

    // The page cache of a connection to a file of this size: the whole file and a quarter more
    // for the indexes' working pages, at least 64 MB and at most 512 MB.
    static qint64 PageCacheKiB(qint64 fileBytes);

    sqlite3 *handle() const { return m_db; }
    // Prepares a translated statement; raises DbError naming the Jet text on failure.
    sqlite3_stmt *prepare(const QString &sqliteStatement, const QString &jetStatement);
    QString engineMessage() const;
    // The engine's failure as an error: its message and extended result code.
    DbError engineError(const QString &statement);
    // Raises when the program's transaction is open but the engine has rolled it back.
    void checkTransaction(const QString &statement) const;

private:
    friend class DbQuery;
    void attach(DbQuery *query) { m_queries.append(query); }
    void detach(DbQuery *query) { m_queries.removeOne(query); }
    void runPlain(const char *sql);

    sqlite3 *m_db = nullptr;
    bool m_transactionOpen = false; // beginTrans ran, commitTrans or rollbackTrans not yet
    int m_lastFailure = 0;          // the last engine failure's code
    QString m_connString;
    QString m_fileName;
    QList<DbQuery *> m_queries;
};
