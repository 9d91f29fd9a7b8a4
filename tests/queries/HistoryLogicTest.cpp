// The receipt query without its window: the conditions "查询" builds, what they find in a
// database, and deleting one receipt.
#include "ScriptedUiServices.h"
#include "StoredReceipts.h"
#include "TestAppDir.h"

#include "data/Clock.h"
#include "data/SchemaUpgrade.h"
#include "data/Sharedm2.h"
#include "data/StatementRoutines.h"
#include "queries/HistoryColumns.h"
#include "queries/HistoryFilter.h"
#include "queries/ReceiptDelete.h"

#include <QTest>

namespace {

const QDate Today(2026, 2, 11);

// The receipt numbers a filter lists, in list order.
QString listed(const QString &filter) {
    DbQuery query(ShareDM1->ShareConn);
    query.open(HistoryStatement(filter));
    QStringList codes;
    for (; !query.eof(); query.next())
        codes << query.asText("billcode");
    return codes.join(u',');
}

QString search(int field, const QString &text, HistoryRange range) {
    const HistorySearch s = BuildHistorySearch(field, text, range, Today);
    return s.outcome == HistorySearch::Outcome::Filter ? listed(s.filter) : QStringLiteral("<refused>");
}

} // namespace

class HistoryLogicTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void exampleStatement();
    void conditions_data();
    void conditions();
    void refusals_data();
    void refusals();
    void found_data();
    void found();
    void rowCells();

    void deleteReceipt();
    void failingDeleteChangesNothing();
    void printCount();

private:
    std::unique_ptr<TestAppDir> m_app;
    std::unique_ptr<ScriptedUiServices> m_ui;
};

void HistoryLogicTest::init() {
    m_app = std::make_unique<TestAppDir>();
    m_ui = std::make_unique<ScriptedUiServices>();
    UpgradeSchema();
    Clock::setFixed(QDateTime(Today, QTime(10, 0)));
    AddStoredReceipt(1, QStringLiteral("2026-02-11"), QStringLiteral("东方文具"), 37.5);
    AddStoredReceipt(2, QStringLiteral("2026-02-03"), QStringLiteral("北京A'B公司"), 100,
                     {"中性笔", "订书机"});
    AddStoredReceipt(3, QStringLiteral("2025-02-20"), QStringLiteral("东方红商店"), 12.25, {"50%折扣券"});
    AddStoredReceipt(4, QStringLiteral("2026-01-31"), QStringLiteral("西湖书店"), 37.5, {"A4复印纸"}, 2);
    AddStoredReceipt(5, QStringLiteral("2026-02-11"), QStringLiteral("50_特价"), 8);
}

void HistoryLogicTest::cleanup() {
    m_ui.reset();
    m_app.reset();
}

void HistoryLogicTest::exampleStatement() {
    const HistorySearch s = BuildHistorySearch(3, QStringLiteral("东方"), HistoryRange::All, Today);
    QCOMPARE(s.outcome, HistorySearch::Outcome::Filter);
    QCOMPARE(HistoryStatement(s.filter),
             QStringLiteral("select * from ss_sale where 1=1  and  (companyname like '%东方%') and saleid>0 "
                            "order by saleid desc"));
    QCOMPARE(listed(s.filter), QStringLiteral("SK3,SK1"));
    QCOMPARE(HistoryRowStatement(7),
             QStringLiteral("select * from ss_sale where 1=1  and saleid=7 order by saleid desc"));
    QCOMPARE(HistoryLinesStatement(7),
             QStringLiteral("select * from ss_saledetail where 1=1 and saleid=7 order by saledetailid asc"));
}

