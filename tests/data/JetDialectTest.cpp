// The program's Jet statements, run on the database and judged by the rows they return.
#include "TestAppDir.h"

#include "data/Clock.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/JetDialect.h"
#include "data/Sharedm2.h"

#include <QTest>

class JetDialectTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void statements_data();
    void statements();
    void literalsStayUntouched_data();
    void literalsStayUntouched();
    void functionErrors_data();
    void functionErrors();
    void textTypeLengths_data();
    void textTypeLengths();
    void unclosedTextTypeLengthIsRefused();
    void upgradeStatementsOnAnOldFile();

private:
    std::unique_ptr<TestAppDir> m_app;
};

void JetDialectTest::init() {
    m_app = std::make_unique<TestAppDir>();
    Clock::setFixed(QDateTime(QDate(2014, 2, 20), QTime(10, 30, 0)));
    const QStringList seed = {
        "insert into ss_sale(saleid,billdate,billcode,opname,companyname,zgname,totalamt)"
        "values(1,#2014-02-20#,'0000001','管理员','甲公司','张三',37.5)",
        "insert into ss_sale(saleid,billdate,billcode,opname,companyname,zgname,totalamt)"
        "values(2,#2014-02-05#,'0000002','管理员','乙公司','李四',100)",
        "insert into ss_sale(saleid,billdate,billcode,opname,companyname,zgname,totalamt)"
        "values(3,#2013-02-11#,'0000003','王五','甲公司','张三',12)",
        "insert into ss_sale(saleid,billdate,billcode,opname,companyname,totalamt)"
        "values(4,#2014-03-01#,'0000004','王五','丙公司',0.3)",
        "insert into "
        "ss_saledetail(saledetailid,saleid,tablecode,name,qty,price,amt)values(1,1,'SP001','纸',3,12.5,37.5)",
        "insert into "
        "ss_saledetail(saledetailid,saleid,tablecode,name,qty,price,amt)values(2,2,'SP002','笔',10,10,100)",
        "insert into "
        "ss_saledetail(saledetailid,saleid,tablecode,name,qty,price,amt)values(3,3,'SP001','纸',1,12,12)",
        "insert into "
        "ss_saledetail(saledetailid,saleid,tablecode,name,qty,price,amt)values(4,4,'SP003','墨',1,0.3,0.3)",
        "insert into aa_goods(tablecode,name,goodsmodal,unit_name,price,barcode,goodsid)"
        "values('SP001','纸','A4','包',12.5,'690001',1)",
        "insert into "
        "aa_goods(tablecode,name,goodsmodal,unit_name,price,goodsid)values('SP002','笔','黑','支',10,2)",
    };
    for (const QString &s : seed)
        TestAppDir::exec(s);
}

void JetDialectTest::cleanup() {
    m_app.reset();
}

