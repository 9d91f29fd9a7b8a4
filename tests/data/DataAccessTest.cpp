// The connection, the query protocol, transactions and the database file itself.
#include "TestAppDir.h"

#include "data/DatabaseFile.h"
#include "data/DbError.h"
#include "data/DbFailureReason.h"
#include "data/DbTransaction.h"
#include "data/Globals.h"
#include "data/Sharedm2.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

class DataAccessTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void connectionString();
    void programFolderWithAnyName_data();
    void programFolderWithAnyName();
    void quotedConnectionValues_data();
    void quotedConnectionValues();
    void connectFailures_data();
    void connectFailures();
    void fileIsUnreadableWithoutItsPassword();
    void freshDatabaseHoldsTheStartingRows();
    void freshDatabaseRefusesToOverwrite();

    void protocolReadsRowsInOrder();
    void emptyResultReadsAsEmptyValues();
    void typedReaders_data();
    void typedReaders();
    void unreadableValuesRaise_data();
    void unreadableValuesRaise();
    void unknownFieldAndClosedQueryRaise();
    void statementLinesAreJoined();
    void failingStatementRaisesEngineMessage();

    void transactionGuardRollsBack();
    void nestedTransactionIsRefused();
    void rollbackKeepsOpenResults();
    void failureReasons_data();
    void failureReasons();
    void unwritableFileIsRefusedAtConnect();
    void transactionTheEngineUndidStaysUndone();
};

void DataAccessTest::cleanup() {
    DisconnectDatabase();
    ResetGlobals();
}

void DataAccessTest::connectionString() {
    const QString conn = BuildConnString("/opt/quillo");
    QCOMPARE(conn, QString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/opt/quillo\\qlodata8.0.mdb;"
                           "Persist Security Info=false;Jet OLEDB:Database Password=kavmirt"));
    const ConnectionParams params = DbConnection::parseConnectionString(conn);
    QCOMPARE(params.dataSource, QString("/opt/quillo/qlodata8.0.mdb"));
    QCOMPARE(params.password, QString("kavmirt"));
}

// The program folder's name reaches the connection whole, whatever it holds: connect,
// write and read in it.
void DataAccessTest::programFolderWithAnyName_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("dataSource"); // the value as the string carries it, "" = plain
    QTest::newRow("semicolon") << "收据;2024"
                               << "\"%1\\qlodata8.0.mdb\"";
    QTest::newRow("double quote and equals") << "a\"b=c"
                                             << "\"%1\\qlodata8.0.mdb\"";
    QTest::newRow("single quote") << "O'Brien"
                                  << "\"%1\\qlodata8.0.mdb\"";
    QTest::newRow("equals only") << "x=y"
                                 << "%1\\qlodata8.0.mdb";
    QTest::newRow("everything") << "; Data Source=x;\"'"
                                << "\"%1\\qlodata8.0.mdb\"";
}

void DataAccessTest::programFolderWithAnyName() {
    QFETCH(QString, folder);
    QFETCH(QString, dataSource);
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkdir(folder));
    AppDir = QDir(root.path()).filePath(folder);
    CreateDatabase(AppDir + "/qlodata8.0.mdb", TestAppDir::password());
    ConnString = BuildConnString(AppDir);
    QString quotedDir = AppDir;
    if (dataSource.startsWith(u'"'))
        quotedDir.replace("\"", "\"\"");
    QCOMPARE(ConnString, "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + dataSource.arg(quotedDir) +
                             ";Persist Security Info=false;Jet OLEDB:Database Password=kavmirt");

    ConnectDatabase();
    QCOMPARE(ShareDM1->ShareConn.fileName(), AppDir + "/qlodata8.0.mdb");
    TestAppDir::exec("insert into aa_unit(name,namecode,unitid)values('箱','X',1)");
    QCOMPARE(TestAppDir::rows("select name from aa_unit"), QString("箱"));
    DisconnectDatabase();
}