void HistoryLogicTest::conditions_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("range");
    QTest::addColumn<QString>("filter");

    const int today = int(HistoryRange::Today), month = int(HistoryRange::ThisMonth),
              all = int(HistoryRange::All);
    QTest::newRow("number, today") << 0 << "SK1" << today
                                   << " billcode like '%SK1%' and billdate=#2026-02-11#";
    QTest::newRow("date, month") << 1 << "02-1" << month
                                 << " billdate like '%02-1%' and Month(billdate)=Month(now())";
    QTest::newRow("operator") << 2 << "管" << all << " (opname like '%管%') and saleid>0";
    QTest::newRow("payee") << 9 << "王" << all << " (skrname like '%王%') and saleid>0";
    QTest::newRow("payment method") << 10 << "现金" << all << " (skfsname like '%现金%') and saleid>0";
    QTest::newRow("amount") << 11 << "37.5" << all << " totalamt=37.5 and saleid>0";
    QTest::newRow("remark, quote doubled") << 12 << "O'K" << all << " (remark like '%O''K%') and saleid>0";
    QTest::newRow("goods code")
        << 13 << "G1" << all
        << " exists (select 1 from ss_saledetail where ss_sale.saleid=ss_saledetail.saleid "
           "and (ss_saledetail.tablecode like '%G1%')) and saleid>0";
    QTest::newRow("goods name")
        << 14 << "笔" << all
        << " exists (select 1 from ss_saledetail where ss_sale.saleid=ss_saledetail.saleid "
           "and (ss_saledetail.name like '%笔%')) and saleid>0";
    QTest::newRow("goods remark")
        << 15 << "行" << today
        << " exists (select 1 from ss_saledetail where ss_sale.saleid=ss_saledetail.saleid "
           "and (ss_saledetail.remark like '%行%')) and billdate=#2026-02-11#";
    QTest::newRow("empty text: the whole range")
        << 3 << "" << month << " 1=1 and Month(billdate)=Month(now())";
    QTest::newRow("empty text with show-all") << 16 << "" << all << " 1=1 and saleid>0";
}

void HistoryLogicTest::conditions() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(int, range);
    QFETCH(QString, filter);
    const HistorySearch s = BuildHistorySearch(field, text, HistoryRange(range), Today);
    QCOMPARE(s.outcome, HistorySearch::Outcome::Filter);
    QCOMPARE(s.filter, filter);
}

void HistoryLogicTest::refusals_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("outcome");
    const int refused = int(HistorySearch::Outcome::NotANumber),
              nothing = int(HistorySearch::Outcome::Nothing), accepted = int(HistorySearch::Outcome::Filter);
    QTest::newRow("letters") << AmountField << "abc" << refused;
    QTest::newRow("number and text") << AmountField << "12元" << refused;
    QTest::newRow("statement after a number") << AmountField << "1 or 1=1" << refused;
    QTest::newRow("two points") << AmountField << "1.2.3" << refused;
    QTest::newRow("a lone sign") << AmountField << "-" << refused;
    QTest::newRow("negative") << AmountField << "-12.5" << accepted;
    QTest::newRow("exponent") << AmountField << "1E3" << accepted;
    QTest::newRow("blanks around") << AmountField << " 8 " << accepted;
    QTest::newRow("show-all with a text") << ShowAllField << "东方" << nothing;
}

void HistoryLogicTest::refusals() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(int, outcome);
    QCOMPARE(int(BuildHistorySearch(field, text, HistoryRange::All, Today).outcome), outcome);
}

