// The schema upgrade on a fresh database and on databases of earlier versions built by hand.
#include "TestAppDir.h"

#include "data/DbConnection.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/SchemaUpgrade.h"
#include "data/Sharedm2.h"
#include "receipts/ReceiptSave.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <unistd.h>

namespace {

// Every table of the current layout with every column.
const QList<std::pair<QString, QString>> currentLayout = {
    {"aa_goods", "goodsid,tablecode,name,namecode,goodstypeid,goodsmodal,unit_name,price,barcode"},
    {"aa_goodstype", "goodstypeid,tablecode,name,namecode,parentid,levelcode"},
    {"aa_company", "companyid,tablecode,name,namecode,linkman,phone,adr,remark"},
    {"aa_staff", "staffid,tablecode,name,namecode,type,loginpwd,idlemin,printpreview,defaultprint"},
    {"aa_unit", "unitid,name,namecode"},
    {"aa_remark", "remarkid,name,namecode"},
    {"aa_chargetype", "chargetypeid,name,namecode"},
    {"ss_sale",
     "saleid,billdate,billcode,opname,companyname,linkman,phone,adr,zgname,kjname,skrname,skfsname,"
     "remark,totalamt,cnamt,printqty,f1,j1,y1,s1,b1,q1,w1,sw1,bw1,qw1"},
    {"ss_saledetail", "saledetailid,saleid,tablecode,name,goodsmodal,unit_name,qty,price,amt,remark,"
                      "f1,j1,y1,s1,b1,q1,w1,sw1,bw1,qw1"},
    {"xt_tablekey", "tablename,maxkey"},
    {"xt_billconfig",
     "billconfigid,billtype,billmark,codetype,separator,startno,example,tablename,dateseparator,notype"},
    {"xt_accountset", "accountsetid,cfgkey,cfgvalues,name,remark,typeflag"},
    {"g_config", "recid,gridname,colname,colcaption,colwidth,alignment,colno,defaultcaption,defaultwidth,"
                 "defaultcolno"},
    {"xt_log", "logid,opname,opdate,opcontent,billcode,billid,logflag"},
    {"pr_printcfg", "RecID,stylename,defaultstyle,DefaultName,MydefineName,PrintFile,curno"},
    {"xt_userinfo", "userinfoid,username,linkman,phone,fax,zip,adr,remark"},
    {"xt_userloginpwd", "name,pwd"},
};

const QString seededRules = "1|商品编号||自定义||00001|00001|aa_goods|0|-1;"
                            "2|交款单位编号|DW|自定义|-|00001|DW-00001|aa_company|0|-1;"
                            "3|员工编号||自定义||001|001|aa_staff|0|-1;"
                            "4|收据编号||自定义||0000001|0000001|ss_sale|0|-1";

const QString seededSettings =
    "1|softname|Quillo收据打印软件8.0|自定义系统名|可替换标题栏中\"Quillo收据打印软件8.0\"字样，更显个性化|0;"
    "2|rowcnt|4|自定义单据可录入商品行数|单据可以录入商品行数，可设置大小1-2000|0;"
    "3|editminus|0|允许金额为负数|1---是   0---否|0";

const QString seededGrid = "单据录入明细|colno|序|30|0|0|序|30|0;"
                           "单据录入明细|tablecode|编号|120|0|1|编号|120|1;"
                           "单据录入明细|name|名称|180|0|2|名称|180|2;"
                           "单据录入明细|goodsmodal|规格型号|200|0|3|规格型号|200|3;"
                           "单据录入明细|unit_name|单位|60|0|4|单位|60|4;"
                           "单据录入明细|qty|数量|100|1|5|数量|100|5;"
                           "单据录入明细|price|单价|120|1|6|单价|120|6;"
                           "单据录入明细|amt|金额|120|1|7|金额|120|7;"
                           "单据录入明细|remark|备注|300|0|8|备注|300|8";

// The tables of the oldest version: none of the later columns and tables.
const QString oldestTables =
    "create table aa_goods(goodsid integer, tablecode text, name text, namecode text, goodsmodal text, "
    "unit_name text, price double);"
    "create table aa_company(companyid integer, name text, namecode text);"
    "create table aa_staff(staffid integer, tablecode text, name text, namecode text, type text, loginpwd "
    "text, "
    "idlemin integer, printpreview integer);"
    "create table aa_unit(unitid integer, name text, namecode text);"
    "create table aa_remark(remarkid integer, name text, namecode text);"
    "create table ss_sale(saleid integer, billdate text, billcode text, opname text, companyname text, "
    "zgname text, kjname text, skrname text, totalamt double, cnamt text, printqty integer default 0, "
    "f1 text, j1 text, y1 text, s1 text, b1 text, q1 text, w1 text, sw1 text);"
    "create table ss_saledetail(saledetailid integer, saleid integer, tablecode text, name text, "
    "goodsmodal text, unit_name text, qty double, price double, amt integer, remark text, "
    "f1 text, j1 text, y1 text, s1 text, b1 text, q1 text, w1 text, sw1 text);"
    "create table xt_tablekey(tablename text, maxkey integer);"
    "create table xt_log(logid integer, opname text, opdate text, opcontent text, billcode text);"
    "create table pr_printcfg(RecID integer primary key autoincrement, stylename text, defaultstyle integer, "
    "DefaultName text, MydefineName text, PrintFile text, curno integer);"
    "create table xt_userinfo(userinfoid integer primary key autoincrement, username text, linkman text, "
    "phone text, fax text, zip text, adr text, remark text);"
    "create table xt_userloginpwd(name text, pwd text);"
    "insert into xt_userloginpwd values('','');"
    "insert into aa_staff values(1,'001','管理员','GLY','管理员','',0,-1);";

// Everything a database holds: its schema and the rows of every table.
QString snapshot() {
    QString all = TestAppDir::rows("select type,name,tbl_name,sql from sqlite_master order by type,name");
    const QStringList tables =
        TestAppDir::rows("select name from sqlite_master where type='table' order by name").split(u';');
    for (const QString &table : tables)
        all += "\n" + table + ": " + TestAppDir::rows("select * from " + table);
    return all;
}

int changesSoFar() {
    return TestAppDir::value("select total_changes()").toInt();
}

} // namespace

class SchemaUpgradeTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void freshDatabaseReachesTheCurrentLayout();
    void oldestDatabaseReachesTheCurrentLayout();
    void secondCallChangesNothing_data();
    void secondCallChangesNothing();
    void partlyUpgradedDatabases_data();
    void partlyUpgradedDatabases();
    void failingRepairRaisesAndUndoesItsStep();
    void probeFailingForAnotherReasonRaises();
    void killedUpgradeFinishesAtTheNextLogin();

private:
    // A database file of an earlier version, made by hand, connected as the program's database.
    void openOldDatabase(const QString &statements);
    void verifyCurrentLayout();

    std::unique_ptr<TestAppDir> m_app;
    std::unique_ptr<QTemporaryDir> m_oldDir;
};

void SchemaUpgradeTest::cleanup() {
    DisconnectDatabase();
    m_app.reset();
    m_oldDir.reset();
    ResetGlobals();
}

void SchemaUpgradeTest::openOldDatabase(const QString &statements) {
    m_oldDir = std::make_unique<QTemporaryDir>();
    {
        DbConnection old;
        old.openFile(QDir(m_oldDir->path()).filePath(DatabaseFileName), TestAppDir::password(), true);
        old.executeNative(statements);
    }
    AppDir = m_oldDir->path();
    ConnString = BuildConnString(AppDir);
    ConnectDatabase();
}

void SchemaUpgradeTest::verifyCurrentLayout() {
    for (const auto &[table, columns] : currentLayout) {
        try {
            TestAppDir::rows("select top 1 " + columns + " from " + table);
        } catch (const DbError &e) {
            QFAIL(qPrintable(table + ": " + e.message()));
        }
    }
}