void JetDialectTest::statements_data() {
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("expected");

    const QString period = " and b.billdate>=#2014-01-01# and b.billdate<=#2014-12-31#";

    QTest::newRow("top 1") << QStringList() << "select top 1 tablecode from aa_goods order by tablecode desc"
                           << "SP002";
    QTest::newRow("top 10 with like")
        << QStringList() << "select top 10 * from aa_goods where tablecode like '%001%' order by tablecode"
        << "1|SP001|纸||A4|包|12.5|690001";
    QTest::newRow("top stops at N") << QStringList()
                                    << "select top 2 billcode from ss_sale order by saleid desc"
                                    << "0000004;0000003";
    QTest::newRow("date literal") << QStringList()
                                  << "select billcode from ss_sale where billdate=#2014-02-20#"
                                  << "0000001";
    QTest::newRow("date literal without leading zeros")
        << QStringList() << "select billcode from ss_sale where billdate=#2014-2-5#"
        << "0000002";
    QTest::newRow("date range")
        << QStringList()
        << "select billcode from ss_sale b where 1=1  and b.billdate>=#2014-02-01# and "
           "b.billdate<=#2014-02-28# order by billcode"
        << "0000001;0000002";
    QTest::newRow("format date parts")
        << QStringList()
        << "select billdate as 收款日期,format(billdate,'yyyy') as 年,format(billdate,'mm') as 月,"
           "format(billdate,'dd') as 日 from ss_sale where saleid=2 order by saleid asc"
        << "2014-02-05|2014|02|05";
    QTest::newRow("format of a date-time against a date literal")
        << QStringList{"insert into xt_log(opname,opdate,opcontent,billcode,billid,logflag,logid)"
                       "values('管理员','2014-02-20 09:05:03','【打印】单据','0000001',1,1,1)",
                       "insert into xt_log(opname,opdate,opcontent,billcode,billid,logflag,logid)"
                       "values('管理员','2014-02-19 23:59:59','【打印】单据','0000001',1,1,2)"}
        << "select logid from xt_log where 1=1  and format(opdate,'yyyy-mm-dd')=#2014-02-20# order by logid "
           "desc"
        << "1";
    QTest::newRow("this month in any year")
        << QStringList()
        << "select billcode from ss_sale where 1=1  and Month(billdate)=Month(now()) order by saleid desc"
        << "0000003;0000002;0000001";
    QTest::newRow("Now and Date read the clock") << QStringList() << "select Now() as n,Date() as d"
                                                 << "2014-02-20 10:30:00|2014-02-20";
    QTest::newRow("Year and Day") << QStringList()
                                  << "select Year(billdate),Day(billdate) from ss_sale where saleid=2"
                                  << "2014|5";
    QTest::newRow("IIF of an empty sum")
        << QStringList()
        << "select IIF(a.qty is null,0,a.qty) as by_qty from (select sum(qty) as "
           "qty from ss_saledetail where saleid=99) a"
        << "0";
    QTest::newRow("max of Right and Len") << QStringList()
                                          << "select max(Right(billcode,Len(billcode)-3)) as maxbillcode "
                                             "from ss_sale where billcode like '%000%'"
                                          << "0004";
    QTest::newRow("max of Right by width")
        << QStringList{"insert into ss_sale(saleid,billcode)values(5,'SJ-0999')"}
        << "select max(Right(billcode,4)) as maxbillcode from ss_sale"
        << "0999";
    QTest::newRow("Left, Mid, Trim, Len")
        << QStringList()
        << "select Left('abcdef',2),Mid('abcdef',2,3),Mid('abcdef',4),Trim('  x  '),"
           "Len('单据')"
        << "ab|bcd|def|x|2";
    QTest::newRow("Right of no value")
        << QStringList() << "select Right(zgname,2) from ss_sale where saleid=4"
        << "";
    QTest::newRow("yes and no are stored as -1 and 0, default styles first")
        << QStringList{"insert into "
                       "pr_printcfg(stylename,defaultstyle,DefaultName,MydefineName,PrintFile,curno)"
                       "values('甲',false,'甲','甲','ss_sale2.fr3',2)",
                       "insert into "
                       "pr_printcfg(stylename,defaultstyle,DefaultName,MydefineName,PrintFile,curno)"
                       "values('乙',true,'乙','乙','ss_sale3.fr3',3)"}
        << "select stylename,defaultstyle from pr_printcfg order by defaultstyle asc,RecID asc"
        << "收据|-1;乙|-1;甲|0";
    QTest::newRow("yes in a condition")
        << QStringList{"update aa_staff set printpreview=false where 1=1"}
        << "select count(*) from aa_staff where printpreview=true or defaultprint=true"
        << "0";
    QTest::newRow("text compares without case")
        << QStringList() << "select count(goodsid) as iCnt from aa_goods where tablecode='sp001'"
        << "1";
    QTest::newRow("two-table update")
        << QStringList{"insert into xt_log(logid,billcode)values(1,'0000001')",
                       "insert into xt_log(logid,billcode)values(2,'0000002')",
                       "insert into xt_log(logid,billcode)values(3,'XXXX')",
                       "update xt_log a,ss_sale b set a.billid=b.saleid where a.billcode=b.billcode"}
        << "select logid,billid from xt_log order by logid"
        << "1|1;2|2;3|0";
    QTest::newRow("goods summary")
        << QStringList()
        << "select IIF(a.qty is null,0,a.qty) as by_qty,IIF(a.amt is null,0,a.amt) as "
           "by_amt,a.tablecode,b.name,"
           "b.goodsmodal,b.unit_name from (select a.tablecode,sum(qty) as qty,sum(amt) as amt from "
           "ss_saledetail a "
           "left join ss_sale b on a.saleid=b.saleid where 1=1 " +
               period +
               " group by a.tablecode) a left join aa_goods b on a.tablecode=b.tablecode order by b.tablecode"
        << "1|0.3|SP003|||;3|37.5|SP001|纸|A4|包;10|100|SP002|笔|黑|支";
    QTest::newRow("paying-party summary") << QStringList()
                                          << "select IIF(a.qty is null,0,a.qty) as by_qty,IIF(a.amt is "
                                             "null,0,a.amt) as by_amt,a.companyname from "
                                             "(select b.companyname,sum(qty) as qty,sum(amt) as amt from "
                                             "ss_saledetail a left join ss_sale b on "
                                             "a.saleid=b.saleid where 1=1  group by b.companyname) a "
                                          << "1|0.3|丙公司;10|100|乙公司;4|49.5|甲公司";
    QTest::newRow("supervisor summary with a condition")
        << QStringList()
        << "select IIF(a.qty is null,0,a.qty) as by_qty,IIF(a.amt is null,0,a.amt) as by_amt,a.zgname from "
           "(select b.zgname,sum(qty) as qty,sum(amt) as amt from ss_saledetail a left join ss_sale b on "
           "a.saleid=b.saleid where 1=1 " +
               period + " and b.zgname like '%张%' group by b.zgname) a "
        << "3|37.5|张三";
    QTest::newRow("detail list join")
        << QStringList()
        << "select a.name,b.billcode from ss_saledetail a left join ss_sale b on "
           "a.saleid=b.saleid where 1=1  and a.tablecode like '%SP001%' order by "
           "b.billdate desc"
        << "纸|0000001;纸|0000003";
}

