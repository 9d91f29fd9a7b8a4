// Keys, the small statement routines and the operation log.
#include "TestAppDir.h"

#include "data/Clock.h"
#include "data/DbError.h"
#include "data/DbTransaction.h"
#include "data/Globals.h"
#include "data/OperationLog.h"
#include "data/Sharedm2.h"
#include "data/StatementRoutines.h"

#include <QTest>

class StatementRoutinesTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_app = std::make_unique<TestAppDir>(); }
    void cleanup() { m_app.reset(); }

    void quoteSql_data();
    void quoteSql();
    void nextKeyStartsAtOneAndCounts();
    void nextKeyRollsBackWithItsTransaction();
    void insertRowAppendsTheKey();
    void insertRowFailureChangesNothing();
    void selectRowsBuildsItsStatement_data();
    void selectRowsBuildsItsStatement();
    void updateRows();
    void deleteRows();
    void routinesLeaveNoTransactionOpen();

    void writeLogRow();
    void writeLogKeepsQuotedValues();
    void writeLogRolledBackLeavesNoTrace();
    void writeLogNeverRaises();

private:
    std::unique_ptr<TestAppDir> m_app;
};

void StatementRoutinesTest::quoteSql_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("no quote") << "甲公司"
                              << "甲公司";
    QTest::newRow("two apostrophes") << "O'Brien's"
                                     << "O''Brien''s";
    QTest::newRow("only quotes") << "''"
                                 << "''''";
    QTest::newRow("other characters untouched") << "a\"b%c_d\\"
                                                << "a\"b%c_d\\";
}

void StatementRoutinesTest::quoteSql() {
    QFETCH(QString, text);
    QFETCH(QString, quoted);
    QCOMPARE(QuoteSql(text), quoted);
    // Whatever the text, quoted it reaches the database unchanged.
    TestAppDir::exec("insert into aa_unit(name,namecode,unitid)values('" + QuoteSql(text) + "','',1)");
    QCOMPARE(TestAppDir::value("select name from aa_unit where unitid=1"), text);
}

void StatementRoutinesTest::nextKeyStartsAtOneAndCounts() {
    DbTransaction t(ShareDM1->ShareConn);
    QCOMPARE(NextKey("xt_log"), 1);
    QCOMPARE(TestAppDir::rows("select tablename,maxkey from xt_tablekey where tablename='xt_log'"),
             QString("xt_log|1"));
    QCOMPARE(NextKey("xt_log"), 2);
    QCOMPARE(TestAppDir::value("select maxkey from xt_tablekey where tablename='xt_log'"), QString("2"));
    // Counters are per table.
    QCOMPARE(NextKey("aa_staff"), 2);
    t.commit();
}

void StatementRoutinesTest::nextKeyRollsBackWithItsTransaction() {
    {
        DbTransaction t(ShareDM1->ShareConn);
        QCOMPARE(NextKey("ss_sale"), 1);
    }
    DbTransaction t(ShareDM1->ShareConn);
    QCOMPARE(NextKey("ss_sale"), 1);
    t.commit();
}

void StatementRoutinesTest::insertRowAppendsTheKey() {
    TestAppDir::exec("insert into xt_tablekey(tablename,maxkey)values('aa_unit',6)");
    QCOMPARE(InsertRow("aa_unit", "name,namecode,unitid", "'" + QuoteSql("箱'") + "','X'"), 7);
    QCOMPARE(TestAppDir::rows("select unitid,name,namecode from aa_unit"), QString("7|箱'|X"));
    QCOMPARE(TestAppDir::value("select maxkey from xt_tablekey where tablename='aa_unit'"), QString("7"));
    QVERIFY(!ShareDM1->ShareConn.inTransaction());
}

void StatementRoutinesTest::insertRowFailureChangesNothing() {
    TestAppDir::exec("insert into xt_tablekey(tablename,maxkey)values('aa_unit',6)");
    QCOMPARE(InsertRow("aa_unit", "name,nosuchcolumn,unitid", "'箱','X'"), 0);
    QCOMPARE(TestAppDir::value("select maxkey from xt_tablekey where tablename='aa_unit'"), QString("6"));
    QCOMPARE(TestAppDir::value("select count(*) from aa_unit"), QString("0"));
    // A first key on a table without a counter row leaves no counter row behind either.
    QCOMPARE(InsertRow("aa_remark", "name,remarkid", "'x','y','z'"), 0);
    QCOMPARE(TestAppDir::value("select count(*) from xt_tablekey where tablename='aa_remark'"), QString("0"));
}

void StatementRoutinesTest::selectRowsBuildsItsStatement_data() {
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("condition");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("names");

    QTest::newRow("no condition") << "name"
                                  << "name asc"
                                  << "" << true << "select name from aa_staff where 1=1  order by name asc"
                                  << "乙,甲,管理员";
    QTest::newRow("and condition")
        << "name"
        << "name asc"
        << " and type like '%主管%'" << true
        << "select name from aa_staff where 1=1  and type like '%主管%' order by name asc"
        << "乙,甲";
    QTest::newRow("condition without leading blank")
        << "name"
        << "staffid desc"
        << "and staffid=3" << true
        << "select name from aa_staff where 1=1 and staffid=3 order by "
           "staffid desc"
        << "乙";
    QTest::newRow("empty order") << "name"
                                 << ""
                                 << "" << false << ""
                                 << "";
    QTest::newRow("bad field") << "nosuch"
                               << "name"
                               << "" << false << ""
                               << "";
}

