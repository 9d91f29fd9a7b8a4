#pragma once

#include "data/DbConnection.h"
#include "data/DbQuery.h"

#include <QString>

// The shared data module: the one connection of the program and its shared query objects.
class TShareDM1 {
public:
    TShareDM1() = default;
    TShareDM1(const TShareDM1 &) = delete;
    TShareDM1 &operator=(const TShareDM1 &) = delete;

    DbConnection ShareConn;
    DbQuery ShareQuery1{ShareConn};  // reads: lookups, counts, probes, lists
    DbQuery ShareUpdate1{ShareConn}; // statements: insert, update, delete, create, alter
    DbQuery PrintQuery1{ShareConn};  // receipt header rows for printing; upgrade walks
    DbQuery PrintQuery2{ShareConn};  // receipt line rows for printing
};

extern TShareDM1 *ShareDM1;

// The connection string of a database in the given application directory.
QString BuildConnString(const QString &appDir);

// Creates ShareDM1 (replacing one that exists), gives its connection ConnString and opens it.
// Raises DbError when the database cannot be opened or does not hold the program's tables
// (an empty file among them); the connection is closed then.
void ConnectDatabase();

// Closes the connection and frees ShareDM1.
void DisconnectDatabase();
