#include "data/Sharedm2.h"

#include "data/DatabaseFile.h"
#include "data/Globals.h"

TShareDM1 *ShareDM1 = nullptr;

QString BuildConnString(const QString &appDir) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + appDir +
           QStringLiteral("\\qlodata8.0.mdb;Persist Security Info=false;Jet OLEDB:Database Password=kavmirt");
}

void ConnectDatabase() {
    DisconnectDatabase();
    ShareDM1 = new TShareDM1;
    ShareDM1->ShareConn.setConnectionString(ConnString);
    ShareDM1->ShareConn.open();
    try {
        CheckProgramTables(ShareDM1->ShareConn);
    } catch (...) {
        ShareDM1->ShareConn.close();
        throw;
    }
}

void DisconnectDatabase() {
    delete ShareDM1;
    ShareDM1 = nullptr;
}
