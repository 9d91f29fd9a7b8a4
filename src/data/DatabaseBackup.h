#pragma once

#include <QDate>
#include <QString>

class DbConnection;

// Copies of the open database. Each writes its copy under a temporary name beside the
// target, syncs it to the disk, checks it and only then renames it over the target, so that
// a failure or a crash at any moment leaves an existing target as it was. Raise DbError
// with the reason; nothing is left behind then.

// "备份数据库": a consistent copy through the engine's online backup, keyed with the same
// password, checked in full (opens with the password, the program's tables, integrity).
void BackupDatabase(DbConnection &source, const QString &target, const QString &password);

// The automatic backup at the end of the program: the database file copied byte for byte
// while a transaction keeps writers out, checked quickly (opens, tables, quick check).
void CopyDatabaseFile(DbConnection &source, const QString &target, const QString &password);

// AppDir/自动备份数据/yyyy-mm-dd_data.bak, and the day's backup written there (the folder is
// created when it is missing; a backup of the same day is replaced).
QString DailyBackupPath(const QString &appDir, const QDate &day);
void WriteDailyBackup(DbConnection &source, const QString &appDir, const QDate &day, const QString &password);

// The name a backup of the given day is proposed under: "yyyy-mm-dd_data.bak".
QString BackupFileName(const QDate &day);
