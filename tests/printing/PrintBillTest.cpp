// The print pipeline on a test database: what it reads, counts and logs, what reaches the
// report, and what happens when the style, its file or the database fails.
#include "PdfPrintOutput.h"
#include "ReceiptSamples.h"
#include "ScriptedUiServices.h"
#include "TestAppDir.h"

#include "data/Globals.h"
#include "data/SchemaUpgrade.h"
#include "data/Sharedm2.h"
#include "printing/PrintBill.h"
#include "printing/report/FontSubstitutions.h"
#include "printing/report/ReportError.h"
#include "printing/report/ReportFile.h"

#include <QFile>
#include <QTest>

namespace {

const QString Number = QStringLiteral("SK20240305001");

// The text the memo of that name shows on the first prepared page (lines joined).
QString shownText(const PdfPrintOutput::Call &call, const QString &object) {
    QStringList lines;
    for (const PreparedItem &item : call.prepared.pages.first().items)
        if (item.object == object && item.kind == PreparedItem::Kind::Text)
            lines << item.text;
    return lines.join(QString());
}

QString printCount(int saleId) {
    return TestAppDir::value(QStringLiteral("select printqty from ss_sale where saleid=%1").arg(saleId));
}

QString logRows() {
    return TestAppDir::rows("select opcontent,billcode,billid,logflag,opname from xt_log order by logid");
}

// A second style (RecID 2) on a copy of the template changed by edit.
template <typename Edit> void addStyle(const QString &customTitle, Edit edit) {
    Report report = ReceiptSamples::loadTemplate();
    edit(report);
    SaveReportFile(report, AppDir + "/Print/ss_sale2.fr3");
    TestAppDir::exec(QStringLiteral("insert into pr_printcfg(stylename,defaultstyle,DefaultName,MydefineName,"
                                    "PrintFile,curno) values('样式2',0,'收据','%1','ss_sale2.fr3',2)")
                         .arg(customTitle));
}

} // namespace

class PrintBillTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void printingTwiceCountsAndLogsEachPrint();
    void previewCountsEvenWhenClosedWithoutPrinting();
    void dataSetsCarryTheFieldContract();
    void companyDetailsReachTitleAndMyinfo_data();
    void companyDetailsReachTitleAndMyinfo();
    void missingStyleOrFilePrintsNothing_data();
    void missingStyleOrFilePrintsNothing();
    void brokenFileRaisesBeforeCounting();
    void failedCountIsRolledBackSilently();
    void amountBeyondTheDigitBoxesAsks_data();
    void amountBeyondTheDigitBoxesAsks();
    void receiptWithoutLinesPrintsItsHeader();
    void designModeOpensTheFileOnEmptyData();

private:
    std::unique_ptr<TestAppDir> m_app;
    std::unique_ptr<ScriptedUiServices> m_ui;
    std::unique_ptr<PdfPrintOutput> m_output;
};

void PrintBillTest::initTestCase() {
    InstallFontSubstitutions();
}

void PrintBillTest::init() {
    cleanup(); // a failed set-up skips the cleanup
    m_app = std::make_unique<TestAppDir>();
    UpgradeSchema(); // as the login leaves the database
    m_ui = std::make_unique<ScriptedUiServices>();
    m_output = std::make_unique<PdfPrintOutput>(m_app->path());
    OperatorName = QStringLiteral("管理员");
    CompanyName = QStringLiteral("星河文具");
    ReceiptSamples::installStyleFile();
    ReceiptSamples::insertReceipt(5, Number, 2);
}

void PrintBillTest::cleanup() {
    m_output.reset();
    m_ui.reset();
    m_app.reset();
}

