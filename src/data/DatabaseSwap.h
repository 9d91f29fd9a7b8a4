#pragma once

#include <QString>

// Replacing the database file itself: the compaction, the restore from a backup, and the
// repair at start-up of a replacement that a crash interrupted. The new file is always a
// complete, checked copy named temp.mdb beside the database; the swap renames the database
// to bak, temp.mdb to the database, proves that the new file opens and only then deletes
// bak. At every moment the database or bak is a usable database, and
// RecoverDatabaseFiles() makes it the database again. These routines work on closed
// files: the caller disconnects before and reconnects after. They raise DbError with the
// reason.

// temp.mdb and bak beside a database file.
QString CompactCopyPathOf(const QString &database);
QString PreviousDatabasePathOf(const QString &database);

// At start-up, before the database is opened: a database missing beside a bak gets bak
// back; a bak beside a database that opens is deleted (a bak beside one that does not open
// replaces it); a leftover temp.mdb (with its journal) is deleted.
void RecoverDatabaseFiles(const QString &database, const QString &password);

// "压缩数据库": the engine's compaction into temp.mdb (keyed with the same password),
// checked, then swapped in. On failure the database stays where it was and temp.mdb goes.
void CompactDatabaseFile(const QString &database, const QString &password);

// "恢复数据库", first half (the database may still be open): copies the chosen file to
// temp.mdb and checks the copy in full (opens with the password, the program's tables,
// integrity). Raises with the reason and leaves nothing behind when the file is not fit.
// Returns the path of the checked copy.
QString PrepareRestore(const QString &chosen, const QString &database, const QString &password);

// Swaps the checked copy in for the database (the database closed). When the new file does
// not open, the old database is put back and the error raised.
void SwapInDatabase(const QString &newFile, const QString &database, const QString &password);

// The points of a compaction or restore a test may stop at, in their order. The hook, when
// set, runs at each of them with its number.
enum MaintenanceStep {
    StepCopyStarted = 1, // the first megabyte of a restore's copy is written
    StepCopyWritten,     // temp.mdb complete
    StepCopyChecked,     // temp.mdb checked
    StepDatabaseToBak,   // the database renamed to bak
    StepCopyToDatabase,  // temp.mdb renamed to the database
    StepNewDatabaseOpened,
    StepBakDeleted,
};
using MaintenanceHook = void (*)(int step);
void SetMaintenanceHook(MaintenanceHook hook);