// Connection strings as ADO writes them: values in double or single quotes, quotes doubled
// inside, blanks around the pieces.
void DataAccessTest::quotedConnectionValues_data() {
    QTest::addColumn<QString>("connString");
    QTest::addColumn<QString>("dataSource");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("double quotes") << "Data Source=\"/a;b/x.mdb\";Jet OLEDB:Database Password=pw"
                                   << "/a;b/x.mdb"
                                   << "pw" << false;
    QTest::newRow("doubled quote inside") << "Data Source=\"/a\"\"b/x.mdb\";Password=\"p;w\""
                                          << "/a\"b/x.mdb"
                                          << "p;w" << false;
    QTest::newRow("single quotes") << "Data Source='/a\"b;c/x.mdb';Password='it''s'"
                                   << "/a\"b;c/x.mdb"
                                   << "it's" << false;
    QTest::newRow("blanks around") << " Data Source = \"/a b/x.mdb\" ; Mode = Read "
                                   << "/a b/x.mdb"
                                   << "" << true;
    QTest::newRow("read-write mode") << "Data Source=C:\\q\\x.mdb;Mode=ReadWrite"
                                     << "C:/q/x.mdb"
                                     << "" << false;
}

void DataAccessTest::quotedConnectionValues() {
    QFETCH(QString, connString);
    QFETCH(QString, dataSource);
    QFETCH(QString, password);
    QFETCH(bool, readOnly);
    const ConnectionParams params = DbConnection::parseConnectionString(connString);
    QCOMPARE(params.dataSource, dataSource);
    QCOMPARE(params.password, password);
    QCOMPARE(params.readOnly, readOnly);
}

void DataAccessTest::connectFailures_data() {
    QTest::addColumn<QString>("fileContent"); // empty: no file at all
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("messagePart");
    QTest::newRow("missing file") << QString() << "kavmirt"
                                  << "找不到数据库文件";
    QTest::newRow("not a database") << "just some text, not a database file at all"
                                    << "kavmirt"
                                    << "密码不正确";
    QTest::newRow("wrong password") << "*"
                                    << "wrong"
                                    << "密码不正确";
    // An empty file opens as a database without tables; it is refused like any other file that
    // does not hold the program's tables.
    QTest::newRow("empty file") << "<empty>"
                                << "kavmirt"
                                << "密码不正确，或该文件不是本系统的数据库";
    QTest::newRow("database of another program") << "<other>"
                                                 << "kavmirt"
                                                 << "密码不正确，或该文件不是本系统的数据库";
}

void DataAccessTest::connectFailures() {
    QFETCH(QString, fileContent);
    QFETCH(QString, password);
    QFETCH(QString, messagePart);
    QTemporaryDir dir;
    const QString path = dir.filePath("qlodata8.0.mdb");
    if (fileContent == "*") {
        CreateDatabase(path, TestAppDir::password());
    } else if (fileContent == "<empty>") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
    } else if (fileContent == "<other>") {
        DbConnection other;
        other.openFile(path, TestAppDir::password(), /*create=*/true);
        other.executeNative("create table aa_goods(goodsid integer); create table notes(text text)");
    } else if (!fileContent.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(fileContent.toUtf8().repeated(200));
    }
    AppDir = dir.path();
    ConnString = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + AppDir +
                 "\\qlodata8.0.mdb;Jet OLEDB:Database Password=" + password;
    try {
        ConnectDatabase();
        QFAIL("the connection opened");
    } catch (const DbError &e) {
        QVERIFY2(e.message().contains(messagePart), qPrintable(e.message()));
        QVERIFY(e.message().contains("qlodata8.0.mdb"));
    }
    QVERIFY(!ShareDM1->ShareConn.isOpen());
    // A failed open never leaves a file behind where there was none, nor writes to an empty one.
    QCOMPARE(QFile::exists(path), !fileContent.isEmpty());
    if (fileContent == "<empty>")
        QCOMPARE(QFileInfo(path).size(), 0);
}

void DataAccessTest::fileIsUnreadableWithoutItsPassword() {
    TestAppDir app(false);
    QFile f(app.databasePath());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.size() >= 4096);
    QVERIFY(!bytes.startsWith("SQLite format 3"));
    QVERIFY(!bytes.contains(QString("管理员").toUtf8()));
    QVERIFY(!bytes.contains("xt_userloginpwd"));

    DbConnection plain;
    QVERIFY_THROWS_EXCEPTION(DbError, plain.openFile(app.databasePath(), QString()));
}