void PrintBillTest::printingTwiceCountsAndLogsEachPrint() {
    PrintPreview = false;
    PrintBill(false, 5, Number, 1);
    PrintBill(false, 5, Number, 1);

    QCOMPARE(printCount(5), QString("2"));
    const QString row = QStringLiteral("【打印】单据|%1|5|1|管理员").arg(Number);
    QCOMPARE(logRows(), row + u';' + row);
    const auto &calls = m_output->calls();
    QCOMPARE(calls.size(), 2);
    QCOMPARE(calls[0].kind, QString("print"));
    QCOMPARE(calls[1].kind, QString("print"));
    QCOMPARE(PdfPrintOutput::field(calls[0], "frxDBDataset1", "打印次数"), QString("0"));
    QCOMPARE(PdfPrintOutput::field(calls[1], "frxDBDataset1", "打印次数"), QString("1"));
    QVERIFY(QFile(calls[1].pdf).size() > 0);
    QCOMPARE(calls[1].prepared.pages.size(), 1);
    QCOMPARE(shownText(calls[1], "Title"), QString("星河文具收据"));
    QVERIFY(m_ui->shown().isEmpty());
}

void PrintBillTest::previewCountsEvenWhenClosedWithoutPrinting() {
    PrintPreview = true;
    PrintBill(false, 5, Number, 1);
    QCOMPARE(m_output->calls().size(), 1);
    QCOMPARE(m_output->calls()[0].kind, QString("preview"));
    QCOMPARE(printCount(5), QString("1"));
    QCOMPARE(logRows(), QStringLiteral("【打印】单据|%1|5|1|管理员").arg(Number));
}

void PrintBillTest::dataSetsCarryTheFieldContract() {
    // Lines come in the order they were entered, and only this receipt's.
    TestAppDir::exec(
        "insert into ss_saledetail(saledetailid,saleid,name,qty,price,amt) values(4999,5,'最先录入',1,1,1)");
    ReceiptSamples::insertReceipt(6, "SK6", 1);
    TestAppDir::exec("update ss_sale set billdate='2024-11-25',linkman=null where saleid=5");
    PrintBill(false, 5, Number, 1);

    QCOMPARE(
        ShareDM1->PrintQuery1.text(),
        QString("select billdate as 收款日期,billcode as 单据编号,opname as 开单人,companyname as 交款单位,"
                "format(billdate,'yyyy') as 年,format(billdate,'mm') as 月,format(billdate,'dd') as 日,"
                "zgname as 主管,kjname as 会计,skrname as 收款人,skfsname as 收款方式,totalamt as 总金额,"
                "cnamt as 大写人民币,printqty as 打印次数,qw1 as 千万,bw1 as 百万,sw1 as 十万,w1 as 万,"
                "q1 as 千,b1 as 百,s1 as 十,y1 as 元,j1 as 角,f1 as 分,linkman as 联系人,phone as 联系电话,"
                "adr as 地址,remark as 备注 from ss_sale where saleid=5 order by saleid asc"));
    QCOMPARE(
        ShareDM1->PrintQuery2.text(),
        QString(
            "select tablecode as 编号,name as 名称,goodsmodal as 规格型号,unit_name as 单位,price as 单价,"
            "amt as 金额,remark as 备注,qw1 as 千万,bw1 as 百万,sw1 as 十万,w1 as 万,q1 as 千,b1 as 百,"
            "s1 as 十,y1 as 元,j1 as 角,f1 as 分,qty as 数量 from ss_saledetail where saleid=5 "
            "order by saledetailid asc"));
    const PdfPrintOutput::Call &call = m_output->calls().first();
    QCOMPARE(call.dataSets.size(), 2);
    const ReportDataSet &header = call.dataSets[0];
    const ReportDataSet &lines = call.dataSets[1];
    QCOMPARE(header.name, QString("frxDBDataset1"));
    QCOMPARE(header.fields,
             QStringList({"收款日期", "单据编号", "开单人", "交款单位", "年",       "月",         "日",
                          "主管",     "会计",     "收款人", "收款方式", "总金额",   "大写人民币", "打印次数",
                          "千万",     "百万",     "十万",   "万",       "千",       "百",         "十",
                          "元",       "角",       "分",     "联系人",   "联系电话", "地址",       "备注"}));
    QCOMPARE(header.rows.size(), 1);
    QStringList values;
    for (const QVariant &v : header.rows.first())
        values << (v.isNull() ? QStringLiteral("null") : v.toString());
    QCOMPARE(values.join(u'|'),
             QString("2024-11-25|SK20240305001|管理员|星河文具有限公司|2024|11|25|张主管|李会计|"
                     "王出纳|现金|1234.5|壹仟贰佰叁拾肆元伍角整|0|||||1|2|3|4|5|0|null|"
                     "0571-88886666|杭州市文一路1号|备注文字"));
    QCOMPARE(lines.name, QString("frxDBDataset2"));
    QCOMPARE(lines.fields, QStringList({"编号", "名称", "规格型号", "单位", "单价", "金额", "备注", "千万",
                                        "百万", "十万", "万", "千", "百", "十", "元", "角", "分", "数量"}));
    QStringList names;
    for (const QVariantList &row : lines.rows)
        names << row.at(1).toString();
    QCOMPARE(names, QStringList({"最先录入", "商品1", "商品2"}));
    QCOMPARE(lines.rows[1].at(4).toString(), QString("12.5"));
    QCOMPARE(lines.rows[1].at(17).toString(), QString("2.5"));

    // Single-digit months and days keep their leading zero.
    TestAppDir::exec("update ss_sale set billdate='2024-03-05' where saleid=5");
    PrintBill(false, 5, Number, 1);
    const PdfPrintOutput::Call &second = m_output->calls().last();
    QCOMPARE(PdfPrintOutput::field(second, "frxDBDataset1", "月"), QString("03"));
    QCOMPARE(PdfPrintOutput::field(second, "frxDBDataset1", "日"), QString("05"));
}

