#pragma once

#include <QString>

// The main window's commands on the database file: "备份数据库", "恢复数据库", "压缩数据库",
// and the automatic daily backup when the program ends.

void BackupDatabaseCommand();
void RestoreDatabaseCommand();
void CompactDatabaseCommand();
// Writes the day's backup into AppDir/自动备份数据/ with the wait banner shown; a failure is
// shown to the user. False when it failed.
bool WriteExitBackup();

// The warning "恢复数据库" asks first.
extern const QString RestoreWarning;