void DataAccessTest::freshDatabaseHoldsTheStartingRows() {
    TestAppDir app;
    QCOMPARE(TestAppDir::rows("select name,pwd from xt_userloginpwd"), QString("|"));
    QCOMPARE(TestAppDir::rows("select tablecode,name,type,loginpwd from aa_staff"),
             QString("001|管理员|管理员|"));
    QVERIFY(
        TestAppDir::value("select username from xt_userinfo order by userinfoid desc").contains("Quillo"));
    QCOMPARE(TestAppDir::rows(
                 "select stylename,MydefineName,DefaultName,PrintFile,defaultstyle,curno from pr_printcfg"),
             QString("收据|收据|收据|ss_sale1.fr3|-1|1"));
    // The administrator's key is taken: the next staff member gets 2.
    QCOMPARE(TestAppDir::value("select maxkey from xt_tablekey where tablename='aa_staff'"), QString("1"));

    // Every table a database holds before its first login, with the columns the program reads.
    const QStringList probes = {
        "select goodsid,tablecode,name,namecode,goodsmodal,unit_name,price,barcode from aa_goods",
        "select companyid,name,namecode from aa_company",
        "select staffid,tablecode,name,namecode,type,loginpwd,idlemin,printpreview,defaultprint from "
        "aa_staff",
        "select unitid,name,namecode from aa_unit",
        "select remarkid,name,namecode from aa_remark",
        "select "
        "saleid,billdate,billcode,opname,companyname,linkman,phone,adr,zgname,kjname,skrname,remark,totalamt,"
        "cnamt,printqty,f1,j1,y1,s1,b1,q1,w1,sw1,bw1,qw1 from ss_sale",
        "select "
        "saledetailid,saleid,tablecode,name,goodsmodal,unit_name,qty,price,amt,remark,f1,j1,y1,s1,b1,q1,w1,"
        "sw1,bw1,qw1 from ss_saledetail",
        "select tablename,maxkey from xt_tablekey",
        "select logid,opname,opdate,opcontent,billcode,billid,logflag from xt_log",
        "select RecID,stylename,defaultstyle,DefaultName,MydefineName,PrintFile,curno from pr_printcfg",
        "select userinfoid,username,linkman,phone,fax,zip,adr,remark from xt_userinfo",
        "select name,pwd from xt_userloginpwd",
    };
    for (const QString &probe : probes)
        TestAppDir::rows(probe);

    // A receipt saved without a print count starts at 0.
    TestAppDir::exec("insert into ss_sale(saleid,billcode)values(1,'0000001')");
    QCOMPARE(TestAppDir::value("select printqty from ss_sale where saleid=1"), QString("0"));
}

void DataAccessTest::freshDatabaseRefusesToOverwrite() {
    TestAppDir app(false);
    QFile f(app.databasePath());
    const qint64 size = f.size();
    QVERIFY_THROWS_EXCEPTION(DbError, CreateDatabase(app.databasePath(), TestAppDir::password()));
    QCOMPARE(f.size(), size);
}

void DataAccessTest::protocolReadsRowsInOrder() {
    TestAppDir app;
    for (int i = 1; i <= 3; ++i)
        TestAppDir::exec(
            QString("insert into aa_unit(name,namecode,unitid)values('单位%1','DW%1',%1)").arg(i));
    DbQuery &q = ShareDM1->ShareQuery1;
    q.open("select unitid,name from aa_unit order by unitid desc");
    QStringList seen;
    for (; !q.eof(); q.next())
        seen << q.asText("name") + "/" + QString::number(q.asInteger("UNITID"));
    QCOMPARE(seen, QStringList({"单位3/3", "单位2/2", "单位1/1"}));
    // Past the end every column reads empty, and stepping on does nothing.
    q.next();
    QVERIFY(q.eof());
    QCOMPARE(q.asText("name"), QString());
}

void DataAccessTest::emptyResultReadsAsEmptyValues() {
    TestAppDir app;
    DbQuery &q = ShareDM1->ShareQuery1;
    q.open("select * from aa_staff where name='nobody'");
    QVERIFY(q.eof());
    QCOMPARE(q.asText("name"), QString());
    QCOMPARE(q.asInteger("idlemin"), 0);
    QCOMPARE(q.asDouble("staffid"), 0.0);
    QCOMPARE(q.asBool("printpreview"), false);
    QVERIFY(!q.asDate("name").isValid());
    QVERIFY(q.isNull("name"));
}

