// The receipt query window driven by objectName on the real main window: what it lists, and
// what its commands leave in the database and show the user.
#include "GuiFixture.h"
#include "PdfPrintOutput.h"
#include "ReceiptSamples.h"
#include "StoredReceipts.h"

#include "app/Main.h"
#include "data/Clock.h"
#include "data/Globals.h"
#include "data/OperatorRights.h"
#include "data/Sharedm2.h"
#include "data/StatementRoutines.h"
#include "queries/Aa_operatorlog.h"
#include "queries/HistoryFilter.h"
#include "queries/Ss_history.h"
#include "receipts/ReceiptEntryPanel.h"
#include "receipts/Ss_edit1.h"
#include "receipts/Ss_sale.h"
#include "ui/LookupComboBox.h"
#include "ui/list/Aa_showbillinfo.h"
#include "ui/list/ListModel.h"
#include "ui/list/ListStatusBar.h"
#include "ui/list/ListView.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

const QDate Today(2024, 3, 5);

// The first cells of every row of a list, joined.
QString column(const ListView *list, int c = 0) {
    QStringList cells;
    for (int row = 0; row < list->listModel()->rowCount(); ++row)
        cells << list->listModel()->cell(row, c);
    return cells.join(u',');
}

// How many pages a PDF file holds.
int pdfPages(const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return static_cast<int>(
        QString::fromLatin1(file.readAll()).count(QRegularExpression("/Type\\s*/Page\\b")));
}

} // namespace

class HistoryFormTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensOnTodaysReceipts();
    void fieldSearchInAllReceipts();
    void thisMonthTakesInEarlierYears();
    void showAllAndEmptyText();
    void amountSearchRefusesText();
    void sortingByHeaderClicks();
    void printsTickedReceiptsInListOrder();
    void printsTheSelectedOneWithoutTicks();
    void failingDeleteKeepsItsReceipt();
    void nonAdministratorMayPrintAndCopyOnly();
    void copyReachesTheEntryForm();
    void editReloadsTheRow();
    void printedReceiptAsksBeforeEditing();
    void operatorLogOfTheSelectedReceipt();
    void exportPdfCountsNothing();

private:
    // Opens the main window and the query tab on it.
    void open();
    void tick(int row) { m_list->listModel()->setTicked(row, true); }
    void selectRange(HistoryRange range) { m_form->ComboBox2->setCurrentIndex(int(range)); }

    std::unique_ptr<GuiFixture> m_fx;
    TForm_SS_History *m_form = nullptr;
    ListView *m_list = nullptr;
};

void HistoryFormTest::init() {
    Clock::setFixed(QDateTime(Today, QTime(9, 15)));
    m_fx = std::make_unique<GuiFixture>();
    AddStoredReceipt(1, "2024-03-05", "东方文具", 10, {"A4复印纸", "中性笔"});
    AddStoredReceipt(2, "2024-03-04", "东方红商店", 25.5);
    AddStoredReceipt(3, "2024-03-05", "Beta公司", 100, {"订书机"});
    AddStoredReceipt(4, "2023-03-20", "西湖书店", 8);
    AddStoredReceipt(5, "2024-03-05", "alpha商行", 3, {"胶水", "剪刀", "尺子"});
    AddStoredReceipt(6, "2024-02-28", "东方文具", 60);
}

void HistoryFormTest::cleanup() {
    m_fx.reset();
    m_form = nullptr;
    m_list = nullptr;
}

void HistoryFormTest::open() {
    TForm_Main *main = m_fx->mainWindow();
    QApplication::setActiveWindow(main);
    main->runCommand(TForm_SS_History::Caption);
    m_form = qobject_cast<TForm_SS_History *>(main->activeChild());
    QVERIFY(m_form);
    m_list = GuiFixture::find<ListView>(m_form, "ListView1");
    QVERIFY(m_list);
    // The lists' models are checked through everything each test does to them.
    new QAbstractItemModelTester(m_list->listModel(), QAbstractItemModelTester::FailureReportingMode::QtTest,
                                 m_form);
    new QAbstractItemModelTester(GuiFixture::find<ListView>(m_form, "ListView2")->listModel(),
                                 QAbstractItemModelTester::FailureReportingMode::QtTest, m_form);
}