void JetDialectTest::statements() {
    QFETCH(QStringList, setup);
    QFETCH(QString, query);
    QFETCH(QString, expected);
    for (const QString &s : setup)
        TestAppDir::exec(s);
    QCOMPARE(TestAppDir::rows(query), expected);
}

void JetDialectTest::literalsStayUntouched_data() {
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("expected");
    QTest::newRow("keywords inside a literal") << "select 'true #2014-01-01# top 5 Right( false' as t"
                                               << "true #2014-01-01# top 5 Right( false";
    QTest::newRow("doubled quotes") << "select 'O''Brien''s' as t"
                                    << "O'Brien's";
    QTest::newRow("double-quoted text is a literal") << "select \"a'b\" as t"
                                                     << "a'b";
    QTest::newRow("hash that is no date") << "select '#' || 'x' as t"
                                          << "#x";
}

void JetDialectTest::literalsStayUntouched() {
    QFETCH(QString, query);
    QFETCH(QString, expected);
    QCOMPARE(TestAppDir::rows(query), expected);
}

void JetDialectTest::functionErrors_data() {
    QTest::addColumn<QString>("query");
    QTest::newRow("Right with a negative length") << "select Right('abc',-1)";
    QTest::newRow("Month of a text that is no date") << "select Month('abc')";
    QTest::newRow("Mid from position 0") << "select Mid('abc',0,1)";
    // Day numbers beyond the calendar once overflowed the conversion to milliseconds.
    QTest::newRow("Month of a huge day number") << "select Month(1e300)";
    QTest::newRow("Day of a huge negative day number") << "select Day(-1e18)";
    QTest::newRow("Year of a stored amount") << "select Year(totalamt*1e300) from ss_sale";
}

void JetDialectTest::functionErrors() {
    QFETCH(QString, query);
    QVERIFY_THROWS_EXCEPTION(DbError, TestAppDir::rows(query));
}

// A text column compares without regard to case however its length is written; the blank
// before the bracket once made the translator read a freed token list.
void JetDialectTest::textTypeLengths_data() {
    QTest::addColumn<QString>("definition");
    QTest::newRow("blank before the bracket") << "alter table t0 add adr varchar (100)";
    QTest::newRow("no blank") << "alter table t0 add adr varchar(100)";
    QTest::newRow("blanks inside") << "alter table t0 add adr varchar ( 100 )";
    QTest::newRow("no length") << "alter table t0 add adr text";
    QTest::newRow("create with a blank") << "create table t1 (id integer, adr varchar (100))";
}

