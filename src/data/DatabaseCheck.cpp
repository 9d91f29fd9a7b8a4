#include "data/DatabaseCheck.h"

#include "data/DbConnection.h"
#include "data/DbError.h"

#include <QFileInfo>
#include <QSet>

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

namespace {
// The first rows of a statement's first column.
QStringList firstColumn(sqlite3 *db, const char *sql, int limit) {
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(db)), QString::fromUtf8(sql));
    QStringList values;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW && values.size() < limit)
        values.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0))));
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw DbError(QStringLiteral("数据库文件已损坏（%1）。").arg(QString::fromUtf8(sqlite3_errstr(rc))));
    return values;
}
} // namespace

const QStringList &ProgramTables() {
    static const QStringList tables = {
        QStringLiteral("aa_goods"),      QStringLiteral("aa_company"),  QStringLiteral("aa_staff"),
        QStringLiteral("aa_unit"),       QStringLiteral("aa_remark"),   QStringLiteral("ss_sale"),
        QStringLiteral("ss_saledetail"), QStringLiteral("xt_tablekey"), QStringLiteral("xt_log"),
        QStringLiteral("pr_printcfg"),   QStringLiteral("xt_userinfo"), QStringLiteral("xt_userloginpwd"),
    };
    return tables;
}

void CheckDatabaseFile(const QString &path, const QString &password, CheckDepth depth) {
    const QFileInfo info(path);
    if (!info.exists())
        throw DbError(QStringLiteral("文件不存在。"));
    if (!info.isFile())
        throw DbError(QStringLiteral("这不是一个文件。"));
    if (info.size() == 0)
        throw DbError(QStringLiteral("文件是空的。"));
    // A database is made of whole 4 KB pages; anything else was cut off or is something else.
    if (info.size() % 4096 != 0)
        throw DbError(QStringLiteral("文件不完整（长度不是整页），或者它不是本系统的数据库。"));

    DbConnection connection;
    try {
        connection.openFile(path, password);
    } catch (const DbError &) {
        throw DbError(QStringLiteral("该文件不是本系统的数据库，或者它的密码与本系统的不同。"));
    }
    sqlite3 *db = connection.handle();

    QSet<QString> present;
    for (const QString &name :
         firstColumn(db, "select lower(name) from sqlite_master where type='table'", 1000))
        present.insert(name);
    QStringList missing;
    for (const QString &table : ProgramTables())
        if (!present.contains(table))
            missing.append(table);
    if (!missing.isEmpty())
        throw DbError(
            QStringLiteral("该数据库缺少本系统的数据表：%1。").arg(missing.join(QStringLiteral("、"))));

    const char *check = depth == CheckDepth::Full ? "PRAGMA integrity_check(5)" : "PRAGMA quick_check(5)";
    const QStringList result = firstColumn(db, check, 5);
    if (result != QStringList{QStringLiteral("ok")})
        throw DbError(QStringLiteral("数据库文件已损坏（%1）。").arg(result.join(QStringLiteral("；"))));
    connection.close();
}

bool DatabaseOpens(const QString &path, const QString &password) {
    try {
        if (QFileInfo(path).size() == 0)
            return false;
        DbConnection connection;
        connection.openFile(path, password);
        return true;
    } catch (const DbError &) {
        return false;
    }
}
