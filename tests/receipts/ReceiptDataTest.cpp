// What the entry form reads: the grid's column layout, the lookups' searches, the pick lists and
// a stored receipt.
#include "ScriptedUiServices.h"
#include "TestAppDir.h"

#include "data/SchemaUpgrade.h"
#include "data/Sharedm2.h"
#include "receipts/ReceiptGridLayout.h"
#include "receipts/ReceiptLoad.h"
#include "receipts/ReceiptLookups.h"

#include <QTest>

namespace {

// The key of every column of a layout, hidden ones in brackets.
QString shape(const ReceiptGridLayout &layout) {
    QStringList columns;
    for (int i = 0; i < ReceiptGridLayout::ColumnCount; ++i) {
        const GridColumn &c = layout.column(i);
        columns << (layout.isVisible(i) ? c.key : u'(' + c.key + u')');
    }
    return columns.join(u',');
}

QString found(const QString &table, const QString &typed) {
    DbQuery q(ShareDM1->ShareConn);
    q.setText(LookupStatement(table, typed));
    q.open();
    QStringList names;
    for (; !q.eof(); q.next())
        names << q.asText("name");
    return names.join(u',');
}

} // namespace

class ReceiptDataTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void gridLayout_data();
    void gridLayout();
    void emptyConfigurationGivesTheFactoryLayout();

    void lookupStatementQuotesTheText();
    void lookupSearch_data();
    void lookupSearch();
    void barcode();

    void pickLists();
    void loadReceipt();

private:
    std::unique_ptr<TestAppDir> m_app;
    std::unique_ptr<ScriptedUiServices> m_ui;
};

void ReceiptDataTest::init() {
    m_app = std::make_unique<TestAppDir>();
    m_ui = std::make_unique<ScriptedUiServices>();
    UpgradeSchema();
}

void ReceiptDataTest::cleanup() {
    m_ui.reset();
    m_app.reset();
}

void ReceiptDataTest::gridLayout_data() {
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<int>("priceColumn");
    QTest::addColumn<QString>("priceCaption");

    QTest::newRow("seeded") << QStringList{} << "序,编号,名称,规格型号,单位,数量,单价,金额,备注" << 6
                            << "单价";
    QTest::newRow("renamed, hidden, moved")
        << QStringList{"update g_config set colwidth=-1 where defaultcaption='规格型号'",
                       "update g_config set colwidth=0 where defaultcaption='备注'",
                       "update g_config set colcaption='售价',colno=2 where defaultcaption='单价'",
                       "update g_config set colno=6 where defaultcaption='名称'"}
        << "序,编号,单价,(规格型号),单位,数量,名称,金额,(备注)" << 2 << "售价";
    // Equal positions keep the order of the rows' keys (recid).
    QTest::newRow("tie on position") << QStringList{"update g_config set colno=1 where defaultcaption='单价'"}
                                     << "序,编号,单价,名称,规格型号,单位,数量,金额,备注" << 2 << "单价";
    // A damaged configuration: a key that no row carries is found nowhere (column 0), and
    // rows beyond the ninth have no column.
    QTest::newRow("missing key, extra row")
        << QStringList{"delete from g_config where defaultcaption='单价'",
                       "insert into g_config(gridname,colname,colcaption,colwidth,colno,defaultcaption)"
                       "values('单据录入明细','x','甲',50,9,'甲')",
                       "insert into g_config(gridname,colname,colcaption,colwidth,colno,defaultcaption)"
                       "values('单据录入明细','y','乙',50,10,'乙')"}
        << "序,编号,名称,规格型号,单位,数量,金额,备注,甲" << 0 << "单价";
}

void ReceiptDataTest::gridLayout() {
    QFETCH(QStringList, changes);
    QFETCH(QString, columns);
    QFETCH(int, priceColumn);
    QFETCH(QString, priceCaption);
    for (const QString &statement : changes)
        TestAppDir::exec(statement);
    const ReceiptGridLayout layout = ReceiptGridLayout::load();
    QCOMPARE(shape(layout), columns);
    QCOMPARE(layout.columnOf(GridKey::Price), priceColumn);
    QCOMPARE(layout.captionOf(GridKey::Price), priceCaption);
    QCOMPARE(layout.column(1).width, 120);
}

void ReceiptDataTest::emptyConfigurationGivesTheFactoryLayout() {
    TestAppDir::exec("delete from g_config");
    const ReceiptGridLayout layout = ReceiptGridLayout::load();
    QCOMPARE(shape(layout), QString("序,编号,名称,规格型号,单位,数量,单价,金额,备注"));
    QCOMPARE(layout.column(8).width, 300);
}

