// Checking a receipt before it is saved, and saving it: what reaches every table, the master
// data kept up by the way, quotes, and a save that fails leaving nothing behind.
#include "ScriptedUiServices.h"
#include "StoredReceiptData.h"
#include "TestAppDir.h"

#include "data/Clock.h"
#include "data/Globals.h"
#include "data/SchemaUpgrade.h"
#include "data/Sharedm2.h"
#include "receipts/ReceiptCheck.h"
#include "receipts/ReceiptGridLayout.h"
#include "receipts/ReceiptSave.h"

#include <QTest>

namespace {

// A grid row written "code|qty|price|amount" (the other cells empty).
ReceiptLine row(const QString &cells) {
    const QStringList c = cells.split(u'|');
    ReceiptLine line;
    line.code = c.value(0);
    line.quantity = c.value(1);
    line.price = c.value(2);
    line.amount = c.value(3);
    return line;
}

} // namespace

class ReceiptSaveTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void checks_data();
    void checks();
    void checkMessagesUseTheConfiguredCaption();

    void saveWritesEveryTable();
    void emptyHeaderBoxesAreLeftOut();
    void quotesAreStoredAsTyped();
    void emptyNumberComesFromTheRuleAndIsLogged();
    void knownPartyAndMethodAreReused();
    void failedSaveLeavesNothing_data();
    void failedSaveLeavesNothing();

private:
    ReceiptDraft receipt() const;

    std::unique_ptr<TestAppDir> m_app;
    std::unique_ptr<ScriptedUiServices> m_ui;
};

void ReceiptSaveTest::init() {
    Clock::setFixed(QDateTime(QDate(2024, 3, 5), QTime(10, 30)));
    m_app = std::make_unique<TestAppDir>();
    m_ui = std::make_unique<ScriptedUiServices>();
    UpgradeSchema();
    OperatorName = QStringLiteral("管理员");
}

void ReceiptSaveTest::cleanup() {
    m_ui.reset();
    m_app.reset();
}

ReceiptDraft ReceiptSaveTest::receipt() const {
    ReceiptDraft d;
    d.billDate = QDate(2024, 3, 4);
    d.billCode = QStringLiteral("SK001");
    d.opName = QStringLiteral("别人"); // shown only: the operator stored is the logged-in one
    d.companyName = QStringLiteral("甲公司");
    d.linkman = QStringLiteral("赵先生");
    d.phone = QStringLiteral("0571-1234");
    d.adr = QStringLiteral("文一路1号");
    d.zgName = QStringLiteral("张明");
    d.kjName = QStringLiteral("李芳");
    d.skrName = QStringLiteral("王丽");
    d.skfsName = QStringLiteral("现金");
    d.remark = QStringLiteral("三月");
    d.total = QStringLiteral("1050.5");
    d.capitals = QStringLiteral("壹仟零伍拾圆伍角");
    return d;
}

void ReceiptSaveTest::checks_data() {
    QTest::addColumn<QString>("company");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("allowNegative");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("key");

    QTest::newRow("good") << "甲" << QStringList{"X1|2|3|6"} << false << "" << 0 << "";
    QTest::newRow("no paying party") << "" << QStringList{"X1|2|3|6"} << false << "交款单位不能为空！" << 0
                                     << "";
    QTest::newRow("no coded row") << "甲" << QStringList{"|2|3|6", ""} << false << "商品明细不能为空！" << 0
                                  << "";
    QTest::newRow("rows without a code are ignored")
        << "甲" << QStringList{"|abc||", "|-1|x|y", "X1|1|0|0"} << false << "" << 0 << "";
    QTest::newRow("empty quantity") << "甲" << QStringList{"X1||3|6"} << false << "第1行，数量不能为空！" << 1
                                    << "数量";
    QTest::newRow("empty price on row 2")
        << "甲" << QStringList{"X1|2|3|6", "X2|1||0"} << false << "第2行，单价不能为空！" << 2 << "单价";
    QTest::newRow("empty amount") << "甲" << QStringList{"X1|2|3|"} << false << "第1行，金额不能为空！" << 1
                                  << "金额";
    QTest::newRow("empty cells before numbers")
        << "甲" << QStringList{"X1|abc||6"} << false << "第1行，单价不能为空！" << 1 << "单价";
    QTest::newRow("quantity not a number")
        << "甲" << QStringList{"X1|abc|3|0"} << false << "第1行，数量应为数字！" << 1 << "数量";
    QTest::newRow("price with a comma")
        << "甲" << QStringList{"X1|2|1,5|3"} << false << "第1行，单价应为数字！" << 1 << "单价";
    QTest::newRow("negative quantity refused")
        << "甲" << QStringList{"X1|-1|3|-3"} << false << "第1行，数量不能为负！" << 1 << "数量";
    QTest::newRow("negative quantity allowed") << "甲" << QStringList{"X1|-1|3|-3"} << true << "" << 0 << "";
    QTest::newRow("negative amount refused")
        << "甲" << QStringList{"X1|1|1|-3"} << false << "第1行，金额不能为负！" << 1 << "金额";
    QTest::newRow("zero everywhere") << "甲" << QStringList{"X1|0|0|0"} << false << "" << 0 << "";
}