void HistoryFormTest::opensOnTodaysReceipts() {
    open();
    QCOMPARE(column(m_list), QString("SK5,SK3,SK1"));
    QCOMPARE(m_list->currentRow(), 0);
    QCOMPARE(m_form->CurrentReceiptId, 5);
    QCOMPARE(m_form->CurrentFilter, QString("billdate=#2024-03-05#"));
    const auto *lines = GuiFixture::find<ListView>(m_form, "ListView2");
    QCOMPARE(column(lines, 1), QString("胶水,剪刀,尺子"));
    QCOMPARE(lines->currentRow(), 0);
    QCOMPARE(m_list->listModel()->columnCount(), 15);
    QCOMPARE(m_list->listModel()->headerData(11, Qt::Horizontal).toString(), QString("总金额"));
    QCOMPARE(m_list->listModel()->cell(0, 11), QString("3"));
    QCOMPARE(m_list->listModel()->hidden(0, 0), QString("SK5"));
    QCOMPARE(m_list->listModel()->hidden(0, 1), QString("5"));
    const auto *status = GuiFixture::find<ListStatusBar>(m_form, "StatusBar1");
    QCOMPARE(status->panelText(0), QString("总记录：3"));
    QCOMPARE(status->panelText(1), QString("当前行：1"));
    QCOMPARE(status->panelText(2), QString("已勾选：0"));
    QCOMPARE(m_form->ComboBox2->currentText(), QString("今日业务"));
    QCOMPARE(m_form->ComboBox1->currentText(), QString("按单据编号查询"));
    QCOMPARE(m_form->ComboBox1->count(), 17);
    QCOMPARE(QApplication::focusWidget(), m_form->Edit1);
    QCOMPARE(m_form->BoxPrintStyle->currentText(), QString("收据"));
    // Selecting another row shows its lines.
    m_list->selectRow(2);
    QCOMPARE(m_form->CurrentReceiptId, 1);
    QCOMPARE(column(lines, 1), QString("A4复印纸,中性笔"));
    QCOMPARE(status->panelText(1), QString("当前行：3"));
    // A second "单据查询" brings the open tab forward.
    m_fx->mainWindow()->runCommand(TForm_SS_History::Caption);
    QCOMPARE(m_fx->mainWindow()->activeChild(), m_form);
    QCOMPARE(m_fx->mainWindow()->childWindows().size(), 2);
}

void HistoryFormTest::fieldSearchInAllReceipts() {
    open();
    selectRange(HistoryRange::All);
    QCOMPARE(QApplication::focusWidget(), m_form->ComboBox1);
    QCOMPARE(column(m_list), QString("SK6,SK5,SK4,SK3,SK2,SK1"));
    m_form->ComboBox1->setCurrentIndex(3); // 按交款单位查询
    QCOMPARE(QApplication::focusWidget(), m_form->Edit1);
    GuiFixture::type(m_form->Edit1, "东方");
    GuiFixture::pressEnter(m_form->Edit1);
    QCOMPARE(
        HistoryStatement(m_form->CurrentFilter),
        QString("select * from ss_sale where 1=1  and  (companyname like '%东方%') and saleid>0 order by "
                "saleid desc"));
    QCOMPARE(column(m_list), QString("SK6,SK2,SK1"));
    QCOMPARE(m_form->Edit1->cursorPosition(), 2);
    // On the lines: the goods name.
    m_form->ComboBox1->setCurrentIndex(14);
    m_form->Edit1->setText("剪");
    m_form->SpeedButton3->click();
    QCOMPARE(column(m_list), QString("SK5"));
    // Nothing found: both lists empty.
    m_form->Edit1->setText("没有这种");
    m_form->SpeedButton3->click();
    QCOMPARE(m_list->listModel()->rowCount(), 0);
    QCOMPARE(GuiFixture::find<ListView>(m_form, "ListView2")->listModel()->rowCount(), 0);
    QCOMPARE(GuiFixture::find<ListStatusBar>(m_form, "StatusBar1")->panelText(1), QString("当前行：0"));
}

void HistoryFormTest::thisMonthTakesInEarlierYears() {
    open();
    selectRange(HistoryRange::ThisMonth);
    QCOMPARE(m_form->CurrentFilter, QString("Month(billdate)=Month(Now())"));
    QCOMPARE(column(m_list), QString("SK5,SK4,SK3,SK2,SK1"));
}