void JetDialectTest::textTypeLengths() {
    QFETCH(QString, definition);
    TestAppDir::exec("create table t0 (id integer)");
    TestAppDir::exec(definition);
    const QString table = definition.startsWith("create") ? "t1" : "t0";
    TestAppDir::exec("insert into " + table + "(id,adr)values(1,'West Lake Road')");
    QCOMPARE(TestAppDir::rows("select id from " + table + " where adr='WEST LAKE road'"), QString("1"));
    // The statement the fuzzer found, on the table it named.
    QCOMPARE(JetDialect::translate("alter table ss_sale add adr varchar (100)"),
             QString("alter table ss_sale add adr varchar (100) collate nocase"));
}

// A length whose bracket is never closed is the engine's syntax error, not a write outside the
// token list.
void JetDialectTest::unclosedTextTypeLengthIsRefused() {
    const QStringList statements = {"create table t(a varchar(10", "create table t(a varchar(",
                                    "alter table ss_sale add x varchar (", "create table t(a varchar"};
    for (const QString &statement : statements) {
        QVERIFY(JetDialect::translate(statement).endsWith(" collate nocase"));
        QVERIFY_THROWS_EXCEPTION(DbError, ShareDM1->ShareConn.execute(statement));
    }
    QCOMPARE(TestAppDir::value("select count(*) from sqlite_master where name='t'"), QString("0"));
}