void ReceiptSaveTest::checks() {
    QFETCH(QString, company);
    QFETCH(QStringList, rows);
    QFETCH(bool, allowNegative);
    QFETCH(QString, message);
    QFETCH(int, row);
    QFETCH(QString, key);
    ReceiptDraft d;
    d.companyName = company;
    for (const QString &cells : rows)
        d.lines << ::row(cells);
    const ReceiptFault fault = CheckReceipt(d, ReceiptGridLayout::factory(), allowNegative);
    QCOMPARE(fault.message, message);
    QCOMPARE(fault.ok(), message.isEmpty());
    QCOMPARE(fault.row, row);
    QCOMPARE(fault.key, key);
}

void ReceiptSaveTest::checkMessagesUseTheConfiguredCaption() {
    ReceiptGridLayout layout = ReceiptGridLayout::factory();
    layout.setColumn(6, GridColumn{120, QStringLiteral("售价"), QStringLiteral("单价")});
    ReceiptDraft d;
    d.companyName = QStringLiteral("甲");
    d.lines = {row("X1|2|3|6"), row("X2|1||0")};
    QCOMPARE(CheckReceipt(d, layout, false).message, QString("第2行，售价不能为空！"));
}

void ReceiptSaveTest::saveWritesEveryTable() {
    TestAppDir::exec("insert into aa_goods(goodsid,tablecode,name,namecode,unit_name,price)"
                     "values(1,'G1','复印纸','FYZ','包',25)");
    TestAppDir::exec("insert into xt_tablekey(tablename,maxkey)values('aa_goods',1)");
    TestAppDir::exec("insert into aa_unit(unitid,name,namecode)values(1,'包','B')");
    TestAppDir::exec("insert into xt_tablekey(tablename,maxkey)values('aa_unit',1)");
    ReceiptDraft d = receipt();
    ReceiptLine paper = row("G1|2|25|50");
    paper.name = QStringLiteral("复印纸");
    paper.unit = QStringLiteral("包");
    ReceiptLine service = row("X1|1|1000.5|1000.5");
    service.name = QStringLiteral("维修费");
    service.model = QStringLiteral("上门");
    service.unit = QStringLiteral("次");
    service.remark = QStringLiteral("加急");
    ReceiptLine again = row("X1|0|7|0"); // the same new code again: added once, from its first row
    again.name = QStringLiteral("另一个名称");
    d.lines = {paper, row("|5|5|25"), service, again};

    const SavedReceipt saved = SaveNewReceipt(d);
    QCOMPARE(saved.saleId, 1);
    QCOMPARE(saved.billCode, QString("SK001"));
    QCOMPARE(
        TestAppDir::rows("select saleid,billdate,billcode,opname,companyname,linkman,phone,adr,zgname,"
                         "kjname,skrname,skfsname,remark,totalamt,cnamt,printqty,"
                         "f1,j1,y1,s1,b1,q1,w1,sw1,bw1,qw1 from ss_sale"),
        QString("1|2024-03-04|SK001|管理员|甲公司|赵先生|0571-1234|文一路1号|张明|李芳|王丽|现金|三月|1050.5|"
                "壹仟零伍拾圆伍角|0|0|5|0|5|0|1||||"));
    QCOMPARE(
        TestAppDir::rows("select saleid,saledetailid,tablecode,name,goodsmodal,unit_name,qty,price,amt,"
                         "remark,f1,j1,y1,s1,b1,q1,w1,sw1,bw1,qw1 from ss_saledetail order by saledetailid"),
        QString("1|1|G1|复印纸||包|2|25|50||0|0|0|5||||||;"
                "1|2|X1|维修费|上门|次|1|1000.5|1000.5|加急|0|5|0|0|0|1||||;"
                "1|3|X1|另一个名称|||0|7|0||0|0|0|||||||"));
    QCOMPARE(TestAppDir::rows("select companyid,tablecode,name,namecode,linkman,phone,adr from aa_company"),
             QString("1|DW-00001|甲公司|JGS|赵先生|0571-1234|文一路1号"));
    QCOMPARE(TestAppDir::rows("select goodsid,tablecode,name,namecode,goodsmodal,unit_name,price,barcode,"
                              "goodstypeid from aa_goods order by goodsid"),
             QString("1|G1|复印纸|FYZ||包|25||0;2|X1|维修费|WXF|上门|次|1000.5||0"));
    QCOMPARE(TestAppDir::rows("select unitid,name,namecode from aa_unit order by unitid"),
             QString("1|包|B;2|次|C"));
    QCOMPARE(TestAppDir::rows("select remarkid,name,namecode from aa_remark"), QString("1|加急|JJ"));
    QCOMPARE(TestAppDir::rows("select chargetypeid,name,namecode from aa_chargetype"), QString("1|现金|XJ"));
    QCOMPARE(TestAppDir::rows("select logid,opname,opdate,opcontent,billcode,billid,logflag from xt_log"),
             QString("1|管理员|2024-03-05 10:30:00|【新增】单据|SK001|1|1"));
    QCOMPARE(
        TestAppDir::rows("select tablename,maxkey from xt_tablekey where tablename<>'aa_staff' "
                         "order by tablename"),
        QString("aa_chargetype|1;aa_company|1;aa_goods|2;aa_remark|1;aa_unit|2;ss_sale|1;ss_saledetail|3;"
                "xt_log|1"));
}

