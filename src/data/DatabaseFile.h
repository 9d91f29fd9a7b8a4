#pragma once

#include <QString>

// Creates a fresh, password-protected database file: the twelve tables every database holds
// before its first login (the schema upgrade adds the rest), their indexes, and the rows a
// new installation needs: the remembered-login row, the administrator 管理员 without a
// password, the default company row, and the receipt print style.
// Raises DbError when the file exists already or cannot be written; leaves no file then.
void CreateDatabase(const QString &path, const QString &password);
