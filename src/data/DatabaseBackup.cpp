#include "data/DatabaseBackup.h"

#include "data/DatabaseCheck.h"
#include "data/DbConnection.h"
#include "data/DbError.h"
#include "data/DbTransaction.h"
#include "data/SafeFile.h"

#include <QDir>
#include <QFileInfo>

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

namespace {
bool sameFile(const QString &a, const QString &b) {
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
}

// Writes a copy under the target's temporary name with write, checks it with depth and
// renames it over the target; the temporary file goes on any failure.
template <typename Write>
void replaceWithCheckedCopy(DbConnection &source, const QString &target, const QString &password,
                            CheckDepth depth, Write write) {
    if (!source.isOpen())
        throw DbError(QStringLiteral("数据库未连接。"));
    if (sameFile(source.fileName(), target))
        throw DbError(QStringLiteral("不能把数据库备份到它自己的文件上。"));
    const QString part = PartialNameOf(target);
    try {
        RemoveIfExists(part);
        write(part);
        SyncFile(part);
        try {
            CheckDatabaseFile(part, password, depth);
        } catch (const DbError &error) {
            throw DbError(QStringLiteral("备份文件检查未通过：%1").arg(error.message()));
        }
        RenameDurably(part, target);
    } catch (...) {
        try {
            RemoveIfExists(part);
        } catch (const DbError &) {
        }
        throw;
    }
}
} // namespace

void BackupDatabase(DbConnection &source, const QString &target, const QString &password) {
    replaceWithCheckedCopy(source, target, password, CheckDepth::Full, [&](const QString &part) {
        DbConnection copy;
        copy.openFile(part, password, /*create=*/true);
        sqlite3_backup *backup = sqlite3_backup_init(copy.handle(), "main", source.handle(), "main");
        if (!backup)
            throw DbError(QStringLiteral("无法开始备份：%1").arg(copy.engineMessage()));
        int rc;
        int waits = 0;
        do {
            rc = sqlite3_backup_step(backup, 4096);
            // Another program holding the file: wait for it a few seconds.
            if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && ++waits < 250)
                sqlite3_sleep(20);
            else if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                break;
        } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
        sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE)
            throw DbError(QStringLiteral("备份中断：%1").arg(QString::fromUtf8(sqlite3_errstr(rc))));
        copy.close();
    });
}

void CopyDatabaseFile(DbConnection &source, const QString &target, const QString &password) {
    replaceWithCheckedCopy(source, target, password, CheckDepth::Quick, [&](const QString &part) {
        // While the transaction runs no writer can change the file, and everything committed
        // is in it (the rollback journal is gone after each commit).
        DbTransaction transaction(source);
        CopyFileSynced(source.fileName(), part);
    });
}

QString BackupFileName(const QDate &day) {
    return day.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("_data.bak");
}

QString DailyBackupPath(const QString &appDir, const QDate &day) {
    return appDir + QStringLiteral("/自动备份数据/") + BackupFileName(day);
}

void WriteDailyBackup(DbConnection &source, const QString &appDir, const QDate &day,
                      const QString &password) {
    const QString target = DailyBackupPath(appDir, day);
    const QString folder = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(folder))
        throw DbError(QStringLiteral("无法建立文件夹 %1。").arg(QDir::toNativeSeparators(folder)));
    CopyDatabaseFile(source, target, password);
}
