#pragma once

#include <QString>

struct sqlite3;

// The one place where the program's Access (Jet) statements become SQLite statements.
// Statements are written as the program means them; the translator rewrites the few forms
// SQLite spells differently and registers the functions it lacks. Text inside string
// literals is never touched.
class JetDialect {
public:
    // The SQLite text of a Jet statement. An empty result means "nothing to run"
    // (for example "alter table … alter column …": SQLite columns are untyped).
    static QString translate(const QString &jetStatement);

    // Registers the Jet functions (format, Month, Year, Day, Now, Date, IIF, Right, Left,
    // Len, Mid, Trim) on a connection, under the names the translator gives them.
    static void registerFunctions(sqlite3 *db);
};