void PrintBillTest::companyDetailsReachTitleAndMyinfo_data() {
    QTest::addColumn<bool>("withMyinfo");
    QTest::addColumn<QString>("company");
    QTest::addColumn<QString>("customTitle");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("myinfo");

    const QString contact = QStringLiteral("联系电话：0571-1传真：0571-2邮编：310000地址：文一路1号");
    QTest::newRow("template") << false << "星河文具"
                              << "收款收据"
                              << "星河文具收款收据"
                              << "";
    QTest::newRow("no custom title") << false << "星河文具"
                                     << ""
                                     << "星河文具"
                                     << "";
    QTest::newRow("with Myinfo") << true << "星河文具"
                                 << "收据"
                                 << "星河文具收据" << contact;
    QTest::newRow("name that looks like a field") << false << "[frxDBDataset1.\"总金额\"]公司"
                                                  << "收据"
                                                  << "[frxDBDataset1.\"总金额\"]公司收据"
                                                  << "";
}

void PrintBillTest::companyDetailsReachTitleAndMyinfo() {
    QFETCH(bool, withMyinfo);
    QFETCH(QString, company);
    QFETCH(QString, customTitle);
    QFETCH(QString, title);
    QFETCH(QString, myinfo);
    CompanyName = company;
    CompanyPhone = QStringLiteral("0571-1");
    CompanyFax = QStringLiteral("0571-2");
    CompanyZip = QStringLiteral("310000");
    CompanyAddress = QStringLiteral("文一路1号");
    addStyle(customTitle, [&](Report &report) {
        if (!withMyinfo)
            return;
        MemoObject info;
        info.name = QStringLiteral("Myinfo");
        info.rect = {0, 0, 19000, 500};
        info.text = QStringLiteral("联系方式");
        report.pages[0].bands[4].objects << info;
    });
    PrintBill(false, 5, Number, 2);
    const PdfPrintOutput::Call &call = m_output->calls().first();
    QCOMPARE(shownText(call, "Title"), title);
    QCOMPARE(shownText(call, "Myinfo"), myinfo);
}