void DataAccessTest::typedReaders_data() {
    QTest::addColumn<QString>("value"); // a Jet literal
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("integer");
    QTest::addColumn<double>("number");
    QTest::addColumn<bool>("yes");

    QTest::newRow("null") << "null"
                          << "" << qint64(0) << 0.0 << false;
    QTest::newRow("integer") << "42"
                             << "42" << qint64(42) << 42.0 << true;
    QTest::newRow("amount") << "37.5"
                            << "37.5" << qint64(38) << 37.5 << true;
    QTest::newRow("sum of tenths") << "0.1+0.2"
                                   << "0.3" << qint64(0) << 0.1 + 0.2 << true;
    QTest::newRow("negative") << "-12.5"
                              << "-12.5" << qint64(-13) << -12.5 << true;
    QTest::newRow("stored yes") << "true"
                                << "-1" << qint64(-1) << -1.0 << true;
    QTest::newRow("stored no") << "false"
                               << "0" << qint64(0) << 0.0 << false;
    QTest::newRow("numeric text") << "' 7 '"
                                  << " 7 " << qint64(7) << 7.0 << true;
    QTest::newRow("empty text") << "''"
                                << "" << qint64(0) << 0.0 << false;
    QTest::newRow("large") << "1E15"
                           << "1E15" << qint64(1000000000000000) << 1e15 << true;
}

void DataAccessTest::typedReaders() {
    QFETCH(QString, value);
    QFETCH(QString, text);
    QFETCH(qint64, integer);
    QFETCH(double, number);
    QFETCH(bool, yes);
    TestAppDir app;
    DbQuery q(ShareDM1->ShareConn);
    q.setText("select " + value + " as v");
    q.open();
    QVERIFY(!q.eof());
    QCOMPARE(q.asText("v"), text);
    QCOMPARE(q.asInteger("v"), integer);
    QCOMPARE(q.asDouble("v"), number);
    QCOMPARE(q.asBool("v"), yes);
}

void DataAccessTest::unreadableValuesRaise_data() {
    QTest::addColumn<QString>("reader");
    QTest::newRow("text as integer") << "integer";
    QTest::newRow("text as number") << "double";
    QTest::newRow("text as date") << "date";
    QTest::newRow("day number beyond the calendar") << "day number";
}

void DataAccessTest::unreadableValuesRaise() {
    QFETCH(QString, reader);
    TestAppDir app;
    DbQuery q(ShareDM1->ShareConn);
    q.setText("select 'abc' as v, '2014-02-05' as d, '2014-02-05 09:05:03' as t, 1e300 as n, 41690.5 as m");
    q.open();
    QCOMPARE(q.asDate("d"), QDate(2014, 2, 5));
    QCOMPARE(q.asDateTime("t"), QDateTime(QDate(2014, 2, 5), QTime(9, 5, 3)));
    QCOMPARE(q.asDateTime("m"), QDateTime(QDate(2014, 2, 20), QTime(12, 0)));
    if (reader == "integer")
        QVERIFY_THROWS_EXCEPTION(DbError, q.asInteger("v"));
    else if (reader == "double")
        QVERIFY_THROWS_EXCEPTION(DbError, q.asDouble("v"));
    else if (reader == "day number")
        QVERIFY_THROWS_EXCEPTION(DbError, q.asDate("n"));
    else
        QVERIFY_THROWS_EXCEPTION(DbError, q.asDate("v"));
}

void DataAccessTest::unknownFieldAndClosedQueryRaise() {
    TestAppDir app;
    DbQuery q(ShareDM1->ShareConn);
    QVERIFY_THROWS_EXCEPTION(DbError, q.asText("name"));
    q.setText("select name from aa_staff");
    q.open();
    QCOMPARE(q.asText("name"), QString("管理员"));
    QVERIFY_THROWS_EXCEPTION(DbError, q.asText("nosuchcolumn"));
    q.close();
    QVERIFY(!q.isOpen());
    QVERIFY_THROWS_EXCEPTION(DbError, q.asText("name"));
}

void DataAccessTest::statementLinesAreJoined() {
    TestAppDir app;
    DbQuery q(ShareDM1->ShareConn);
    q.clear();
    q.add("select name");
    q.add("from aa_staff");
    q.add("where 1=1 ");
    q.add(" and type like '%管理员%'");
    q.open();
    QCOMPARE(q.asText("name"), QString("管理员"));
}

