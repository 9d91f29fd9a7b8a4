#include "data/DbFailureReason.h"

#include "data/DbError.h"

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

QString EngineFailureReason(int engineCode, const QString &engineMessage) {
    switch (engineCode) {
    case SQLITE_IOERR_NOMEM:
        return QStringLiteral("内存不足。");
    case SQLITE_READONLY_DBMOVED:
        return QStringLiteral("数据库文件已被移走或删除。");
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        return QStringLiteral("要保存的编号或关键字已经存在。");
    default:
        break;
    }
    switch (engineCode & 0xff) {
    case SQLITE_READONLY:
        return QStringLiteral("数据库文件是只读的，不能写入（请检查文件的只读属性和所在文件夹的写入权限）。");
    case SQLITE_FULL:
        return QStringLiteral("磁盘空间已满，数据库文件无法写入。");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("数据库文件已被其他程序锁定，请关闭正在使用它的程序后再试。");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("数据库文件已损坏。");
    case SQLITE_IOERR:
        return QStringLiteral("读写数据库文件时出错（磁盘故障、网络中断或文件被移走）。");
    case SQLITE_CANTOPEN:
        return QStringLiteral("无法打开数据库文件或它的临时文件（请检查所在文件夹的写入权限）。");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("没有访问数据库文件的权限。");
    case SQLITE_NOMEM:
        return QStringLiteral("内存不足。");
    case SQLITE_TOOBIG:
        return QStringLiteral("数据太长，超出了数据库的限制。");
    case SQLITE_CONSTRAINT:
        return QStringLiteral("数据不符合数据库的约束条件：%1").arg(engineMessage);
    case SQLITE_ABORT:
        return QStringLiteral("数据库中止了本次操作，所做的修改已全部撤销。");
    case SQLITE_SCHEMA:
        return QStringLiteral("数据库结构在操作中发生了变化，请重试。");
    default:
        return QStringLiteral("数据库出错：%1").arg(engineMessage);
    }
}

QString FailureReason(const std::exception &error) {
    if (const auto *dbError = dynamic_cast<const DbError *>(&error)) {
        if (dbError->engineCode() != 0)
            return EngineFailureReason(dbError->engineCode(), dbError->message());
        return dbError->message();
    }
    return QString::fromUtf8(error.what());
}