// The create, alter and update statements that bring an older file up to date, run in their
// order on a file laid out as the earliest versions wrote it.
void JetDialectTest::upgradeStatementsOnAnOldFile() {
    m_app.reset();
    QTemporaryDir dir;
    {
        DbConnection old;
        old.openFile(dir.filePath("qlodata8.0.mdb"), TestAppDir::password(), true);
        old.executeNative(
            "create table aa_goods(goodsid integer, tablecode text, name text, namecode text, "
            "goodsmodal text, unit_name text, price double);"
            "create table aa_staff(staffid integer, name text, type text, loginpwd text, "
            "idlemin integer, printpreview integer);"
            "create table aa_company(companyid integer, name text, namecode text);"
            "create table ss_sale(saleid integer, billdate text, billcode text, companyname text);"
            "create table ss_saledetail(saledetailid integer, saleid integer, qty double, "
            "price double, amt integer);"
            "create table xt_log(logid integer, billcode text);"
            // The other tables every database holds, which the upgrade does not touch.
            "create table aa_unit(unitid integer, name text, namecode text);"
            "create table aa_remark(remarkid integer, name text, namecode text);"
            "create table xt_tablekey(tablename text, maxkey integer);"
            "create table pr_printcfg(RecID integer primary key autoincrement, stylename text);"
            "create table xt_userinfo(userinfoid integer primary key autoincrement, username text);"
            "create table xt_userloginpwd(name text, pwd text);"
            "insert into aa_staff values(1,'管理员','管理员','',0,-1);"
            "insert into ss_sale values(7,'2014-02-20','0000001','甲公司');"
            "insert into ss_saledetail values(1,7,2.5,3,0);"
            "insert into xt_log values(1,'0000001');"
            "insert into xt_log values(2,'0000009');");
    }
    AppDir = dir.path();
    ConnString = BuildConnString(AppDir);
    ConnectDatabase();

    const QStringList statements = {
        "alter table aa_goods add barcode varchar(50)",
        "alter table aa_staff add defaultprint bit default false",
        "create table aa_chargetype (chargetypeid\t\tinteger default 0,\t\tname varchar(50),\t\tnamecode\t"
        "varchar(50),   CONSTRAINT PK_aa_chargetype_id PRIMARY KEY(chargetypeid))",
        "alter table ss_sale add skfsname varchar(50)",
        "create table aa_goodstype (goodstypeid integer default 0, tablecode varchar(50), name varchar(50), "
        "namecode varchar(50), parentid integer default 0, levelcode varchar(100), CONSTRAINT aa_goodstype "
        "PRIMARY KEY(goodstypeid))",
        "alter table aa_goods add goodstypeid integer default 0",
        "alter table ss_saledetail alter column amt double",
        "update ss_saledetail set amt=qty*price",
        "create table xt_billconfig (billconfigid integer default 0, billtype varchar(20), billmark "
        "varchar(8), "
        "codetype varchar(6), separator varchar(1), startno varchar(8), example varchar(50), tablename "
        "varchar(50), dateseparator bit default false, notype bit default true, CONSTRAINT xt_billconfig "
        "PRIMARY "
        "KEY(billconfigid))",
        "insert into "
        "xt_billconfig(billconfigid,billtype,billmark,codetype,separator,startno,example,tablename,"
        "dateseparator,notype)values(2,'交款单位编号','DW','自定义','-','00001','DW-00001','aa_company',"
        "false,true)",
        "alter table aa_company add linkman varchar(50)",
        "alter table aa_company add tablecode varchar(50)",
        "create table xt_accountset (accountsetid integer default 0, cfgkey varchar(50), cfgvalues "
        "varchar(200), "
        "name varchar(100), remark varchar(100), typeflag integer default 0, CONSTRAINT xt_accountset "
        "PRIMARY "
        "KEY(accountsetid))",
        "insert into xt_accountset(accountsetid,cfgkey,cfgvalues,name,remark,typeflag)values(1,'softname',"
        "'Quillo收据打印软件8.0','自定义系统名','可替换标题栏中\"Quillo收据打印软件8.0\"字样，更显个性化',0)",
        "create table g_config (recid autoincrement, gridname varchar(50), colname varchar(50), colcaption "
        "varchar(50), colwidth integer default 0, alignment integer default 0, colno integer default 0, "
        "defaultcaption varchar(50), defaultwidth integer default 0, CONSTRAINT g_config PRIMARY KEY(recid))",
        "insert into "
        "g_config(gridname,colname,colcaption,colwidth,alignment,colno,defaultcaption,defaultwidth)"
        "values('单据录入明细','colno','序',30,0,0,'序',30)",
        "insert into "
        "g_config(gridname,colname,colcaption,colwidth,alignment,colno,defaultcaption,defaultwidth)"
        "values('单据录入明细','qty','数量',100,1,5,'数量',100)",
        "alter table ss_sale add linkman varchar(50)",
        "alter table xt_log add billid integer default 0",
        "alter table xt_log add logflag integer default 0",
        "update xt_log a,ss_sale b set a.billid=b.saleid where a.billcode=b.billcode",
        "update xt_log set logflag=1",
        "alter table g_config add defaultcolno integer default 0",
        "update g_config set defaultcolno=colno",
        "alter table ss_sale add bw1 varchar(50)",
    };
    for (const QString &s : statements)
        TestAppDir::exec(s);

    QCOMPARE(TestAppDir::rows("select top 1 barcode,goodstypeid from aa_goods"), QString());
    QCOMPARE(TestAppDir::rows("select name,defaultprint from aa_staff"), QString("管理员|0"));
    QCOMPARE(TestAppDir::rows("select amt from ss_saledetail"), QString("7.5"));
    QCOMPARE(TestAppDir::rows("select billconfigid,codetype,dateseparator,notype from xt_billconfig"),
             QString("2|自定义|0|-1"));
    QCOMPARE(TestAppDir::value("select remark from xt_accountset where accountsetid=1"),
             QString("可替换标题栏中\"Quillo收据打印软件8.0\"字样，更显个性化"));
    QCOMPARE(TestAppDir::rows("select recid,colname,colno,defaultcolno from g_config order by recid"),
             QString("1|colno|0|0;2|qty|5|5"));
    QCOMPARE(TestAppDir::rows("select logid,billid,logflag from xt_log order by logid"),
             QString("1|7|1;2|0|1"));
    QCOMPARE(TestAppDir::rows("select count(*) from aa_chargetype"), QString("0"));
    // The primary keys hold: a second row under the same key is refused.
    TestAppDir::exec("insert into aa_chargetype(name,namecode,chargetypeid)values('现金','XJ',1)");
    QVERIFY_THROWS_EXCEPTION(
        DbError, ShareDM1->ShareConn.execute(
                     "insert into aa_chargetype(name,namecode,chargetypeid)values('支票','ZP',1)"));
    DisconnectDatabase();
}

QTEST_GUILESS_MAIN(JetDialectTest)
#include "JetDialectTest.moc"