void SchemaUpgradeTest::freshDatabaseReachesTheCurrentLayout() {
    m_app = std::make_unique<TestAppDir>();
    UpgradeSchema();

    verifyCurrentLayout();
    QCOMPARE(TestAppDir::rows("select * from xt_billconfig order by billconfigid"), seededRules);
    QCOMPARE(TestAppDir::rows("select * from xt_accountset order by accountsetid"), seededSettings);
    QCOMPARE(TestAppDir::rows("select gridname,colname,colcaption,colwidth,alignment,colno,defaultcaption,"
                              "defaultwidth,defaultcolno from g_config order by recid"),
             seededGrid);
    QCOMPARE(TestAppDir::rows("select min(recid),max(recid) from g_config"), QString("1|9"));
    // The lookups by the columns the upgrade adds have their indexes.
    QCOMPARE(TestAppDir::rows("select tbl_name,name from sqlite_master where type='index' and name in "
                              "('ix_aa_company_tablecode','ix_aa_goods_goodstypeid') order by name"),
             QString("aa_company|ix_aa_company_tablecode;aa_goods|ix_aa_goods_goodstypeid"));

    // Defaults of the added columns: no category, yes/no as -1/0.
    TestAppDir::exec("insert into aa_goods(goodsid,tablecode,name)values(1,'00001','纸')");
    TestAppDir::exec("insert into xt_billconfig(billconfigid,billtype)values(5,'测试')");
    QCOMPARE(TestAppDir::rows("select goodstypeid from aa_goods"), QString("0"));
    QCOMPARE(TestAppDir::rows("select dateseparator,notype from xt_billconfig where billconfigid=5"),
             QString("0|-1"));
    // The primary keys of the created tables hold.
    QVERIFY_THROWS_EXCEPTION(
        DbError,
        ShareDM1->ShareConn.execute("insert into xt_billconfig(billconfigid,billtype)values(5,'again')"));
}

void SchemaUpgradeTest::oldestDatabaseReachesTheCurrentLayout() {
    // Paying parties stored out of key order: codes follow the order the rows come back.
    openOldDatabase(oldestTables +
                    "insert into aa_company values(3,'丙公司','BGS');"
                    "insert into aa_company values(1,'甲公司','JGS');"
                    "insert into aa_company values(2,'乙公司','YGS');"
                    "insert into ss_sale(saleid,billdate,billcode) values(7,'2014-02-20','0000001');"
                    "insert into ss_saledetail(saledetailid,saleid,qty,price,amt) values(1,7,2.5,3,0);"
                    "insert into xt_log(logid,billcode) values(1,'0000001');"
                    "insert into xt_log(logid,billcode) values(2,'0000009');");
    UpgradeSchema();

    verifyCurrentLayout();
    QCOMPARE(TestAppDir::rows("select companyid,tablecode from aa_company"),
             QString("3|DW-00001;1|DW-00002;2|DW-00003"));
    QCOMPARE(TestAppDir::rows("select * from xt_billconfig order by billconfigid"), seededRules);
    QCOMPARE(TestAppDir::rows("select * from xt_accountset order by accountsetid"), seededSettings);
    QCOMPARE(TestAppDir::rows("select gridname,colname,colcaption,colwidth,alignment,colno,defaultcaption,"
                              "defaultwidth,defaultcolno from g_config order by recid"),
             seededGrid);
    QCOMPARE(TestAppDir::rows("select amt from ss_saledetail"), QString("7.5"));
    QCOMPARE(TestAppDir::rows("select logid,billid,logflag from xt_log order by logid"),
             QString("1|7|1;2|0|1"));
    QCOMPARE(TestAppDir::rows("select name from sqlite_master where type='index' order by name"),
             QString("ix_aa_company_tablecode;ix_aa_goods_barcode;ix_aa_goods_goodstypeid;ix_xt_log_billid"));
}

void SchemaUpgradeTest::secondCallChangesNothing_data() {
    QTest::addColumn<bool>("fresh");
    QTest::newRow("fresh database") << true;
    QTest::newRow("oldest database") << false;
}

void SchemaUpgradeTest::secondCallChangesNothing() {
    QFETCH(bool, fresh);
    if (fresh)
        m_app = std::make_unique<TestAppDir>();
    else
        openOldDatabase(oldestTables + "insert into aa_company values(1,'甲公司','JGS');");
    UpgradeSchema();
    const QString before = snapshot();
    const int changes = changesSoFar();

    UpgradeSchema();
    QCOMPARE(changesSoFar(), changes);
    QCOMPARE(snapshot(), before);
}