void PrintBillTest::missingStyleOrFilePrintsNothing_data() {
    QTest::addColumn<int>("styleId");
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<bool>("design");
    QTest::newRow("no style row") << 99 << "" << false;
    QTest::newRow("file deleted") << 1 << "delete" << false;
    QTest::newRow("no file name") << 1 << "update pr_printcfg set PrintFile='' where RecID=1" << false;
    QTest::newRow("design, file deleted") << 1 << "delete" << true;
}

void PrintBillTest::missingStyleOrFilePrintsNothing() {
    QFETCH(int, styleId);
    QFETCH(QString, setUp);
    QFETCH(bool, design);
    if (setUp == "delete")
        QVERIFY(QFile::remove(AppDir + "/Print/ss_sale1.fr3"));
    else if (!setUp.isEmpty())
        TestAppDir::exec(setUp);
    PrintBill(design, 5, Number, styleId);
    QCOMPARE(m_ui->texts(), QStringList({"报表文件不存在或丢失！"}));
    QCOMPARE(m_output->calls().size(), 0);
    QCOMPARE(printCount(5), QString("0"));
    QCOMPARE(logRows(), QString());
}

void PrintBillTest::brokenFileRaisesBeforeCounting() {
    QFile file(AppDir + "/Print/ss_sale1.fr3");
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("<QuilloReport version=\"1\"><Page name=\"Page1\"><Band name=\"B\" kind=\"Ch");
    file.close();
    try {
        PrintBill(false, 5, Number, 1);
        QFAIL("a broken file printed");
    } catch (const ReportError &error) {
        QVERIFY2(error.message().startsWith("报表文件“ss_sale1.fr3”无法读取"), qPrintable(error.message()));
    }
    QCOMPARE(m_output->calls().size(), 0);
    QCOMPARE(printCount(5), QString("0"));
    QCOMPARE(logRows(), QString());
}

void PrintBillTest::failedCountIsRolledBackSilently() {
    ShareDM1->ShareConn.executeNative("create trigger no_count before update of printqty on ss_sale "
                                      "begin select raise(abort, 'disk full'); end");
    PrintBill(false, 5, Number, 1);
    QCOMPARE(m_output->calls().size(), 1); // the receipt still prints
    QCOMPARE(printCount(5), QString("0"));
    QCOMPARE(logRows(), QString()); // the log row went with the count
    QVERIFY(!ShareDM1->ShareConn.inTransaction());
    QVERIFY(m_ui->shown().isEmpty());
}

void PrintBillTest::amountBeyondTheDigitBoxesAsks_data() {
    QTest::addColumn<QString>("update");    // changes the receipt's digit fields
    QTest::addColumn<bool>("headerDigits"); // the style prints the total's 万 ... 分 as well
    QTest::addColumn<QString>("question");  // empty: none asked
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("printed");

    // The template's digit boxes of a line reach 十万: 999,999.99 fits, 1,000,000 does not.
    const QString line = "update ss_saledetail set amt=%1,bw1='%2',sw1='9' where saledetailid=5002";
    QTest::newRow("999999.99 fits") << line.arg("999999.99", "") << false << "" << false << true;
    QTest::newRow("1000000, printed anyway")
        << line.arg("1000000", "1") << false << "第2行金额1000000（数字格最高为十万位）" << true << true;
    QTest::newRow("1000000, not printed")
        << line.arg("1000000", "1") << false << "第2行金额1000000（数字格最高为十万位）" << false << false;
    QTest::newRow("minus sign above the boxes")
        << line.arg("-999999.99", "-") << false << "第2行金额-999999.99（数字格最高为十万位）" << false
        << false;
    // The template prints the total as money, not in digit boxes: any total prints.
    QTest::newRow("total of 12345678.9, template")
        << QString("update ss_sale set totalamt=12345678.9,qw1='1',bw1='2',sw1='3',w1='4' where saleid=5")
        << false << "" << false << true;
    QTest::newRow("total of 123456 in boxes up to 万")
        << QString("update ss_sale set totalamt=123456,sw1='1',w1='2' where saleid=5") << true
        << "合计金额123456（数字格最高为万位）" << false << false;
    QTest::newRow("total of 23456 in boxes up to 万")
        << QString("update ss_sale set totalamt=23456,w1='2' where saleid=5") << true << "" << false << true;
}