void HistoryLogicTest::found_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("range");
    QTest::addColumn<QString>("codes");
    const int today = int(HistoryRange::Today), month = int(HistoryRange::ThisMonth),
              all = int(HistoryRange::All);
    QTest::newRow("today, newest first") << 0 << "" << today << "SK5,SK1";
    // The month number only: February of last year too, not January of this year.
    QTest::newRow("this month, every year") << 0 << "" << month << "SK5,SK3,SK2,SK1";
    QTest::newRow("everything") << 0 << "" << all << "SK5,SK4,SK3,SK2,SK1";
    QTest::newRow("a quote matches itself") << 3 << "A'B" << all << "SK2";
    QTest::newRow("case does not matter") << 3 << "a'b" << all << "SK2";
    QTest::newRow("percent is a wildcard") << 3 << "东%店" << all << "SK3";
    QTest::newRow("underscore matches one character") << 3 << "50_" << all << "SK5";
    QTest::newRow("amount") << 11 << "37.5" << all << "SK4,SK1";
    QTest::newRow("amount in range") << 11 << "37.5" << today << "SK1";
    QTest::newRow("goods name on any line") << 14 << "订书" << all << "SK2";
    QTest::newRow("goods name with percent") << 14 << "50%" << all << "SK3";
    QTest::newRow("goods code") << 13 << "g2" << all << "SK2";
    QTest::newRow("date") << 1 << "2026-01" << all << "SK4";
    QTest::newRow("nothing found") << 12 << "没有" << all << "";
}

void HistoryLogicTest::found() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(int, range);
    QFETCH(QString, codes);
    QCOMPARE(search(field, text, HistoryRange(range)), codes);
}

void HistoryLogicTest::rowCells() {
    DbQuery query(ShareDM1->ShareConn);
    query.open(HistoryRowStatement(4));
    QCOMPARE(RowCells(query, ReceiptColumns),
             (QStringList{"SK4", "2026-01-31", "管理员", "西湖书店", "赵先生", "", "", "", "", "", "", "37.5",
                          "拾圆整", "备注4", "2"}));
    query.open(HistoryLinesStatement(2));
    QCOMPARE(RowCells(query, LineColumns), (QStringList{"G1", "中性笔", "", "包", "2", "5", "10", "行备注"}));
}

void HistoryLogicTest::deleteReceipt() {
    QVERIFY(DeleteReceipt(2, QStringLiteral("SK2")));
    QCOMPARE(TestAppDir::value("select count(*) from ss_sale where saleid=2"), QStringLiteral("0"));
    QCOMPARE(TestAppDir::value("select count(*) from ss_saledetail where saleid=2"), QStringLiteral("0"));
    QCOMPARE(TestAppDir::rows("select opcontent,billcode,billid,logflag from xt_log"),
             QStringLiteral("【删除】单据|SK2|2|1"));
    // The others stay.
    QCOMPARE(TestAppDir::value("select count(*) from ss_saledetail"), QStringLiteral("4"));
}

void HistoryLogicTest::failingDeleteChangesNothing() {
    ShareDM1->ShareConn.executeNative(
        "create trigger refuse before delete on ss_saledetail when old.saleid=2 "
        "begin select raise(abort, 'refused'); end");
    const QString before = TestAppDir::rows("select * from ss_sale order by saleid") + u'\n' +
                           TestAppDir::rows("select * from ss_saledetail order by saledetailid") + u'\n' +
                           TestAppDir::rows("select * from xt_log") + u'\n' +
                           TestAppDir::rows("select * from xt_tablekey order by tablename");
    QVERIFY(!DeleteReceipt(2, QStringLiteral("SK2")));
    const QString after = TestAppDir::rows("select * from ss_sale order by saleid") + u'\n' +
                          TestAppDir::rows("select * from ss_saledetail order by saledetailid") + u'\n' +
                          TestAppDir::rows("select * from xt_log") + u'\n' +
                          TestAppDir::rows("select * from xt_tablekey order by tablename");
    QCOMPARE(after, before);
    QVERIFY(!ShareDM1->ShareConn.inTransaction());
    QCOMPARE(DeleteFailureLine(QStringLiteral("SK2")), QStringLiteral("SK2：删除失败！\r\n"));
    // The next receipt still goes.
    QVERIFY(DeleteReceipt(1, QStringLiteral("SK1")));
}

void HistoryLogicTest::printCount() {
    QCOMPARE(ReceiptPrintCount(4), 2);
    QCOMPARE(ReceiptPrintCount(1), 0);
    QCOMPARE(ReceiptPrintCount(99), 0);
}

QTEST_MAIN(HistoryLogicTest)
#include "HistoryLogicTest.moc"