void StatementRoutinesTest::selectRowsBuildsItsStatement() {
    QFETCH(QString, fields);
    QFETCH(QString, order);
    QFETCH(QString, condition);
    QFETCH(bool, opens);
    QFETCH(QString, statement);
    QFETCH(QString, names);
    TestAppDir::exec("insert into aa_staff(staffid,name,type)values(2,'甲','主管,会计')");
    TestAppDir::exec("insert into aa_staff(staffid,name,type)values(3,'乙','主管')");

    QCOMPARE(SelectRows("aa_staff", fields, order, condition), opens);
    DbQuery &q = ShareDM1->ShareQuery1;
    QCOMPARE(q.isOpen(), opens);
    if (!opens)
        return;
    QCOMPARE(q.text(), statement);
    QStringList seen;
    for (; !q.eof(); q.next())
        seen << q.asText("name");
    QCOMPARE(seen.join(','), names);
}

void StatementRoutinesTest::updateRows() {
    QVERIFY(UpdateRows("xt_userloginpwd", "name='管理员',pwd='1'", "1=1"));
    QCOMPARE(TestAppDir::rows("select name,pwd from xt_userloginpwd"), QString("管理员|1"));
    TestAppDir::exec("delete from xt_userloginpwd");
    QVERIFY(UpdateRows("xt_userloginpwd", "name='',pwd=''", "1=1"));
    QCOMPARE(TestAppDir::value("select count(*) from xt_userloginpwd"), QString("0"));
    QVERIFY(!UpdateRows("xt_userloginpwd", "nosuch=1", "1=1"));
    QVERIFY(!ShareDM1->ShareConn.inTransaction());
}

void StatementRoutinesTest::deleteRows() {
    for (int i = 4; i <= 6; ++i)
        TestAppDir::exec(QString("insert into aa_unit(name,namecode,unitid)values('u%1','',%1)").arg(i));
    QVERIFY(DeleteRows("aa_unit", "unitid=5"));
    QCOMPARE(TestAppDir::rows("select unitid from aa_unit order by unitid"), QString("4;6"));
    QVERIFY(DeleteRows("aa_unit", ""));
    QCOMPARE(TestAppDir::value("select count(*) from aa_unit"), QString("0"));
    QVERIFY(!DeleteRows("nosuchtable", ""));
}

void StatementRoutinesTest::routinesLeaveNoTransactionOpen() {
    // The routines with a transaction of their own refuse to run inside another one, and
    // leave the caller's transaction as it was.
    DbTransaction t(ShareDM1->ShareConn);
    QCOMPARE(InsertRow("aa_unit", "name,namecode,unitid", "'个','G'"), 0);
    QVERIFY(!UpdateRows("aa_unit", "name='x'", "1=1"));
    QVERIFY(ShareDM1->ShareConn.inTransaction());
}

void StatementRoutinesTest::writeLogRow() {
    OperatorName = "管理员";
    Clock::setFixed(QDateTime(QDate(2014, 2, 5), QTime(9, 5, 3)));
    for (int i = 0; i < 2; ++i) {
        DbTransaction t(ShareDM1->ShareConn);
        WriteLog(LogPrintedReceipt, "0000001", 12, 1);
        t.commit();
    }
    QCOMPARE(TestAppDir::rows(
                 "select logid,opname,opdate,opcontent,billcode,billid,logflag from xt_log order by logid"),
             QString("1|管理员|2014-02-05 09:05:03|【打印】单据|0000001|12|1;"
                     "2|管理员|2014-02-05 09:05:03|【打印】单据|0000001|12|1"));
}

void StatementRoutinesTest::writeLogKeepsQuotedValues() {
    OperatorName = "O'Neil";
    DbTransaction t(ShareDM1->ShareConn);
    WriteLog(LogNewReceipt, "A'01", 3, 1);
    t.commit();
    QCOMPARE(TestAppDir::rows("select opname,billcode,opcontent from xt_log"),
             QString("O'Neil|A'01|【新增】单据"));
}

void StatementRoutinesTest::writeLogRolledBackLeavesNoTrace() {
    OperatorName = "管理员";
    {
        DbTransaction t(ShareDM1->ShareConn);
        WriteLog(LogNewReceipt, "0000001", 1, 1);
        t.commit();
    }
    try {
        DbTransaction t(ShareDM1->ShareConn);
        WriteLog(LogNewReceipt, "0000002", 2, 1);
        ShareDM1->ShareConn.execute("insert into ss_sale(saleid,nosuchcolumn)values(2,1)");
        t.commit();
        QFAIL("the save did not fail");
    } catch (const DbError &) {
    }
    QCOMPARE(TestAppDir::rows("select logid,billcode from xt_log"), QString("1|0000001"));
    {
        DbTransaction t(ShareDM1->ShareConn);
        WriteLog(LogNewReceipt, "0000003", 3, 1);
        t.commit();
    }
    // No gap: the rolled-back row took its key with it.
    QCOMPARE(TestAppDir::rows("select logid,billcode from xt_log order by logid"),
             QString("1|0000001;2|0000003"));
}

void StatementRoutinesTest::writeLogNeverRaises() {
    ShareDM1->ShareConn.executeNative("drop table xt_log");
    DbTransaction t(ShareDM1->ShareConn);
    WriteLog(LogDeletedReceipt, "0000001", 1, 1);
    ShareDM1->ShareConn.execute("insert into aa_unit(name,namecode,unitid)values('个','G',1)");
    t.commit();
    QCOMPARE(TestAppDir::value("select count(*) from aa_unit"), QString("1"));
}

QTEST_GUILESS_MAIN(StatementRoutinesTest)
#include "StatementRoutinesTest.moc"