void ReceiptDataTest::lookupStatementQuotesTheText() {
    QCOMPARE(LookupStatement("aa_company", ""),
             QString("select top 10 * from aa_company order by tablecode"));
    QCOMPARE(LookupStatement("aa_goods", "A'B"),
             QString("select top 10 * from aa_goods where tablecode like '%A''B%' or name like '%A''B%' or "
                     "namecode like '%A''B%' order by tablecode"));
}

void ReceiptDataTest::lookupSearch_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("names");
    QTest::newRow("nothing typed: the first ten by code")
        << ""
        << "单位01,单位02,单位03,单位04,单位05,单位06,单位07,单位08,单位09,单位10";
    QTest::newRow("part of the code") << "0001"
                                      << "单位01,单位10,单位11,单位12";
    QTest::newRow("part of the name") << "北京"
                                      << "北京A'B公司";
    QTest::newRow("apostrophe") << "A'B"
                                << "北京A'B公司";
    QTest::newRow("spell code, any case") << "bj"
                                          << "北京A'B公司";
    QTest::newRow("no match") << "zzz"
                              << "";
}

void ReceiptDataTest::lookupSearch() {
    QFETCH(QString, typed);
    QFETCH(QString, names);
    for (int i = 12; i >= 1; --i)
        TestAppDir::exec(QStringLiteral("insert into aa_company(companyid,tablecode,name,namecode)"
                                        "values(%1,'DW-%2','单位%3','DW')")
                             .arg(i)
                             .arg(i, 5, 10, QChar('0'))
                             .arg(i, 2, 10, QChar('0')));
    TestAppDir::exec(
        "insert into "
        "aa_company(companyid,tablecode,name,namecode)values(20,'DW-00020','北京A''B公司','BJABGS')");
    QCOMPARE(found("aa_company", typed), names);
}

void ReceiptDataTest::barcode() {
    TestAppDir::exec("insert into aa_goods(goodsid,tablecode,name,barcode)values(1,'G1','笔','69''01')");
    DbQuery q(ShareDM1->ShareConn);
    q.setText(BarcodeStatement("69'01"));
    q.open();
    QCOMPARE(q.asText("tablecode"), QString("G1"));
}

void ReceiptDataTest::pickLists() {
    TestAppDir::exec("insert into aa_staff(staffid,name,type)values(2,'周','会计,收款人')");
    TestAppDir::exec("insert into aa_staff(staffid,name,type)values(3,'吴','主管,会计')");
    TestAppDir::exec("insert into aa_staff(staffid,name,type)values(4,'钱','收款人')");
    TestAppDir::exec("insert into pr_printcfg(stylename,defaultstyle)values('样式二',0)");
    TestAppDir::exec("insert into pr_printcfg(stylename,defaultstyle)values('样式三',-1)");
    const auto firstColumn = [](const PickList &list) {
        QStringList texts;
        for (const QStringList &row : ReadPickList(list))
            texts << row.join(u'|');
        return texts.join(u',');
    };
    QCOMPARE(firstColumn(PickLists::Supervisors), QString("吴"));
    QCOMPARE(firstColumn(PickLists::Accountants), QString("吴,周"));
    QCOMPARE(firstColumn(PickLists::Payees), QString("周,钱"));
    // Styles marked as default (stored as -1) come first.
    QCOMPARE(firstColumn(PickLists::PrintStyles), QString("1|收据,3|样式三,2|样式二"));
    // A list whose select fails is empty.
    QCOMPARE(firstColumn(PickList{"no_such_table", "name", "", "name"}), QString());
}

void ReceiptDataTest::loadReceipt() {
    TestAppDir::exec(
        "insert into ss_sale(saleid,billdate,billcode,opname,companyname,linkman,skfsname,totalamt)"
        "values(5,'2023-12-30','SK5','周','甲','赵','现金',12.5)");
    TestAppDir::exec("insert into ss_saledetail(saledetailid,saleid,tablecode,name,qty,price,amt)"
                     "values(9,5,'B','乙',1,10,10)");
    TestAppDir::exec("insert into ss_saledetail(saledetailid,saleid,tablecode,name,qty,price,amt)"
                     "values(3,5,'A','甲',2.5,1,2.5)");
    const std::optional<ReceiptDraft> r = LoadReceipt(5);
    QVERIFY(r);
    QCOMPARE(r->billDate, QDate(2023, 12, 30));
    QCOMPARE(r->billCode + u'|' + r->opName + u'|' + r->companyName + u'|' + r->linkman + u'|' + r->phone +
                 u'|' + r->skfsName,
             QString("SK5|周|甲|赵||现金"));
    QCOMPARE(r->lines.size(), 2);
    QCOMPARE(r->lines[0].code + u'|' + r->lines[0].quantity + u'|' + r->lines[0].amount,
             QString("A|2.5|2.5"));
    QCOMPARE(r->lines[1].code, QString("B"));
    QVERIFY(!LoadReceipt(6));
}

QTEST_GUILESS_MAIN(ReceiptDataTest)
#include "ReceiptDataTest.moc"
