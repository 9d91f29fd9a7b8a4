#pragma once

#include <QString>

// Creates a fresh, password-protected database file: the twelve tables every database holds
// before its first login (the schema upgrade adds the rest), their indexes, and the rows a
// new installation needs: the remembered-login row, the administrator 管理员 without a
// password, the default company row, and the receipt print style.
// The file is written under a temporary name beside it and renamed into place once complete,
// so that a creation broken off (an error, or the process killed) leaves no file under the
// name; a creation that was killed before is cleaned up by the next. An empty (0-byte) file
// under the name holds nothing and is replaced.
// Raises DbError when a file exists already or cannot be written; leaves no file then.
void CreateDatabase(const QString &path, const QString &password);

class DbConnection;

// Raises DbError, with the message for a file that is not a database of this program, when
// the open connection lacks one of the tables every database holds from its creation on (an
// empty file opens as a database without tables). Other errors of the engine raise as they are.
void CheckProgramTables(DbConnection &connection);