void HistoryFormTest::showAllAndEmptyText() {
    open();
    selectRange(HistoryRange::All);
    m_form->ComboBox1->setCurrentIndex(ShowAllField);
    QCOMPARE(m_form->CurrentFilter, QString("saleid>0"));
    QCOMPARE(m_list->listModel()->rowCount(), 6);
    // "查询" with a text while "显示全部" is chosen changes nothing.
    m_form->Edit1->setText("东方");
    m_form->SpeedButton3->click();
    QCOMPARE(m_form->CurrentFilter, QString("saleid>0"));
    QCOMPARE(m_list->listModel()->rowCount(), 6);
    // An empty text with any field lists the whole range.
    m_form->ComboBox1->setCurrentIndex(2);
    m_form->Edit1->clear();
    selectRange(HistoryRange::Today);
    m_form->SpeedButton3->click();
    QCOMPARE(m_form->CurrentFilter, QString(" 1=1 and billdate=#2024-03-05#"));
    QCOMPARE(column(m_list), QString("SK5,SK3,SK1"));
}

void HistoryFormTest::amountSearchRefusesText() {
    open();
    m_form->ComboBox1->setCurrentIndex(AmountField);
    m_form->Edit1->setText("10元");
    const QString filter = m_form->CurrentFilter;
    m_form->SpeedButton3->click();
    QCOMPARE(m_fx->ui.texts(), QStringList{"总金额应为数字，请重新输入！"});
    QCOMPARE(m_fx->ui.shown().last().caption, QString("提示"));
    QCOMPARE(m_form->CurrentFilter, filter);
    QCOMPARE(column(m_list), QString("SK5,SK3,SK1"));
    QCOMPARE(QApplication::focusWidget(), m_form->Edit1);
    m_form->Edit1->setText("100");
    m_form->SpeedButton3->click();
    QCOMPARE(column(m_list), QString("SK3"));
}

void HistoryFormTest::sortingByHeaderClicks() {
    open();
    selectRange(HistoryRange::All);
    QHeaderView *header = m_list->header();
    const auto click = [&header](int section) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
    };
    click(3); // 交款单位: A before B, the case ignored
    QCOMPARE(column(m_list, 3).section(u',', 0, 1), QString("alpha商行,Beta公司"));
    click(11); // every further click reverses: amounts from the smallest
    QCOMPARE(column(m_list, 11), QString("3,8,10,25.5,60,100"));
    click(3); // the flag is back where the first click left it: A to Z again
    QCOMPARE(column(m_list, 3).section(u',', 0, 1), QString("alpha商行,Beta公司"));
    click(3);
    QCOMPARE(column(m_list, 3).section(u',', -2), QString("Beta公司,alpha商行"));
    // The first click after opening on 总金额: the largest first.
    m_form->close();
    open();
    selectRange(HistoryRange::All);
    header = m_list->header();
    click(11);
    QCOMPARE(column(m_list, 11), QString("100,60,25.5,10,8,3"));
}

void HistoryFormTest::printsTickedReceiptsInListOrder() {
    QTemporaryDir pdfs;
    PdfPrintOutput output(pdfs.path());
    ReceiptSamples::installStyleFile();
    PrintPreview = false;
    open();
    selectRange(HistoryRange::All); // SK6,SK5,SK4,SK3,SK2,SK1
    tick(4);
    tick(1);
    tick(3);
    m_list->selectRow(0);
    m_form->BitBtn1->click();
    QCOMPARE(output.calls().size(), 3);
    QStringList printed;
    for (const PdfPrintOutput::Call &call : output.calls())
        printed << PdfPrintOutput::field(call, "frxDBDataset1", "单据编号");
    QCOMPARE(printed, (QStringList{"SK5", "SK3", "SK2"}));
    QCOMPARE(TestAppDir::rows("select saleid,printqty from ss_sale where printqty>0 order by saleid"),
             QString("2|1;3|1;5|1"));
    // Printed rows show the mark; the count shows the old value until the next load.
    QCOMPARE(m_list->listModel()->row(1).image, 1);
    QCOMPARE(m_list->listModel()->row(0).image, -1);
    QCOMPARE(m_list->listModel()->cell(1, 14), QString("0"));
    m_form->N1->trigger();
    QCOMPARE(m_list->listModel()->cell(1, 14), QString("1"));
    QCOMPARE(m_list->listModel()->row(1).image, 1);
}