void DataAccessTest::failingStatementRaisesEngineMessage() {
    TestAppDir app;
    DbQuery q(ShareDM1->ShareConn);
    q.setText("select nosuchcolumn from aa_staff");
    try {
        q.open();
        QFAIL("opened");
    } catch (const DbError &e) {
        QVERIFY2(e.message().contains("nosuchcolumn"), qPrintable(e.message()));
        QCOMPARE(e.statement(), QString("select nosuchcolumn from aa_staff"));
    }
    QVERIFY(!q.isOpen());
    q.setText("insert into nosuchtable(a)values(1)");
    QVERIFY_THROWS_EXCEPTION(DbError, q.execSql());
}

void DataAccessTest::transactionGuardRollsBack() {
    TestAppDir app;
    DbConnection &conn = ShareDM1->ShareConn;
    try {
        DbTransaction t(conn);
        conn.execute("insert into aa_unit(name,namecode,unitid)values('个','G',1)");
        conn.execute("insert into nosuchtable(a)values(1)");
        t.commit();
        QFAIL("the failing statement did not raise");
    } catch (const DbError &) {
    }
    QVERIFY(!conn.inTransaction());
    QCOMPARE(TestAppDir::value("select count(*) from aa_unit"), QString("0"));

    {
        DbTransaction t(conn);
        conn.execute("insert into aa_unit(name,namecode,unitid)values('个','G',1)");
        t.commit();
    }
    QCOMPARE(TestAppDir::value("select count(*) from aa_unit"), QString("1"));
}

void DataAccessTest::nestedTransactionIsRefused() {
    TestAppDir app;
    DbConnection &conn = ShareDM1->ShareConn;
    DbTransaction outer(conn);
    QVERIFY_THROWS_EXCEPTION(DbError, DbTransaction inner(conn));
    QVERIFY(conn.inTransaction());
}

// The print pipeline reads its data sets before it counts the print; a failed count must not
// take the rows being read with it.
void DataAccessTest::rollbackKeepsOpenResults() {
    TestAppDir app;
    for (int i = 1; i <= 3; ++i)
        TestAppDir::exec(QString("insert into aa_unit(name,namecode,unitid)values('u%1','',%1)").arg(i));
    DbQuery &rows = ShareDM1->PrintQuery1;
    rows.setText("select name from aa_unit order by unitid");
    rows.open();
    QCOMPARE(rows.asText("name"), QString("u1"));
    ShareDM1->ShareConn.beginTrans();
    ShareDM1->ShareConn.execute("update aa_unit set namecode='x' where unitid=1");
    ShareDM1->ShareConn.rollbackTrans();
    rows.next();
    QCOMPARE(rows.asText("name"), QString("u2"));
    rows.next();
    QCOMPARE(rows.asText("name"), QString("u3"));
    QCOMPARE(TestAppDir::value("select namecode from aa_unit where unitid=1"), QString());
}

// Why a statement failed, in the words the operator reads after "保存新增失败！".
void DataAccessTest::failureReasons_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason");
    QTest::newRow("read-only file")
        << "read-only"
        << "数据库文件是只读的，不能写入（请检查文件的只读属性和所在文件夹的写入权限）。";
    QTest::newRow("disk full") << "full"
                               << "磁盘空间已满，数据库文件无法写入。";
    QTest::newRow("locked by another program")
        << "locked"
        << "数据库文件已被其他程序锁定，请关闭正在使用它的程序后再试。";
    QTest::newRow("damaged file") << "damaged"
                                  << "数据库文件已损坏。";
    QTest::newRow("missing table") << "no table"
                                   << "数据库出错：no such table: nosuchtable";
}