// Databases where some later parts exist already: only the missing ones are added.
void SchemaUpgradeTest::partlyUpgradedDatabases_data() {
    QTest::addColumn<QString>("extra"); // statements after the oldest tables
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("expected");

    const QString settingsTable =
        "create table xt_accountset(accountsetid integer, cfgkey text, cfgvalues text, "
        "name text, remark text, typeflag integer);";
    QTest::newRow("function settings without row 3")
        << settingsTable + "insert into xt_accountset values(1,'softname','我的收据','自定义系统名','',0);"
                           "insert into xt_accountset values(2,'rowcnt','8','行数','',0);"
        << "select accountsetid,cfgkey,cfgvalues from xt_accountset order by accountsetid"
        << "1|softname|我的收据;2|rowcnt|8;3|editminus|0";
    QTest::newRow("grid layout without factory positions")
        << "create table g_config(recid integer primary key autoincrement, gridname text, colname text, "
           "colcaption text, colwidth integer, alignment integer, colno integer, defaultcaption text, "
           "defaultwidth integer);"
           "insert into "
           "g_config(gridname,colname,colcaption,colwidth,alignment,colno,defaultcaption,defaultwidth)"
           "values('单据录入明细','name','品名',150,0,1,'名称',180);"
           "insert into "
           "g_config(gridname,colname,colcaption,colwidth,alignment,colno,defaultcaption,defaultwidth)"
           "values('单据录入明细','tablecode','编号',120,0,2,'编号',120);"
        << "select colname,colcaption,colno,defaultcolno from g_config order by recid"
        << "name|品名|1|1;tablecode|编号|2|2";
    QTest::newRow("log rows already pointing at receipts")
        << "alter table xt_log add billid integer default 0;"
           "alter table xt_log add logflag integer default 0;"
           "insert into ss_sale(saleid,billcode) values(7,'0000001');"
           "insert into xt_log(logid,billcode,billid,logflag) values(1,'0000001',0,0);"
        << "select logid,billid,logflag from xt_log"
        << "1|0|0";
}

void SchemaUpgradeTest::partlyUpgradedDatabases() {
    QFETCH(QString, extra);
    QFETCH(QString, query);
    QFETCH(QString, expected);

    openOldDatabase(oldestTables + extra);
    UpgradeSchema();
    verifyCurrentLayout();
    QCOMPARE(TestAppDir::rows(query), expected);
}

// A repair that fails raises out of the upgrade: nothing after it runs, its own step is undone
// and the steps before it stay. The next call runs the step again (and fails the same way).
void SchemaUpgradeTest::failingRepairRaisesAndUndoesItsStep() {
    // Paying parties already have a contact column, but there are no goods categories yet:
    // step 4 fails when it adds linkman.
    openOldDatabase(oldestTables + "alter table aa_company add linkman text;"
                                   "insert into aa_company(companyid,name) values(1,'甲公司');");
    for (int call = 1; call <= 2; ++call) {
        QVERIFY_THROWS_EXCEPTION(DbError, UpgradeSchema());

        // Steps 1 to 3 are done.
        QCOMPARE(TestAppDir::rows("select top 1 barcode from aa_goods"), QString());
        QCOMPARE(TestAppDir::rows("select count(*) from aa_chargetype"), QString("0"));
        // Nothing of step 4 is left: no table, column or rule row that it made.
        QVERIFY_THROWS_EXCEPTION(DbError, TestAppDir::rows("select goodstypeid from aa_goodstype"));
        QVERIFY_THROWS_EXCEPTION(DbError, TestAppDir::rows("select billconfigid from xt_billconfig"));
        QVERIFY_THROWS_EXCEPTION(DbError, TestAppDir::rows("select goodstypeid from aa_goods"));
        QCOMPARE(TestAppDir::rows("select companyid,name,linkman from aa_company"), QString("1|甲公司|"));
        // The later steps did not run.
        QVERIFY_THROWS_EXCEPTION(DbError, TestAppDir::rows("select accountsetid from xt_accountset"));
        QVERIFY_THROWS_EXCEPTION(DbError, TestAppDir::rows("select linkman from ss_sale"));
    }
}

// A probe that fails because the file is damaged is not taken for a missing table: the upgrade
// raises the engine's error for the probe, and starts no repair.
void SchemaUpgradeTest::probeFailingForAnotherReasonRaises() {
    m_app = std::make_unique<TestAppDir>();
    UpgradeSchema();
    const qint64 page =
        TestAppDir::value("select rootpage from sqlite_master where name='aa_goodstype'").toLongLong();
    DisconnectDatabase();
    {
        QFile file(m_app->databasePath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek((page - 1) * 4096 + 200));
        file.write(QByteArray(64, '\x5a'));
    }
    ConnectDatabase();
    try {
        UpgradeSchema();
        QFAIL("the upgrade went through a damaged table");
    } catch (const DbError &error) {
        QCOMPARE(error.statement(), QString("select top 1 goodstypeid from aa_goodstype"));
        QVERIFY2(!error.message().contains("no such"), qPrintable(error.message()));
    }
}

