#include "data/DbConnection.h"

#include "data/DbError.h"
#include "data/DbFailureReason.h"
#include "data/DbQuery.h"
#include "data/JetDialect.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

DbConnection::~DbConnection() {
    close();
}

namespace {

// The pairs of a connection string, with quoted values unquoted.
QList<std::pair<QString, QString>> connectionPairs(const QString &connString) {
    QList<std::pair<QString, QString>> pairs;
    const qsizetype n = connString.size();
    qsizetype i = 0;
    while (i < n) {
        // The key runs to the first "=" ("==" stands for an "=" inside a key).
        QString key;
        while (i < n && connString[i] != u';') {
            if (connString[i] == u'=') {
                if (i + 1 < n && connString[i + 1] == u'=') {
                    key += u'=';
                    i += 2;
                    continue;
                }
                break;
            }
            key += connString[i++];
        }
        if (i >= n || connString[i] == u';') {
            ++i; // a piece without "=" carries nothing
            continue;
        }
        ++i; // the "="
        while (i < n && connString[i].isSpace() && connString[i] != u';')
            ++i;
        QString value;
        if (i < n && (connString[i] == u'"' || connString[i] == u'\'')) {
            const QChar quote = connString[i++];
            while (i < n) {
                if (connString[i] == quote) {
                    if (i + 1 < n && connString[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += connString[i++];
            }
            while (i < n && connString[i] != u';') // blanks up to the next pair
                ++i;
        } else {
            while (i < n && connString[i] != u';')
                value += connString[i++];
            value = value.trimmed();
        }
        ++i; // the ";"
        pairs.append({key.trimmed(), value});
    }
    return pairs;
}

} // namespace

ConnectionParams DbConnection::parseConnectionString(const QString &connString) {
    ConnectionParams params;
    for (const auto &[key, value] : connectionPairs(connString)) {
        if (key.compare(u"Data Source", Qt::CaseInsensitive) == 0) {
            QString path = value;
            path.replace(u'\\', u'/');
            params.dataSource = QDir::cleanPath(path);
        } else if (key.compare(u"Jet OLEDB:Database Password", Qt::CaseInsensitive) == 0 ||
                   key.compare(u"Password", Qt::CaseInsensitive) == 0) {
            params.password = value;
        } else if (key.compare(u"Mode", Qt::CaseInsensitive) == 0) {
            params.readOnly = value.compare(u"Read", Qt::CaseInsensitive) == 0;
        }
    }
    return params;
}

QString DbConnection::quoteConnectionValue(const QString &value) {
    const bool plain =
        !value.contains(u';') && !value.contains(u'"') && !value.contains(u'\'') && value.trimmed() == value;
    if (plain)
        return value;
    QString quoted = value;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString DbConnection::notOurDatabaseMessage(const QString &path) {
    return QStringLiteral("无法打开数据库文件 %1：密码不正确，或该文件不是本系统的数据库。")
        .arg(QDir::toNativeSeparators(path));
}

void DbConnection::open() {
    const ConnectionParams params = parseConnectionString(m_connString);
    if (params.dataSource.isEmpty())
        throw DbError(QStringLiteral("连接字符串中没有数据库文件（Data Source）。"));
    openFile(params.dataSource, params.password, /*create=*/false, params.readOnly);
}

void DbConnection::runPlain(const char *sql) {
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw engineError(QString::fromUtf8(sql));
}

DbError DbConnection::engineError(const QString &statement) {
    m_lastFailure = m_db ? sqlite3_extended_errcode(m_db) : SQLITE_MISUSE;
    return DbError(engineMessage(), statement, m_lastFailure);
}

void DbConnection::checkTransaction(const QString &statement) const {
    if (m_transactionOpen && !inTransaction())
        throw DbError(QStringLiteral("数据库已撤销本次事务的全部修改。"), statement,
                      m_lastFailure != 0 ? m_lastFailure : SQLITE_ABORT_ROLLBACK);
}

void DbConnection::openFile(const QString &path, const QString &password, bool create, bool readOnly) {
    close();
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!create && !info.exists())
        throw DbError(QStringLiteral("找不到数据库文件：%1").arg(shown));
    if (create && info.exists())
        throw DbError(QStringLiteral("数据库文件已经存在：%1").arg(shown));
    if (!create && !info.isFile())
        throw DbError(QStringLiteral("不是数据库文件：%1").arg(shown));

    // One thread uses the connection: no per-call locking inside the engine.
    const int access = readOnly && !create ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    const int flags = access | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr) != SQLITE_OK) {
        const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        const int code = db ? sqlite3_extended_errcode(db) : SQLITE_NOMEM;
        sqlite3_close(db);
        throw DbError(QStringLiteral("无法打开数据库文件 %1：%2").arg(shown, message), QString(), code);
    }
    m_db = db;
    try {
        const QByteArray key = password.toUtf8();
        sqlite3_key(m_db, key.constData(), static_cast<int>(key.size()));
        // 4 KB pages scan faster than the default 1 KB; the page size belongs to the file,
        // so it is given at creation and at every open.
        runPlain("PRAGMA cipher_page_size = 4096");
        sqlite3_busy_timeout(m_db, 5000);
        // The first read proves the password: a wrong one, or a file that is not a database,
        // fails here.
        try {
            runPlain("select count(*) from sqlite_master");
        } catch (const DbError &error) {
            throw DbError(notOurDatabaseMessage(path), QString(), error.engineCode());
        }
        runPlain(QStringLiteral("PRAGMA cache_size = -%1")
                     .arg(PageCacheKiB(info.exists() ? info.size() : 0))
                     .toUtf8()
                     .constData());
        runPlain("PRAGMA foreign_keys = OFF");
        JetDialect::registerFunctions(m_db);
    } catch (...) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw;
    }
    m_fileName = path;
}