void DataAccessTest::failureReasons() {
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    TestAppDir app;
    DbConnection &conn = ShareDM1->ShareConn;
    DbConnection other;
    QString statement = "insert into aa_unit(name,namecode,unitid)values('个','G',1)";
    if (fault == "read-only") {
        conn.setConnectionString(ConnString + ";Mode=Read");
        conn.open();
    } else if (fault == "full") {
        TestAppDir::exec("PRAGMA max_page_count = " + TestAppDir::value("PRAGMA page_count"));
        statement = "insert into aa_remark(name,namecode,remarkid)values(hex(zeroblob(100000)),'',1)";
    } else if (fault == "locked") {
        other.openFile(app.databasePath(), TestAppDir::password());
        other.executeNative("begin exclusive");
        conn.executeNative("PRAGMA busy_timeout = 0");
    } else if (fault == "damaged") {
        // Enough rows to fill the pages at the end of the file, then those pages spoilt.
        for (int i = 1; i <= 300; ++i)
            TestAppDir::exec(QString("insert into aa_unit(name,namecode,unitid)values('%1','',%2)")
                                 .arg(QString(100, u'x'))
                                 .arg(i));
        conn.close();
        QFile file(app.databasePath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        for (qint64 page = file.size() / 4096 - 10; page < file.size() / 4096; ++page) {
            QVERIFY(file.seek(page * 4096 + 1024));
            file.write(QByteArray(512, '\x5a'));
        }
        file.close();
        conn.openFile(app.databasePath(), TestAppDir::password());
        statement = "select count(*) from aa_unit where name<>''";
    } else if (fault == "no table") {
        statement = "insert into nosuchtable(a)values(1)";
    }
    try {
        DbQuery query(conn);
        if (statement.startsWith("select"))
            query.open(statement);
        else
            query.execSql(statement);
        QFAIL("the statement ran");
    } catch (const DbError &e) {
        QCOMPARE(FailureReason(e), reason);
    }
}

// A file that takes no changes is refused when the program connects, with the reason.
void DataAccessTest::unwritableFileIsRefusedAtConnect() {
    TestAppDir app(false);
    ConnString += ";Mode=Read";
    try {
        ConnectDatabase();
        QFAIL("the connection opened");
    } catch (const DbError &e) {
        QCOMPARE(
            e.message(),
            "数据库文件无法写入：" + QDir::toNativeSeparators(app.databasePath()) +
                "\r\n原因：数据库文件是只读的，不能写入（请检查文件的只读属性和所在文件夹的写入权限）。");
    }
    // The probe leaves nothing behind in a file that does take changes.
    ConnString = BuildConnString(AppDir);
    ConnectDatabase();
    QCOMPARE(TestAppDir::value("select count(*) from sqlite_master where name like 'quillo%'"), QString("0"));
    QVERIFY(!ShareDM1->ShareConn.inTransaction());
}

// A full disk makes the engine undo the whole transaction by itself; the statements after it
// must not then be written one by one as if no transaction were open.
void DataAccessTest::transactionTheEngineUndidStaysUndone() {
    TestAppDir app;
    DbConnection &conn = ShareDM1->ShareConn;
    TestAppDir::exec("PRAGMA max_page_count = " + TestAppDir::value("PRAGMA page_count"));
    try {
        DbTransaction t(conn);
        conn.execute("insert into aa_unit(name,namecode,unitid)values('个','G',1)");
        try {
            conn.execute("insert into aa_remark(name,namecode,remarkid)values(hex(zeroblob(100000)),'',1)");
            QFAIL("the disk did not fill");
        } catch (const DbError &e) {
            QCOMPARE(FailureReason(e), QString("磁盘空间已满，数据库文件无法写入。"));
        }
        // The log row of a save is written this way: its failure is swallowed, the save goes on.
        conn.execute("insert into aa_unit(name,namecode,unitid)values('箱','X',2)");
        t.commit();
        QFAIL("the save went on after the engine undid its transaction");
    } catch (const DbError &e) {
        QCOMPARE(FailureReason(e), QString("磁盘空间已满，数据库文件无法写入。"));
    }
    QVERIFY(!conn.inTransaction());
    QCOMPARE(TestAppDir::value("select count(*) from aa_unit"), QString("0"));
    // The connection takes the next transaction as usual.
    TestAppDir::exec("PRAGMA max_page_count = 1000000");
    {
        DbTransaction t(conn);
        conn.execute("insert into aa_unit(name,namecode,unitid)values('箱','X',2)");
        t.commit();
    }
    QCOMPARE(TestAppDir::value("select count(*) from aa_unit"), QString("1"));
}

QTEST_GUILESS_MAIN(DataAccessTest)
#include "DataAccessTest.moc"