void HistoryFormTest::printsTheSelectedOneWithoutTicks() {
    QTemporaryDir pdfs;
    PdfPrintOutput output(pdfs.path());
    ReceiptSamples::installStyleFile();
    PrintPreview = true;
    open();
    m_list->selectRow(1);
    m_form->BitBtn1->click();
    QCOMPARE(output.calls().size(), 1);
    QCOMPARE(output.calls().first().kind, QString("preview"));
    QCOMPARE(PdfPrintOutput::field(output.calls().first(), "frxDBDataset1", "单据编号"), QString("SK3"));
    // Without a print style nothing prints, and the user is told why.
    TestAppDir::exec("delete from pr_printcfg");
    m_form->close();
    open();
    m_form->BitBtn1->click();
    QCOMPARE(output.calls().size(), 1);
    QCOMPARE(m_fx->ui.lastText(), QString("没有可用的打印样式，请先在工具->打印配置中增加打印样式！"));
}

void HistoryFormTest::failingDeleteKeepsItsReceipt() {
    open();
    ShareDM1->ShareConn.executeNative(
        "create trigger refuse before delete on ss_saledetail when old.saleid=3 "
        "begin select raise(abort, 'refused'); end");
    tick(1); // SK3: fails
    tick(2); // SK1
    m_fx->answerNext(UiServices::Answer::Yes);
    QString failures;
    m_fx->onNextModal([&failures](QDialog *dialog) {
        auto *info = qobject_cast<TForm_AA_ShowBillInfo *>(dialog);
        QVERIFY(info);
        failures = info->Memo1->toPlainText();
        info->BitBtn1->click();
    });
    m_form->BitBtn3->click();
    m_fx->expectModalHandled();
    QCOMPARE(m_fx->ui.texts(), QStringList{"是否确定删除？"});
    QCOMPARE(failures, QString("SK3：删除失败！\n"));
    QCOMPARE(column(m_list), QString("SK5,SK3"));
    QVERIFY(m_list->listModel()->ticked(1));
    QCOMPARE(m_list->listModel()->tickedCount(), 1);
    QCOMPARE(m_list->currentRow(), 0);
    QCOMPARE(TestAppDir::rows("select saleid from ss_sale order by saleid"), QString("2;3;4;5;6"));
    QCOMPARE(TestAppDir::value("select count(*) from ss_saledetail where saleid=1"), QString("0"));
    QCOMPARE(TestAppDir::value("select count(*) from ss_saledetail where saleid=3"), QString("1"));
    QCOMPARE(TestAppDir::rows("select opcontent,billcode,billid,logflag from xt_log"),
             QString("【删除】单据|SK1|1|1"));
    // Answering No deletes nothing.
    m_fx->answerNext(UiServices::Answer::No);
    m_form->BitBtn3->click();
    QCOMPARE(column(m_list), QString("SK5,SK3"));
}

void HistoryFormTest::nonAdministratorMayPrintAndCopyOnly() {
    QTemporaryDir pdfs;
    PdfPrintOutput output(pdfs.path());
    ReceiptSamples::installStyleFile();
    TestAppDir::exec(
        "insert into aa_staff(staffid,tablecode,name,namecode,type)values(9,'009','李芳','LF','会计')");
    m_fx->login("李芳");
    QVERIFY(!IsAdministrator());
    open();
    tick(0);
    m_form->BitBtn3->click();
    QCOMPARE(m_fx->ui.lastText(), RefusalText);
    m_form->N5->trigger();
    QCOMPARE(m_fx->ui.texts(), (QStringList{RefusalText, RefusalText}));
    QCOMPARE(TestAppDir::value("select count(*) from ss_sale"), QString("6"));
    m_form->BitBtn1->click();
    QCOMPARE(output.calls().size(), 1);
    m_form->BitBtn2->click();
    QVERIFY(qobject_cast<TForm_SS_Sale *>(m_fx->mainWindow()->activeChild()));
}

