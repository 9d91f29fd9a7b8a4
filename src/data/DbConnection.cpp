#include "data/DbConnection.h"

#include "data/DbError.h"
#include "data/DbQuery.h"
#include "data/JetDialect.h"

#include <QDir>
#include <QFileInfo>

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

DbConnection::~DbConnection() {
    close();
}

ConnectionParams DbConnection::parseConnectionString(const QString &connString) {
    ConnectionParams params;
    const QStringList parts = connString.split(u';');
    for (const QString &part : parts) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = part.left(eq).trimmed();
        const QString value = part.mid(eq + 1).trimmed();
        if (key.compare(u"Data Source", Qt::CaseInsensitive) == 0) {
            QString path = value;
            path.replace(u'\\', u'/');
            params.dataSource = QDir::cleanPath(path);
        } else if (key.compare(u"Jet OLEDB:Database Password", Qt::CaseInsensitive) == 0 ||
                   key.compare(u"Password", Qt::CaseInsensitive) == 0) {
            params.password = value;
        }
    }
    return params;
}

QString DbConnection::notOurDatabaseMessage(const QString &path) {
    return QStringLiteral("无法打开数据库文件 %1：密码不正确，或该文件不是本系统的数据库。")
        .arg(QDir::toNativeSeparators(path));
}

void DbConnection::open() {
    const ConnectionParams params = parseConnectionString(m_connString);
    if (params.dataSource.isEmpty())
        throw DbError(QStringLiteral("连接字符串中没有数据库文件（Data Source）。"));
    openFile(params.dataSource, params.password);
}

void DbConnection::runPlain(const char *sql) {
    char *error = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : sqlite3_errmsg(m_db));
        sqlite3_free(error);
        throw DbError(message, QString::fromUtf8(sql));
    }
}

void DbConnection::openFile(const QString &path, const QString &password, bool create) {
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
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr) != SQLITE_OK) {
        const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        sqlite3_close(db);
        throw DbError(QStringLiteral("无法打开数据库文件 %1：%2").arg(shown, message));
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
        } catch (const DbError &) {
            throw DbError(notOurDatabaseMessage(path));
        }
        runPlain("PRAGMA cache_size = -65536");
        runPlain("PRAGMA foreign_keys = OFF");
        JetDialect::registerFunctions(m_db);
    } catch (...) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw;
    }
    m_fileName = path;
}

void DbConnection::close() {
    for (DbQuery *query : std::as_const(m_queries))
        query->close();
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    m_fileName.clear();
}

bool DbConnection::inTransaction() const {
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}

void DbConnection::beginTrans() {
    if (!m_db)
        throw DbError(QStringLiteral("数据库未连接。"));
    if (inTransaction())
        throw DbError(QStringLiteral("事务已经开始，不能再开始新的事务。"));
    runPlain("begin immediate");
}

void DbConnection::commitTrans() {
    if (!inTransaction())
        throw DbError(QStringLiteral("没有可提交的事务。"));
    try {
        runPlain("commit");
    } catch (...) {
        rollbackTrans();
        throw;
    }
}

void DbConnection::rollbackTrans() {
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
    runPlain(sqliteStatements.toUtf8().constData());
}

QString DbConnection::engineMessage() const {
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
}

sqlite3_stmt *DbConnection::prepare(const QString &sqliteStatement, const QString &jetStatement) {
    if (!m_db)
        throw DbError(QStringLiteral("数据库未连接。"), jetStatement);
    const QByteArray utf8 = sqliteStatement.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, utf8.constData(), static_cast<int>(utf8.size()), &stmt, nullptr) !=
        SQLITE_OK) {
        const QString message = engineMessage();
        sqlite3_finalize(stmt);
        throw DbError(message, jetStatement);
    }
    return stmt;
}