namespace {

const char killedUpgradeArgument[] = "--upgrade-killed-at";
int killAt = 0;

void killAtStatement(int statement) {
    if (statement == killAt)
        ::kill(::getpid(), SIGKILL);
}

// The child process: upgrades the database in the directory and is killed before the
// upgrade's statement number killAt (it ends normally when the upgrade has fewer).
int upgradeUntilKilled(const QString &dir, int statement) {
    AppDir = dir;
    ConnString = BuildConnString(AppDir);
    killAt = statement;
    SetUpgradeStatementHook(killAtStatement);
    try {
        ConnectDatabase();
        UpgradeSchema();
    } catch (const DbError &error) {
        QTextStream(stderr) << error.message() << '\n';
        return 1;
    }
    DisconnectDatabase();
    return 0;
}

const QString oldDatabase = oldestTables +
                            "insert into aa_company values(3,'丙公司','BGS');"
                            "insert into aa_company values(1,'甲公司','JGS');"
                            "insert into ss_sale(saleid,billdate,billcode) values(7,'2014-02-20','0000001');"
                            "insert into ss_saledetail(saledetailid,saleid,qty,price,amt) "
                            "values(1,7,2.5,3,0);"
                            "insert into xt_log(logid,billcode) values(1,'0000001');";

} // namespace

// The program killed before each statement of the first login's upgrade in turn: the next login
// finishes it, the file ends exactly as after an upgrade that was never broken off, and a
// receipt saves.
void SchemaUpgradeTest::killedUpgradeFinishesAtTheNextLogin() {
    openOldDatabase(oldDatabase);
    const QString pristine = QDir(m_oldDir->path()).filePath("pristine.mdb");
    DisconnectDatabase();
    QVERIFY(QFile::copy(QDir(m_oldDir->path()).filePath(DatabaseFileName), pristine));
    ConnectDatabase();
    UpgradeSchema();
    const QString expected = snapshot();
    DisconnectDatabase();

    const QString database = QDir(m_oldDir->path()).filePath(DatabaseFileName);
    int statement = 1;
    for (;; ++statement) {
        QVERIFY(statement < 500);
        QFile::remove(database);
        QFile::remove(database + "-journal");
        QVERIFY(QFile::copy(pristine, database));

        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(killedUpgradeArgument),
                                                              QString::number(statement), m_oldDir->path()});
        QVERIFY(child.waitForFinished(60000));
        if (child.exitStatus() == QProcess::NormalExit) {
            QCOMPARE(child.exitCode(), 0);
            break; // the upgrade has fewer statements: every one of them was a place to die
        }

        const QString where = QStringLiteral("killed before statement %1").arg(statement);
        ConnectDatabase();
        try {
            UpgradeSchema();
        } catch (const DbError &error) {
            QFAIL(qPrintable(where + ": " + error.message()));
        }
        QVERIFY2(snapshot() == expected, qPrintable(where));

        OperatorName = QStringLiteral("管理员");
        ReceiptDraft draft;
        draft.billDate = QDate(2014, 2, 21);
        draft.companyName = QStringLiteral("乙公司");
        draft.total = QStringLiteral("30");
        draft.capitals = QStringLiteral("叁拾圆整");
        draft.lines = {{"G1", "复印纸", "", "包", "2", "15", "30", ""}};
        try {
            QCOMPARE(SaveNewReceipt(draft).billCode, QString("0000002"));
        } catch (const DbError &error) {
            QFAIL(qPrintable(where + ": " + error.message()));
        }
        QCOMPARE(TestAppDir::value("select tablecode from aa_company where name='乙公司'"),
                 QString("DW-00003"));
        DisconnectDatabase();
    }
    // Every probe, repair and seed row of the oldest file's upgrade was a place to die.
    QVERIFY2(statement > 40, qPrintable(QString::number(statement)));
}

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], killedUpgradeArgument) == 0)
        return upgradeUntilKilled(QString::fromLocal8Bit(argv[3]), QByteArray(argv[2]).toInt());
    SchemaUpgradeTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "SchemaUpgradeTest.moc"
