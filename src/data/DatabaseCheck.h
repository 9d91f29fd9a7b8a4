#pragma once

#include <QString>
#include <QStringList>

// How thoroughly CheckDatabaseFile looks at a file.
enum class CheckDepth {
    Quick, // opens with the password, the program's tables, the engine's quick check
    Full,  // the same with the engine's full integrity check (every index against its table)
};

// The tables every database of the program holds before its first login.
const QStringList &ProgramTables();

// Proves that path is a usable database of this program: it exists and is not empty, opens
// with the password, holds the program's tables and passes the engine's check. Raises DbError
// whose message says what is wrong (without the file's name, which the caller knows).
// Reads only; the file stays as it is.
void CheckDatabaseFile(const QString &path, const QString &password, CheckDepth depth);

// True when path opens with the password (it is this program's database, not damaged at
// its start); never raises.
bool DatabaseOpens(const QString &path, const QString &password);