void PrintBillTest::amountBeyondTheDigitBoxesAsks() {
    QFETCH(QString, update);
    QFETCH(bool, headerDigits);
    QFETCH(QString, question);
    QFETCH(bool, yes);
    QFETCH(bool, printed);
    TestAppDir::exec(update);
    addStyle(QString(), [&](Report &report) {
        if (!headerDigits)
            return;
        const QStringList places{"万", "千", "百", "十", "元", "角", "分"};
        for (int i = 0; i < places.size(); ++i) {
            MemoObject digit;
            digit.name = QStringLiteral("TotalDigit%1").arg(i);
            digit.rect = {10000 + i * 600, 900, 600, 500};
            digit.text = QStringLiteral("[frxDBDataset1.\"%1\"]").arg(places[i]);
            report.pages[0].bands[4].objects << digit;
        }
    });
    if (!question.isEmpty())
        m_ui->answer(yes ? UiServices::Answer::Yes : UiServices::Answer::No);
    PrintPreview = false;
    PrintBill(false, 5, Number, 2);

    if (question.isEmpty()) {
        QVERIFY(m_ui->shown().isEmpty());
    } else {
        QCOMPARE(m_ui->shown().size(), 1);
        const auto &asked = m_ui->shown().first();
        QCOMPARE(asked.kind, UiServices::Kind::YesNo);
        QCOMPARE(asked.caption, QString("询问"));
        QVERIFY2(asked.text.contains(question), qPrintable(asked.text));
        QVERIFY(asked.text.endsWith("是否仍然打印？"));
    }
    QCOMPARE(m_output->calls().size(), printed ? 1 : 0);
    QCOMPARE(printCount(5), QString(printed ? "1" : "0"));
    QCOMPARE(logRows(), printed ? QStringLiteral("【打印】单据|%1|5|1|管理员").arg(Number) : QString());
}

void PrintBillTest::receiptWithoutLinesPrintsItsHeader() {
    ReceiptSamples::insertReceipt(7, "SK7", 0);
    PrintBill(false, 7, "SK7", 1);
    const PdfPrintOutput::Call &call = m_output->calls().first();
    QCOMPARE(call.dataSets[1].rows.size(), 0);
    QCOMPARE(call.prepared.pages.size(), 1);
    QStringList bands;
    for (const PreparedBand &band : call.prepared.pages.first().bands)
        bands << band.name;
    QCOMPARE(bands, QStringList({"ReportTitle1", "ReportSummary1"}));
    bool party = false;
    for (const PreparedItem &item : call.prepared.pages.first().items)
        party = party || item.text == "星河文具有限公司";
    QVERIFY(party);
}

void PrintBillTest::designModeOpensTheFileOnEmptyData() {
    PrintBill(true, 0, QString(), 1);
    QCOMPARE(m_output->calls().size(), 1);
    const PdfPrintOutput::Call &call = m_output->calls().first();
    QCOMPARE(call.kind, QString("design"));
    QCOMPARE(call.fileName, AppDir + "/Print/ss_sale1.fr3");
    QCOMPARE(call.dataSets[0].fields.size(), 28);
    QCOMPARE(call.dataSets[1].fields.size(), 18);
    QCOMPARE(call.dataSets[0].rows.size(), 0);
    QCOMPARE(call.dataSets[1].rows.size(), 0);
    QCOMPARE(call.report, ReceiptSamples::loadTemplate()); // Title and Myinfo as the file has them
    QCOMPARE(printCount(5), QString("0"));
    QCOMPARE(logRows(), QString());
}

QTEST_MAIN(PrintBillTest)
#include "PrintBillTest.moc"