void ReceiptSaveTest::emptyHeaderBoxesAreLeftOut() {
    ReceiptDraft d;
    d.billDate = QDate(2024, 3, 4);
    d.billCode = QStringLiteral("SK9");
    d.companyName = QStringLiteral("乙");
    d.total = QStringLiteral("0");
    d.capitals = QStringLiteral("零圆整");
    d.lines = {row("X1|0|0|0")};
    SaveNewReceipt(d);
    // Left out of the insert: no value at all, not the empty text; no payment method added.
    QCOMPARE(
        TestAppDir::rows("select count(*) from ss_sale where linkman is null and phone is null and adr is "
                         "null and zgname is null and kjname is null and skrname is null and skfsname is "
                         "null and remark is null"),
        QString("1"));
    QCOMPARE(TestAppDir::value("select count(*) from aa_chargetype"), QString("0"));
    QCOMPARE(TestAppDir::value("select count(*) from aa_unit"), QString("0"));
    QCOMPARE(TestAppDir::value("select count(*) from aa_remark"), QString("0"));
    // Line texts are always written, empty ones as ''.
    QCOMPARE(TestAppDir::value("select count(*) from ss_saledetail where name='' and goodsmodal='' and "
                               "unit_name='' and remark=''"),
             QString("1"));
}

void ReceiptSaveTest::quotesAreStoredAsTyped() {
    ReceiptDraft d = receipt();
    const QString q = QStringLiteral("O'B");
    d.billCode = "SK'1";
    for (QString *text : {&d.companyName, &d.linkman, &d.phone, &d.adr, &d.zgName, &d.kjName, &d.skrName,
                          &d.skfsName, &d.remark, &d.capitals})
        *text = q + u'\'';
    ReceiptLine line = row("C'1|1|2|2");
    line.name = "名'称";
    line.model = "型'号";
    line.unit = "单'位";
    line.remark = "备'注";
    d.total = "2";
    d.lines = {line};
    SaveNewReceipt(d);
    QCOMPARE(TestAppDir::rows("select billcode,companyname,linkman,phone,adr,zgname,kjname,skrname,skfsname,"
                              "remark,cnamt from ss_sale"),
             QString("SK'1|O'B'|O'B'|O'B'|O'B'|O'B'|O'B'|O'B'|O'B'|O'B'|O'B'"));
    QCOMPARE(TestAppDir::rows("select tablecode,name,goodsmodal,unit_name,remark from ss_saledetail"),
             QString("C'1|名'称|型'号|单'位|备'注"));
    QCOMPARE(TestAppDir::rows("select name,linkman from aa_company"), QString("O'B'|O'B'"));
    QCOMPARE(TestAppDir::rows("select tablecode,name,goodsmodal,unit_name from aa_goods"),
             QString("C'1|名'称|型'号|单'位"));
    QCOMPARE(TestAppDir::rows("select name from aa_unit"), QString("单'位"));
    QCOMPARE(TestAppDir::rows("select name from aa_remark"), QString("备'注"));
    QCOMPARE(TestAppDir::rows("select name from aa_chargetype"), QString("O'B'"));
    QCOMPARE(TestAppDir::rows("select billcode from xt_log"), QString("SK'1"));
    // Saved again, the quoted names are found: nothing is added twice.
    d.billCode = "SK'2";
    SaveNewReceipt(d);
    QCOMPARE(TestAppDir::rows("select (select count(*) from aa_company)||(select count(*) from aa_goods)||"
                              "(select count(*) from aa_unit)||(select count(*) from aa_remark)||"
                              "(select count(*) from aa_chargetype)"),
             QString("11111"));
}