void HistoryFormTest::copyReachesTheEntryForm() {
    open();
    m_list->selectRow(2); // SK1
    m_form->BitBtn2->click();
    QCOMPARE(CopySaleId, 1);
    auto *entry = qobject_cast<TForm_SS_Sale *>(m_fx->mainWindow()->activeChild());
    QVERIFY(entry);
    QCOMPARE(entry->Bill->BoxCompany->currentText(), QString("东方文具"));
    QCOMPARE(entry->Bill->Edit3->text(), QString("20"));
}

void HistoryFormTest::editReloadsTheRow() {
    open();
    m_list->selectRow(1); // SK3
    tick(1);
    bool saved = false;
    m_fx->onNextModal([&saved](QDialog *dialog) {
        auto *edit = qobject_cast<TForm_SS_Edit1 *>(dialog);
        QVERIFY(edit);
        auto *remark = GuiFixture::find<QLineEdit>(edit, "Edit9");
        QVERIFY(remark);
        remark->setText("改过了");
        GuiFixture::find<QPushButton>(edit, "BitBtn1")->click();
        saved = !edit->isVisible();
    });
    m_form->N5->trigger();
    m_fx->expectModalHandled();
    QVERIFY(saved);
    QCOMPARE(TestAppDir::value("select remark from ss_sale where saleid=3"), QString("改过了"));
    QCOMPARE(m_list->listModel()->cell(1, 13), QString("改过了"));
    QVERIFY(m_list->listModel()->ticked(1));
    QCOMPARE(column(GuiFixture::find<ListView>(m_form, "ListView2"), 1), QString("订书机"));
    // A double click opens it too; cancelling changes nothing.
    m_fx->onNextModal([](QDialog *dialog) { dialog->reject(); });
    emit m_list->doubleClicked(m_list->listModel()->index(1, 3));
    m_fx->expectModalHandled();
    QCOMPARE(m_list->listModel()->cell(1, 13), QString("改过了"));
}

void HistoryFormTest::printedReceiptAsksBeforeEditing() {
    TestAppDir::exec("update ss_sale set printqty=2 where saleid=5");
    open();
    m_fx->answerNext(UiServices::Answer::No);
    m_form->N5->trigger();
    QCOMPARE(m_fx->ui.texts(), QStringList{"单据已被打印，是否确定再次修改？"});
    QCOMPARE(m_fx->ui.shown().last().caption, QString("询问"));
    QCOMPARE(m_list->listModel()->row(0).image, 1);
}

void HistoryFormTest::exportPdfCountsNothing() {
    ReceiptSamples::installStyleFile();
    QTemporaryDir out;
    open();
    tick(0);
    tick(2);
    const QString target = out.path() + "/两张单据"; // the suffix is added
    m_fx->ui.answerFileName(target);
    m_form->N7->trigger();
    QVERIFY(QFile::exists(target + ".pdf"));
    QCOMPARE(pdfPages(target + ".pdf"), 2);
    QCOMPARE(TestAppDir::value("select sum(printqty) from ss_sale"), QString("0"));
    QCOMPARE(TestAppDir::value("select count(*) from xt_log"), QString("0"));
    QCOMPARE(m_list->listModel()->row(0).image, -1);
    // A cancelled file dialog writes nothing.
    m_fx->ui.answerFileName(QString());
    m_form->N7->trigger();
    QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 1);
}

void HistoryFormTest::operatorLogOfTheSelectedReceipt() {
    TestAppDir::exec("insert into xt_log(logid,opname,opdate,opcontent,billcode,billid,logflag)"
                     "values(1,'管理员','2024-03-05 09:00:00','【新增】单据','SK3',3,1)");
    TestAppDir::exec("insert into xt_log(logid,opname,opdate,opcontent,billcode,billid,logflag)"
                     "values(2,'管理员','2024-03-05 09:01:00','【新增】单据','SK5',5,1)");
    open();
    m_list->selectRow(1); // SK3
    QString shown;
    m_fx->onNextModal([&shown](QDialog *dialog) {
        auto *log = qobject_cast<TForm_AA_OperatorLog *>(dialog);
        QVERIFY(log);
        shown = column(log->ListView1, 2) + u'|' + column(log->ListView1, 0);
        dialog->reject();
    });
    m_form->N6->trigger();
    m_fx->expectModalHandled();
    QCOMPARE(shown, QString("【新增】单据|管理员"));
}

QTEST_MAIN(HistoryFormTest)
#include "HistoryFormTest.moc"
