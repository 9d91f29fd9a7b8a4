#include "TestAppDir.h"

#include "data/Clock.h"
#include "data/DatabaseFile.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/Sharedm2.h"

#include <QDir>
#include <QTest>

TestAppDir::TestAppDir(bool connect) {
    ResetGlobals();
    AppDir = m_dir.path();
    ConnString = BuildConnString(AppDir);
    CreateDatabase(databasePath(), password());
    if (connect)
        ConnectDatabase();
}

TestAppDir::~TestAppDir() {
    DisconnectDatabase();
    ResetGlobals();
    Clock::reset();
}

QString TestAppDir::databasePath() const {
    return QDir(m_dir.path()).filePath(DatabaseFileName);
}

QString TestAppDir::password() {
    return DbConnection::parseConnectionString(BuildConnString(QStringLiteral("."))).password;
}

void TestAppDir::exec(const QString &statement) {
    try {
        DbQuery &q = ShareDM1->ShareUpdate1;
        q.execSql(statement);
    } catch (const DbError &e) {
        QTest::qFail(
            qPrintable(QStringLiteral("set-up statement failed: %1\n%2").arg(e.message(), statement)),
            __FILE__, __LINE__);
    }
}

QString TestAppDir::rows(const QString &statement) {
    return rows(ShareDM1->ShareConn, statement);
}

QString TestAppDir::rows(DbConnection &connection, const QString &statement) {
    DbQuery q(connection);
    q.setText(statement);
    q.open();
    QStringList rows;
    for (; !q.eof(); q.next()) {
        QStringList cells;
        for (int i = 0; i < q.fieldCount(); ++i)
            cells.append(q.textAt(i));
        rows.append(cells.join(u'|'));
    }
    return rows.join(u';');
}

QString TestAppDir::value(const QString &statement) {
    DbQuery q(ShareDM1->ShareConn);
    q.setText(statement);
    q.open();
    return q.textAt(0);
}
