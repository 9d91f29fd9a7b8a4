#include "data/Sharedm2.h"

#include "data/DatabaseFile.h"
#include "data/Globals.h"

TShareDM1 *ShareDM1 = nullptr;

QString BuildConnString(const QString &appDir) {
    // A folder whose path holds ";" or a quote is quoted, so that the string reads back whole.
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") +
           DbConnection::quoteConnectionValue(appDir + QStringLiteral("\\qlodata8.0.mdb")) +
           QStringLiteral(";Persist Security Info=false;Jet OLEDB:Database Password=kavmirt");
}

void ConnectDatabase() {
    DisconnectDatabase();
    ShareDM1 = new TShareDM1;
    ShareDM1->ShareConn.setConnectionString(ConnString);
    ShareDM1->ShareConn.open();
    try {
        CheckProgramTables(ShareDM1->ShareConn);
        // A file that takes no changes is reported now, before anyone types a receipt into it.
        ShareDM1->ShareConn.checkWritable();
    } catch (...) {
        ShareDM1->ShareConn.close();
        throw;
    }
}

void DisconnectDatabase() {
    delete ShareDM1;
    ShareDM1 = nullptr;
}
