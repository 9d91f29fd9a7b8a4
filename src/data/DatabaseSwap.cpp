#include "data/DatabaseSwap.h"

#include "data/DatabaseCheck.h"
#include "data/DbConnection.h"
#include "data/DbError.h"
#include "data/SafeFile.h"

#include <QDir>
#include <QFileInfo>

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

namespace {
MaintenanceHook stepHook = nullptr;

void reached(int step) {
    if (stepHook)
        stepHook(step);
}

QString besideDatabase(const QString &database, const QString &name) {
    return QFileInfo(database).dir().filePath(name);
}

QString journalOf(const QString &file) {
    return file + QStringLiteral("-journal");
}

void removeQuietly(const QString &path) {
    try {
        RemoveIfExists(path);
    } catch (const DbError &) {
    }
}

void removeCopy(const QString &copy) {
    removeQuietly(copy);
    removeQuietly(journalOf(copy));
}

// Runs one native statement with text parameters.
void runBound(DbConnection &connection, const char *sql, const QStringList &parameters) {
    sqlite3 *db = connection.handle();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
        throw DbError(connection.engineMessage(), QString::fromUtf8(sql));
    QList<QByteArray> values;
    for (const QString &p : parameters)
        values.append(p.toUtf8());
    for (int i = 0; i < values.size(); ++i)
        sqlite3_bind_text(stmt, i + 1, values[i].constData(), static_cast<int>(values[i].size()),
                          SQLITE_TRANSIENT);
    const int rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw DbError(connection.engineMessage(), QString::fromUtf8(sql));
}
} // namespace

void SetMaintenanceHook(MaintenanceHook hook) {
    stepHook = hook;
}

QString CompactCopyPathOf(const QString &database) {
    return besideDatabase(database, QStringLiteral("temp.mdb"));
}

QString PreviousDatabasePathOf(const QString &database) {
    return besideDatabase(database, QStringLiteral("bak"));
}

void RecoverDatabaseFiles(const QString &database, const QString &password) {
    const QString bak = PreviousDatabasePathOf(database);
    if (QFileInfo::exists(bak)) {
        if (!QFileInfo::exists(database)) {
            // Stopped between the two renames of a swap: the old database comes back.
            RenameDurably(bak, database);
        } else if (DatabaseOpens(database, password)) {
            // Stopped after the swap: the new database is in place.
            RemoveIfExists(bak);
            SyncFolderOf(bak);
        } else if (DatabaseOpens(bak, password)) {
            RenameDurably(bak, database);
        }
    }
    const QString copy = CompactCopyPathOf(database);
    RemoveIfExists(copy);
    RemoveIfExists(journalOf(copy));
}

void SwapInDatabase(const QString &newFile, const QString &database, const QString &password) {
    const QString bak = PreviousDatabasePathOf(database);
    RemoveIfExists(bak);
    RenameDurably(database, bak);
    reached(StepDatabaseToBak);
    try {
        RenameDurably(newFile, database);
        reached(StepCopyToDatabase);
        DbConnection probe;
        probe.openFile(database, password);
        probe.close();
    } catch (...) {
        // The old database goes back in place (over the new one, when that got there).
        RenameDurably(bak, database);
        removeCopy(newFile);
        throw;
    }
    reached(StepNewDatabaseOpened);
    RemoveIfExists(bak);
    SyncFolderOf(bak);
    reached(StepBakDeleted);
}

void CompactDatabaseFile(const QString &database, const QString &password) {
    // Leftovers of an earlier run go first (and a half-done swap is repaired).
    RecoverDatabaseFiles(database, password);
    const QString copy = CompactCopyPathOf(database);
    try {
        // The connection is opened without the right to create files, so the copy is created
        // first; the engine then rebuilds every table and index into it.
        DbConnection target;
        target.openFile(copy, password, /*create=*/true);
        target.close();
        DbConnection source;
        source.openFile(database, password);
        runBound(source, "ATTACH DATABASE ? AS compacted KEY ?", {copy, password});
        source.executeNative(QStringLiteral("PRAGMA compacted.cipher_page_size = 4096"));
        source.executeNative(QStringLiteral("SELECT sqlcipher_export('compacted')"));
        source.executeNative(QStringLiteral("DETACH DATABASE compacted"));
        source.close();
        SyncFile(copy);
        SyncFolderOf(copy);
        reached(StepCopyWritten);
        CheckDatabaseFile(copy, password, CheckDepth::Quick);
        reached(StepCopyChecked);
    } catch (...) {
        removeCopy(copy);
        throw;
    }
    SwapInDatabase(copy, database, password);
}

QString PrepareRestore(const QString &chosen, const QString &database, const QString &password) {
    const QFileInfo info(chosen);
    if (!info.exists())
        throw DbError(QStringLiteral("文件不存在。"));
    if (!info.isFile())
        throw DbError(QStringLiteral("这不是一个文件。"));
    RecoverDatabaseFiles(database, password);
    const QString copy = CompactCopyPathOf(database);
    try {
        bool started = false;
        CopyFileSynced(chosen, copy, [&started](qint64) {
            if (!started) {
                started = true;
                reached(StepCopyStarted);
            }
        });
        SyncFolderOf(copy);
        reached(StepCopyWritten);
        // The copy is what gets swapped in, so the copy is what is checked.
        CheckDatabaseFile(copy, password, CheckDepth::Full);
        reached(StepCopyChecked);
    } catch (...) {
        removeCopy(copy);
        throw;
    }
    return copy;
}