void ReceiptSaveTest::emptyNumberComesFromTheRuleAndIsLogged() {
    TestAppDir::exec("insert into ss_sale(saleid,billcode,billdate,opname,companyname)"
                     "values(7,'0000041','2024-03-01','管理员','甲')");
    ReceiptDraft d = receipt();
    d.billCode.clear();
    d.total = "6";
    d.lines = {row("X1|2|3|6")};
    const SavedReceipt saved = SaveNewReceipt(d);
    QCOMPARE(saved.billCode, QString("0000042"));
    QCOMPARE(TestAppDir::rows("select billcode from ss_sale where saleid=1"), QString("0000042"));
    QCOMPARE(TestAppDir::rows("select billcode,billid from xt_log"), QString("0000042|1"));
}

void ReceiptSaveTest::knownPartyAndMethodAreReused() {
    TestAppDir::exec("insert into aa_company(companyid,tablecode,name,namecode,linkman)"
                     "values(3,'DW-00003','甲公司','JGS','钱先生')");
    TestAppDir::exec("insert into aa_chargetype(chargetypeid,name,namecode)values(2,'现金','XJ')");
    ReceiptDraft d = receipt();
    d.total = "6";
    d.lines = {row("X1|2|3|6")};
    SaveNewReceipt(d);
    // The stored party keeps its details; the receipt carries what the form showed.
    QCOMPARE(TestAppDir::rows("select companyid,linkman from aa_company"), QString("3|钱先生"));
    QCOMPARE(TestAppDir::rows("select count(*) from aa_chargetype"), QString("1"));
    QCOMPARE(TestAppDir::rows("select companyname,linkman from ss_sale"), QString("甲公司|赵先生"));
}

void ReceiptSaveTest::failedSaveLeavesNothing_data() {
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("badCell");
    QTest::newRow("line insert fails") << "before insert on ss_saledetail"
                                       << "";
    QTest::newRow("goods upkeep fails") << "before insert on aa_goods"
                                        << "";
    QTest::newRow("remark upkeep fails") << "before insert on aa_remark"
                                         << "";
    // Numbers go into the statement bare: anything else in a number cell must stop the save
    // before it reaches a statement.
    QTest::newRow("statement text in a quantity") << ""
                                                  << "1,1,1,'',1);delete from aa_unit;--";
    QTest::newRow("not a number in an amount") << ""
                                               << "";
}

void ReceiptSaveTest::failedSaveLeavesNothing() {
    QFETCH(QString, trigger);
    QFETCH(QString, badCell);
    TestAppDir::exec("insert into aa_unit(unitid,name,namecode)values(1,'个','G')");
    TestAppDir::exec("insert into xt_tablekey(tablename,maxkey)values('aa_unit',1)");
    ReceiptDraft d = receipt();
    d.billCode.clear();
    ReceiptLine line = row("X1|2|3|6");
    line.unit = QStringLiteral("次");
    line.remark = QStringLiteral("加急");
    d.lines = {line, row("X2|1|1|1")};
    d.total = "7";
    if (!trigger.isEmpty())
        ShareDM1->ShareConn.executeNative("create trigger refuse " + trigger +
                                          " begin select raise(abort,'refused'); end");
    else if (!badCell.isEmpty())
        d.lines[1].quantity = badCell;
    else
        d.lines[1].amount = "abc";
    const QString before = StoredReceiptData();
    QVERIFY_THROWS_EXCEPTION(std::exception, SaveNewReceipt(d));
    QVERIFY(!ShareDM1->ShareConn.inTransaction());
    QCOMPARE(StoredReceiptData(), before);
}

QTEST_GUILESS_MAIN(ReceiptSaveTest)
#include "ReceiptSaveTest.moc"
