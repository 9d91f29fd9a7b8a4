#pragma once

#include <QString>

// What the tests of backups, restores and compaction read from database files: the rows
// that matter, as text.
namespace MaintenanceFiles {
// Goods, receipts, receipt lines and the company rows of the database file at path, opened
// with the program's password (a connection of its own).
QString contentOf(const QString &path);
// The same through the shared connection.
QString sharedContent();
// Adds goods and receipts to the shared connection's database; n of each.
void addRows(int n, const QString &tag);
// SHA-1 of a file's bytes.
QByteArray hashOf(const QString &path);
} // namespace MaintenanceFiles