qint64 DbConnection::PageCacheKiB(qint64 fileBytes) {
    // Every page read again after it left the cache is decrypted again, so a scan of a large
    // table stays fast only while the file fits. The cache grows only as pages are read, so a
    // small file costs no more than it is.
    constexpr qint64 floorKiB = 64 * 1024;
    constexpr qint64 capKiB = 512 * 1024;
    return std::clamp(fileBytes / 1024 + fileBytes / 4096, floorKiB, capKiB);
}

void DbConnection::checkWritable() {
    if (!m_db)
        throw DbError(QStringLiteral("数据库未连接。"));
    // Creating a table writes the file's first page, which takes the write lock and creates the
    // journal beside the file: what every save needs.
    try {
        beginTrans();
        runPlain("create table quillo_write_probe(x integer)");
        rollbackTrans();
    } catch (const DbError &error) {
        rollbackTrans();
        throw DbError(QStringLiteral("数据库文件无法写入：%1\r\n原因：%2")
                          .arg(QDir::toNativeSeparators(m_fileName), FailureReason(error)),
                      error.statement(), error.engineCode());
    }
}

void DbConnection::close() {
    for (DbQuery *query : std::as_const(m_queries))
        query->close();
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    m_transactionOpen = false;
    m_fileName.clear();
}

bool DbConnection::inTransaction() const {
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}

void DbConnection::beginTrans() {
    if (!m_db)
        throw DbError(QStringLiteral("数据库未连接。"));
    if (m_transactionOpen || inTransaction())
        throw DbError(QStringLiteral("事务已经开始，不能再开始新的事务。"));
    runPlain("begin immediate");
    m_transactionOpen = true;
}

void DbConnection::commitTrans() {
    try {
        checkTransaction(QStringLiteral("commit"));
        if (!inTransaction())
            throw DbError(QStringLiteral("没有可提交的事务。"));
        runPlain("commit");
        m_transactionOpen = false;
    } catch (...) {
        rollbackTrans();
        throw;
    }
}

void DbConnection::rollbackTrans() {
    m_transactionOpen = false;
    if (!inTransaction())
        return;
    sqlite3_exec(m_db, "rollback", nullptr, nullptr, nullptr);
}

void DbConnection::execute(const QString &jetStatement) {
    DbQuery query(*this);
    query.setText(jetStatement);
    query.execSql();
}

void DbConnection::executeNative(const QString &sqliteStatements) {
    if (!m_db)
        throw DbError(QStringLiteral("数据库未连接。"), sqliteStatements);
    checkTransaction(sqliteStatements);
    runPlain(sqliteStatements.toUtf8().constData());
}

QString DbConnection::engineMessage() const {
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
}

sqlite3_stmt *DbConnection::prepare(const QString &sqliteStatement, const QString &jetStatement) {
    if (!m_db)
        throw DbError(QStringLiteral("数据库未连接。"), jetStatement);
    checkTransaction(jetStatement);
    const QByteArray utf8 = sqliteStatement.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, utf8.constData(), static_cast<int>(utf8.size()), &stmt, nullptr) !=
        SQLITE_OK) {
        const DbError error = engineError(jetStatement);
        sqlite3_finalize(stmt);
        throw error;
    }
    return stmt;
}
