// The receipt entry window driven as an operator drives it: from the keyboard, by objectName,
// on the real main window; then what reached the database and what the user was told.
#include "GuiFixture.h"
#include "PdfPrintOutput.h"
#include "ReceiptSamples.h"
#include "StoredReceiptData.h"

#include "app/Main.h"
#include "data/Clock.h"
#include "data/Globals.h"
#include "data/Sharedm2.h"
#include "receipts/ReceiptEntryPanel.h"
#include "receipts/ReceiptGridLayout.h"
#include "receipts/ReceiptGridModel.h"
#include "receipts/ReceiptGridView.h"
#include "receipts/Ss_sale.h"
#include "ui/LookupComboBox.h"
#include "ui/LookupGrid.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

QWidget *focused() {
    return QApplication::focusWidget();
}

// Types into whatever has the focus, as the keyboard does.
void type(const QString &text) {
    GuiFixture::type(focused(), text);
}

void enter() {
    GuiFixture::pressEnter(focused());
}

void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(focused(), k, modifiers);
}

// Replaces what the focused cell or box holds.
void retype(const QString &text) {
    key(Qt::Key_A, Qt::ControlModifier);
    type(text);
}

const char *const masterData[] = {
    "insert into aa_goods(goodsid,tablecode,name,namecode,goodsmodal,unit_name,price,barcode)"
    "values(1,'G001','A4复印纸','AFYZ','70g','包',25.5,'6901')",
    "insert into aa_goods(goodsid,tablecode,name,namecode,goodsmodal,unit_name,price,barcode)"
    "values(2,'G002','中性笔','ZXB','0.5mm','支',2.5,'6902')",
    "insert into xt_tablekey(tablename,maxkey)values('aa_goods',2)",
    "insert into aa_company(companyid,tablecode,name,namecode,linkman,phone,adr)"
    "values(1,'DW-00001','杭州湖畔科技','HZHPKJ','赵先生','0571-88886666','文一路1号')",
    "insert into aa_company(companyid,tablecode,name,namecode,linkman,phone,adr)"
    "values(2,'DW-00002','北京A''B公司','BJABGS','钱女士','010-1','')",
    "insert into xt_tablekey(tablename,maxkey)values('aa_company',2)",
    "insert into aa_staff(staffid,tablecode,name,namecode,type)values(2,'002','张明','ZM','主管')",
    "insert into aa_staff(staffid,tablecode,name,namecode,type)values(3,'003','李芳','LF','会计,收款人')",
    "update xt_tablekey set maxkey=3 where tablename='aa_staff'",
    "insert into aa_unit(unitid,name,namecode)values(1,'包','B')",
    "insert into aa_unit(unitid,name,namecode)values(2,'支','Z')",
    "insert into xt_tablekey(tablename,maxkey)values('aa_unit',2)",
    "insert into aa_chargetype(chargetypeid,name,namecode)values(1,'现金','XJ')",
    "insert into xt_tablekey(tablename,maxkey)values('aa_chargetype',1)",
};

} // namespace

class EntryFormTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newReceipt();
    void wholeReceiptFromTheKeyboard();
    void payingPartyLookup();
    void lookupClosesOnClicksElsewhere();
    void lineAmounts_data();
    void lineAmounts();
    void codeTypedFreely();
    void hiddenColumnIsSkipped();
    void walkAndScansStopAtTheLastRow();
    void unknownBarcode();
    void clearingARow();
    void reloadingListsKeepsWhatIsShown();
    void checksShowTheCell_data();
    void checksShowTheCell();
    void negativeQuantity();
    void failedSaveRollsBackEverything();
    void failedSaveSaysWhy();
    void savedReceiptAndPreview();
    void previewWithoutAPrintStyle();
    void copyGrowsTheGrid();
    void copyOfAMissingReceipt();
    void numberShownAfterSavingWithAnEmptyBox();
    void inputLimits_data();
    void inputLimits();
    void longTextsAreStoredWithinTheirColumns();
    void lookupHeadings();
    void staysOpenAndKeepsItsReceipt();

private:
    // Seeds the master data, applies the statements and opens the main window on the form.
    void open(const QStringList &statements = {});
    QString cell(const QString &key, int row) const { return m_form->Bill->GridModel->field(key, row); }
    int column(const QString &key) const { return m_form->Bill->GridModel->gridLayout().columnOf(key); }
    // A receipt of one coded line, typed through the grid, ready to save.
    void typeSmallReceipt();

    std::unique_ptr<GuiFixture> m_fx;
    TForm_SS_Sale *m_form = nullptr;
    ReceiptEntryPanel *m_bill = nullptr;
};

void EntryFormTest::init() {
    Clock::setFixed(QDateTime(QDate(2024, 3, 5), QTime(9, 15)));
    m_fx = std::make_unique<GuiFixture>();
}

void EntryFormTest::cleanup() {
    m_fx.reset();
    m_form = nullptr;
    m_bill = nullptr;
}

void EntryFormTest::open(const QStringList &statements) {
    for (const char *statement : masterData)
        TestAppDir::exec(QString::fromUtf8(statement));
    for (const QString &statement : statements)
        TestAppDir::exec(statement);
    TForm_Main *main = m_fx->mainWindow();
    QApplication::setActiveWindow(main);
    QVERIFY(QTest::qWaitForWindowActive(main));
    m_form = qobject_cast<TForm_SS_Sale *>(main->activeChild());
    QVERIFY(m_form);
    m_bill = m_form->Bill;
    // The grid's model is checked through everything each test does to it.
    new QAbstractItemModelTester(m_bill->GridModel, QAbstractItemModelTester::FailureReportingMode::QtTest,
                                 m_form);
}

void EntryFormTest::typeSmallReceipt() {
    m_bill->BoxCompany->setFocus();
    type("甲公司");
    key(Qt::Key_Escape); // closes the lookup; Enter then walks on
    m_bill->GoToCell(1, 1);
    type("X1");
    key(Qt::Key_Escape);
    enter(); // 名称
    type("服务费");
    m_bill->GoToCell(column(GridKey::Quantity), 1);
    type("2");
    enter();
    type("3");
}

void EntryFormTest::newReceipt() {
    DefaultPrint = true;
    open({"insert into "
          "ss_sale(saleid,billdate,billcode,opname,companyname)values(1,'2024-03-01','0000041','x','y')"});
    QCOMPARE(m_bill->Label1->text(), QString("单据录入"));
    QCOMPARE(m_bill->DateTimePicker1->date(), QDate(2024, 3, 5));
    QCOMPARE(m_bill->Edit1->text(), QString("0000042"));
    QCOMPARE(m_bill->EditOP->text(), QString("管理员"));
    QVERIFY(m_bill->EditOP->isReadOnly());
    // The payee is the operator even though the operator is no payee of the list.
    QCOMPARE(m_bill->BoxSKR->currentText(), QString("管理员"));
    QCOMPARE(m_bill->BoxSKR->findText("管理员"), -1);
    QCOMPARE(m_bill->BoxSKR->findText("李芳"), 0);
    QCOMPARE(m_bill->BoxZG->currentText(), QString());
    QCOMPARE(m_bill->BoxUnit->count(), 2);
    QCOMPARE(m_bill->Edit3->text(), QString("0"));
    QCOMPARE(m_bill->Edit5->text(), QString("零圆整"));
    QVERIFY(m_form->CheckBox1->isChecked());
    QVERIFY(m_form->BitBtn1->isEnabled());
    QCOMPARE(m_form->BoxPrintStyle->currentText(), QString("收据"));
    QCOMPARE(focused(), m_bill->BoxCompany);
    QCOMPARE(m_bill->GridModel->lineCount(), 4);
    QCOMPARE(m_bill->GridModel->headerData(6, Qt::Horizontal).toString(), QString("单价"));
    QVERIFY(m_form->minimumSize().width() >= 835 && m_form->minimumSize().height() >= 500);
}

void EntryFormTest::wholeReceiptFromTheKeyboard() {
    open();
    // Header: the paying party from its lookup (by spell code), then the Enter walk.
    type("hzhp");
    QVERIFY(m_bill->CompanyDB->isVisible());
    QCOMPARE(m_bill->CompanyDB->recordCount(), 1);
    enter();
    QCOMPARE(m_bill->BoxCompany->currentText(), QString("杭州湖畔科技"));
    QCOMPARE(m_bill->Edit7->text(), QString("赵先生"));
    QCOMPARE(m_bill->Edit8->text(), QString("0571-88886666"));
    QCOMPARE(m_bill->Edit2->text(), QString("文一路1号"));
    QCOMPARE(focused(), m_bill->BoxZG);
    type("张明");
    enter();
    QCOMPARE(focused(), m_bill->BoxKJ);
    type("李芳");
    enter();
    enter(); // the payee stays the operator
    QCOMPARE(focused(), m_bill->BoxSKFS);
    type("转账");
    enter();
    type("三月份");
    enter();
    QCOMPARE(focused(), m_bill->BoxGoods);

    // Row 1: a goods item picked from the lookup with the arrows.
    type("g00");
    QCOMPARE(m_bill->GoodsDB->recordCount(), 2);
    key(Qt::Key_Down);
    enter();
    QCOMPARE(cell(GridKey::Code, 1), QString("G002"));
    QCOMPARE(cell(GridKey::Name, 1), QString("中性笔"));
    QCOMPARE(cell(GridKey::Model, 1), QString("0.5mm"));
    QCOMPARE(cell(GridKey::Unit, 1), QString("支"));
    QCOMPARE(cell(GridKey::Price, 1), QString("2.5"));
    QCOMPARE(cell(GridKey::Quantity, 1), QString("1"));
    QCOMPARE(cell(GridKey::Amount, 1), QString("2.5"));
    QVERIFY(m_bill->GoodsDB->isHidden());
    QCOMPARE(focused(), m_bill->InplaceEditor); // 名称
    enter();
    enter();
    QCOMPARE(focused(), m_bill->BoxUnit);
    enter();
    type("10"); // the quantity's text came selected
    QCOMPARE(cell(GridKey::Amount, 1), QString("25"));
    QCOMPARE(m_bill->Edit3->text(), QString("25"));
    enter();
    enter();
    enter();
    QCOMPARE(focused(), m_bill->BoxRemark);
    type("加急");
    enter();
    QCOMPARE(focused(), m_bill->BoxGoods);
    QCOMPARE(m_bill->CurrentRow, 2);

    // Row 2: a new code typed freely.
    type("X9");
    enter();
    QCOMPARE(cell(GridKey::Price, 2), QString("0"));
    QCOMPARE(cell(GridKey::Quantity, 2), QString("1"));
    type("上门维修");
    enter();
    enter();
    type("次");
    enter();
    type("2");
    enter();
    type("150.25");
    QCOMPARE(cell(GridKey::Amount, 2), QString("300.5"));
    enter();
    enter();
    enter();
    QCOMPARE(m_bill->CurrentRow, 3);

    // Row 3: a scanned barcode.
    m_bill->Edit6->setFocus();
    type("6901");
    enter();
    QCOMPARE(cell(GridKey::Code, 3), QString("G001"));
    QCOMPARE(cell(GridKey::Amount, 3), QString("25.5"));
    QCOMPARE(m_bill->CurrentRow, 4);
    QCOMPARE(focused(), m_bill->Edit6);
    QCOMPARE(m_bill->Edit6->text(), QString());
    QCOMPARE(m_bill->Edit3->text(), QString("351"));
    QCOMPARE(m_bill->Edit5->text(), QString("叁佰伍拾壹圆整"));

    // Alt+S saves, although the main menu "系统(&S)" has the same key.
    key(Qt::Key_S, Qt::AltModifier);
    QCOMPARE(m_fx->ui.texts(), QStringList());
    QVERIFY(!m_form->BitBtn1->isEnabled());
    QCOMPARE(m_form->SavedSaleId, 1);
    QCOMPARE(m_bill->Edit6->text(), QString());

    QCOMPARE(
        TestAppDir::rows("select saleid,billdate,billcode,opname,companyname,linkman,phone,adr,zgname,"
                         "kjname,skrname,skfsname,remark,totalamt,cnamt,f1,j1,y1,s1,b1,q1,w1,sw1,bw1,qw1 "
                         "from ss_sale"),
        QString("1|2024-03-05|0000001|管理员|杭州湖畔科技|赵先生|0571-88886666|文一路1号|张明|李芳|管理员|"
                "转账|三月份|351|叁佰伍拾壹圆整|0|0|1|5|3|||||"));
    QCOMPARE(
        TestAppDir::rows("select saleid,saledetailid,tablecode,name,goodsmodal,unit_name,qty,price,amt,"
                         "remark,f1,j1,y1,s1,b1,q1,w1,sw1,bw1,qw1 from ss_saledetail order by saledetailid"),
        QString("1|1|G002|中性笔|0.5mm|支|10|2.5|25|加急|0|0|5|2||||||;"
                "1|2|X9|上门维修||次|2|150.25|300.5||0|5|0|0|3|||||;"
                "1|3|G001|A4复印纸|70g|包|1|25.5|25.5||0|5|5|2||||||"));
    QCOMPARE(TestAppDir::rows("select companyid,tablecode,name from aa_company order by companyid"),
             QString("1|DW-00001|杭州湖畔科技;2|DW-00002|北京A'B公司"));
    QCOMPARE(
        TestAppDir::rows("select goodsid,tablecode,name,namecode,goodsmodal,unit_name,price from aa_goods "
                         "order by goodsid"),
        QString("1|G001|A4复印纸|AFYZ|70g|包|25.5;2|G002|中性笔|ZXB|0.5mm|支|2.5;"
                "3|X9|上门维修|SMWX||次|150.25"));
    QCOMPARE(TestAppDir::rows("select unitid,name,namecode from aa_unit order by unitid"),
             QString("1|包|B;2|支|Z;3|次|C"));
    QCOMPARE(TestAppDir::rows("select remarkid,name,namecode from aa_remark"), QString("1|加急|JJ"));
    QCOMPARE(TestAppDir::rows("select chargetypeid,name,namecode from aa_chargetype order by chargetypeid"),
             QString("1|现金|XJ;2|转账|ZZ"));
    QCOMPARE(TestAppDir::rows("select opname,opdate,opcontent,billcode,billid,logflag from xt_log"),
             QString("管理员|2024-03-05 09:15:00|【新增】单据|0000001|1|1"));
    QCOMPARE(TestAppDir::rows("select tablename,maxkey from xt_tablekey order by tablename"),
             QString("aa_chargetype|2;aa_company|2;aa_goods|3;aa_remark|1;aa_staff|3;aa_unit|3;ss_sale|1;"
                     "ss_saledetail|3;xt_log|1"));
}

void EntryFormTest::payingPartyLookup() {
    open();
    // Nothing typed yet: the drop-down button lists the first parties by code.
    m_bill->BoxCompany->showPopup();
    QVERIFY(m_bill->CompanyDB->isVisible());
    QCOMPARE(m_bill->CompanyDB->recordCount(), 2);
    QCOMPARE(m_bill->CompanyDB->pos(),
             m_bill->BoxCompany->mapTo(m_bill, QPoint(0, m_bill->BoxCompany->height() - 1)));
    m_bill->BoxCompany->showPopup();
    QVERIFY(m_bill->CompanyDB->isHidden());
    // Every change searches again; a quote is searched for as typed.
    type("A'");
    QVERIFY(m_bill->CompanyDB->isVisible());
    QCOMPARE(m_bill->CompanyDB->recordCount(), 1);
    key(Qt::Key_Backspace);
    key(Qt::Key_Backspace);
    QCOMPARE(m_bill->CompanyDB->recordCount(), 2);
    key(Qt::Key_Down);
    key(Qt::Key_Down); // stays on the last record
    QCOMPARE(m_bill->CompanyDB->value("name"), QString("北京A'B公司"));
    key(Qt::Key_Up);
    QCOMPARE(m_bill->CompanyDB->value("name"), QString("杭州湖畔科技"));
    QCOMPARE(m_bill->BoxCompany->currentText(), QString()); // the arrows were swallowed
    // A click on a record picks it; empty details overwrite what was typed.
    m_bill->Edit2->setText("旧地址");
    QTableWidget *grid = m_bill->CompanyDB;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(1, 1)).center());
    QCOMPARE(m_bill->BoxCompany->currentText(), QString("北京A'B公司"));
    QCOMPARE(m_bill->Edit7->text(), QString("钱女士"));
    QCOMPARE(m_bill->Edit2->text(), QString());
    QVERIFY(m_bill->CompanyDB->isHidden());
    QCOMPARE(focused(), m_bill->BoxZG);
    // A party that is not known: Enter keeps it and moves on to the supervisor.
    m_bill->BoxCompany->setFocus();
    retype("新客户");
    QCOMPARE(m_bill->CompanyDB->recordCount(), 0);
    enter();
    QCOMPARE(m_bill->BoxCompany->currentText(), QString("新客户"));
    QCOMPARE(m_bill->Edit7->text(), QString("钱女士"));
    QCOMPARE(focused(), m_bill->BoxZG);
    // Without the lookup, Enter goes to the contact.
    m_bill->BoxCompany->setFocus();
    enter();
    QCOMPARE(focused(), m_bill->Edit7);
}

void EntryFormTest::lookupClosesOnClicksElsewhere() {
    open();
    type("杭");
    QVERIFY(m_bill->CompanyDB->isVisible());
    // On the box that has the focus, and on the grid itself, a click leaves it open.
    QTest::mouseClick(m_bill->BoxCompany->lineEdit(), Qt::LeftButton);
    QVERIFY(m_bill->CompanyDB->isVisible());
    QTest::mousePress(m_bill->CompanyDB->viewport(), Qt::RightButton, {}, QPoint(2, 2));
    QVERIFY(m_bill->CompanyDB->isVisible());
    // Anywhere else, any of the three buttons closes it.
    QTest::mousePress(m_bill->Edit9, Qt::MiddleButton);
    QVERIFY(m_bill->CompanyDB->isHidden());

    // The same for the goods lookup and its box.
    m_bill->GoToCell(1, 2);
    type("G");
    QVERIFY(m_bill->GoodsDB->isVisible());
    // Placed under the cell when there is room below it.
    const QRect code = m_bill->StringGrid1->visualRect(m_bill->GridModel->index(1, 1));
    QCOMPARE(m_bill->GoodsDB->pos(),
             m_bill->StringGrid1->viewport()->mapTo(m_bill, code.topLeft()) + QPoint(0, 22));
    QTest::mouseClick(m_bill->BoxGoods->lineEdit(), Qt::LeftButton);
    QVERIFY(m_bill->GoodsDB->isVisible());
    QTest::mouseClick(m_form->BitBtn4, Qt::RightButton);
    QVERIFY(m_bill->GoodsDB->isHidden());
}

void EntryFormTest::lineAmounts_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("typedAmount");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("total");
    QTest::newRow("quantity not a number counts as 0") << "X1"
                                                       << "abc"
                                                       << "12.5"
                                                       << ""
                                                       << "0"
                                                       << "0";
    QTest::newRow("signs per operand") << "X1"
                                       << "-2"
                                       << "-3"
                                       << ""
                                       << "6"
                                       << "6";
    QTest::newRow("no rounding") << "X1"
                                 << "3"
                                 << "1.333"
                                 << ""
                                 << "3.999"
                                 << "3.999";
    QTest::newRow("typed amount is replaced") << "X1"
                                              << "2"
                                              << "3"
                                              << "99"
                                              << "6"
                                              << "6";
    QTest::newRow("no code: not computed, not counted") << ""
                                                        << "2"
                                                        << "3"
                                                        << "99"
                                                        << "99"
                                                        << "0";
}

void EntryFormTest::lineAmounts() {
    QFETCH(QString, code);
    QFETCH(QString, quantity);
    QFETCH(QString, price);
    QFETCH(QString, typedAmount);
    QFETCH(QString, amount);
    QFETCH(QString, total);
    open();
    m_bill->GoToCell(1, 1);
    type(code);
    key(Qt::Key_Escape);
    m_bill->GoToCell(column(GridKey::Quantity), 1);
    retype(quantity);
    key(Qt::Key_Tab);
    retype(price);
    if (!typedAmount.isEmpty()) {
        key(Qt::Key_Tab);
        retype(typedAmount);
        QCOMPARE(focused(), m_bill->InplaceEditor);
        QCOMPARE(m_bill->InplaceEditor->text(), amount); // the editor shows what the cell holds
    }
    QCOMPARE(cell(GridKey::Amount, 1), amount);
    QCOMPARE(m_bill->Edit3->text(), total);
}

void EntryFormTest::codeTypedFreely() {
    open();
    m_bill->GoToCell(1, 1);
    type("NEW");
    QCOMPARE(cell(GridKey::Code, 1), QString("NEW"));
    QCOMPARE(m_bill->GoodsDB->recordCount(), 0);
    // Leaving the box by the mouse also fills what a line needs.
    QTest::mouseClick(m_bill->Edit9, Qt::LeftButton);
    QCOMPARE(cell(GridKey::Price, 1), QString("0"));
    QCOMPARE(cell(GridKey::Quantity, 1), QString("1"));
    QCOMPARE(cell(GridKey::Amount, 1), QString("0"));
    // A price typed before a lookup pick is replaced by the goods item's, the quantity with 1.
    m_bill->GoToCell(1, 2);
    m_bill->GridModel->setField(GridKey::Quantity, 2, "7");
    type("笔");
    enter();
    QCOMPARE(cell(GridKey::Code, 2) + u'|' + cell(GridKey::Quantity, 2) + u'|' + cell(GridKey::Amount, 2),
             QString("G002|1|2.5"));
    QCOMPARE(m_bill->Edit3->text(), QString("2.5"));
}

void EntryFormTest::hiddenColumnIsSkipped() {
    open({"update g_config set colwidth=-1 where defaultcaption='规格型号'",
          "update g_config set colcaption='售价' where defaultcaption='单价'"});
    QVERIFY(m_bill->StringGrid1->isColumnHidden(3));
    QCOMPARE(m_bill->GridModel->headerData(6, Qt::Horizontal).toString(), QString("售价"));
    m_bill->GoToCell(column(GridKey::Name), 1);
    enter();
    QCOMPARE(m_bill->CurrentCol, column(GridKey::Unit));
    QCOMPARE(focused(), m_bill->BoxUnit);
    // Shift+Tab skips it as well.
    key(Qt::Key_Backtab);
    QCOMPARE(m_bill->CurrentCol, column(GridKey::Name));
}

void EntryFormTest::walkAndScansStopAtTheLastRow() {
    open();
    m_bill->GoToCell(ReceiptGridLayout::LastColumn, 4);
    enter();
    QCOMPARE(m_bill->CurrentRow, 4);
    QCOMPARE(m_bill->CurrentCol, ReceiptGridLayout::LastColumn);
    // Scans with the last row current fill that row each time.
    m_bill->GoToCell(1, 4);
    m_bill->Edit6->setFocus();
    type("6901");
    enter();
    type("6902");
    enter();
    QCOMPARE(cell(GridKey::Code, 4), QString("G002"));
    QCOMPARE(cell(GridKey::Code, 3), QString());
    QCOMPARE(m_bill->Edit3->text(), QString("2.5"));
    // Tab from the last cell leaves the grid for the barcode box.
    m_bill->GoToCell(ReceiptGridLayout::LastColumn, 4);
    key(Qt::Key_Tab);
    QCOMPARE(focused(), m_bill->Edit6);
}

void EntryFormTest::unknownBarcode() {
    open();
    m_bill->Edit6->setFocus();
    type("0000");
    enter();
    QCOMPARE(m_fx->ui.texts(), QStringList{"该条码的商品不存在，请在商品目录增加！"});
    QCOMPARE(m_bill->GridModel->lines().first().code, QString());
    QCOMPARE(m_bill->Edit6->text(), QString());
    QCOMPARE(focused(), m_bill->Edit6);
}

void EntryFormTest::clearingARow() {
    open();
    m_bill->Edit6->setFocus();
    type("6901");
    enter();
    type("6902");
    enter();
    m_bill->GoToCell(column(GridKey::Unit), 1);
    QCOMPARE(m_bill->BoxUnit->currentText(), QString("包"));
    QCOMPARE(m_bill->Edit3->text(), QString("28"));
    m_bill->N4->trigger();
    QCOMPARE(m_bill->GridModel->line(1).code + m_bill->GridModel->line(1).unit +
                 m_bill->GridModel->line(1).amount,
             QString());
    QCOMPARE(m_bill->BoxUnit->currentText(), QString());
    QCOMPARE(m_bill->Edit3->text(), QString("2.5"));
    QCOMPARE(m_bill->Edit5->text(), QString("贰圆伍角"));
}

void EntryFormTest::reloadingListsKeepsWhatIsShown() {
    open();
    m_bill->BoxZG->setEditText("临时主管");
    m_bill->GoToCell(column(GridKey::Unit), 2);
    type("盒");
    TestAppDir::exec("insert into aa_unit(unitid,name,namecode)values(3,'箱','X')");
    TestAppDir::exec("update pr_printcfg set defaultstyle=0");
    TestAppDir::exec("insert into pr_printcfg(stylename,defaultstyle)values('新样式',-1)");
    QTest::mouseClick(m_form->SpeedButton1, Qt::LeftButton);
    QCOMPARE(m_bill->BoxUnit->count(), 3);
    QCOMPARE(m_bill->BoxUnit->currentText(), QString("盒"));
    QCOMPARE(cell(GridKey::Unit, 2), QString("盒"));
    QCOMPARE(cell(GridKey::Unit, 1), QString());
    QCOMPARE(m_bill->BoxZG->currentText(), QString("临时主管"));
    QCOMPARE(m_form->BoxPrintStyle->currentText(), QString("新样式"));
}

void EntryFormTest::checksShowTheCell_data() {
    QTest::addColumn<QString>("emptied");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("field");
    QTest::newRow("price") << "单价"
                           << "第2行，售价不能为空！"
                           << "单价";
    QTest::newRow("quantity") << "数量"
                              << "第2行，数量不能为空！"
                              << "数量";
    QTest::newRow("paying party") << ""
                                  << "交款单位不能为空！"
                                  << "";
}

void EntryFormTest::checksShowTheCell() {
    QFETCH(QString, emptied);
    QFETCH(QString, message);
    QFETCH(QString, field);
    open({"update g_config set colcaption='售价' where defaultcaption='单价'"});
    typeSmallReceipt();
    m_bill->GoToCell(1, 2);
    type("X2");
    key(Qt::Key_Escape);
    m_bill->GoToCell(column(GridKey::Remark), 2); // leaving the code box fills price and quantity
    if (emptied.isEmpty())
        m_bill->BoxCompany->setEditText(QString());
    else
        m_bill->GridModel->setField(emptied, 2, QString());
    const QString before = StoredReceiptData();
    m_form->BitBtn1->click();
    QCOMPARE(m_fx->ui.texts(), QStringList{message});
    QCOMPARE(StoredReceiptData(), before);
    if (field.isEmpty()) {
        QCOMPARE(focused(), m_bill->BoxCompany);
    } else {
        QCOMPARE(m_bill->CurrentRow, 2);
        QCOMPARE(m_bill->CurrentCol, column(field));
        QCOMPARE(focused(), m_bill->InplaceEditor);
    }
}

void EntryFormTest::negativeQuantity() {
    open();
    typeSmallReceipt();
    m_bill->GoToCell(column(GridKey::Quantity), 1);
    retype("-1");
    m_form->BitBtn1->click();
    QCOMPARE(m_fx->ui.texts(), QStringList{"第1行，数量不能为负！"});
    QCOMPARE(TestAppDir::value("select count(*) from ss_sale"), QString("0"));
    AllowNegative = true;
    m_form->BitBtn1->click();
    QCOMPARE(m_fx->ui.texts().size(), 1);
    QCOMPARE(TestAppDir::rows("select totalamt,cnamt,s1,y1,j1,f1 from ss_sale"),
             QString("-3|负叁圆整|-|3|0|0"));
}

void EntryFormTest::failedSaveRollsBackEverything() {
    open();
    typeSmallReceipt();
    m_bill->Edit1->clear(); // the number would come from the rule, inside the transaction
    ShareDM1->ShareConn.executeNative(
        "create trigger refuse before insert on aa_goods begin select raise(abort,'refused'); end");
    const QString before = StoredReceiptData();
    m_form->BitBtn1->click();
    QCOMPARE(m_fx->ui.texts(), QStringList{"保存新增失败！\r\n原因：数据不符合数据库的约束条件：refused"});
    QCOMPARE(StoredReceiptData(), before);
    QVERIFY(m_form->BitBtn1->isEnabled());
    QCOMPARE(m_form->SavedSaleId, 0);
    // The same receipt saves once the fault is gone.
    ShareDM1->ShareConn.executeNative("drop trigger refuse");
    m_form->BitBtn1->click();
    QCOMPARE(m_fx->ui.texts().size(), 1);
    QCOMPARE(TestAppDir::rows("select saleid,billcode,totalamt from ss_sale"), QString("1|0000001|6"));
    QCOMPARE(TestAppDir::rows("select name from aa_company order by companyid"),
             QString("杭州湖畔科技;北京A'B公司;甲公司"));
}

// The database file stops taking changes after start-up (opened read-only here: the tests
// run as root, for whom a file's write permission changes nothing).
void EntryFormTest::failedSaveSaysWhy() {
    open();
    ShareDM1->ShareConn.setConnectionString(ConnString + ";Mode=Read");
    ShareDM1->ShareConn.open();
    typeSmallReceipt();
    const QString before = StoredReceiptData();
    m_form->BitBtn1->click();
    QCOMPARE(
        m_fx->ui.texts(),
        QStringList{
            "保存新增失败！\r\n原因：数据库文件是只读的，不能写入（请检查文件的只读属性和所在文件夹的写入"
            "权限）。"});
    QCOMPARE(StoredReceiptData(), before);
    QVERIFY(m_form->BitBtn1->isEnabled());
}

void EntryFormTest::savedReceiptAndPreview() {
    QTemporaryDir pdfs;
    PdfPrintOutput output(pdfs.path());
    open();
    ReceiptSamples::installStyleFile();
    m_form->BitBtn2->click();
    QCOMPARE(m_fx->ui.texts(), QStringList{"请先保存新增后再打印预览！"});
    typeSmallReceipt();
    m_form->CheckBox1->setChecked(true);
    m_form->BitBtn1->click();
    QCOMPARE(m_fx->ui.texts().size(), 1);
    QVERIFY(!m_form->BitBtn1->isEnabled());
    // Ticked: the saved receipt is previewed at once, and the print is counted.
    QCOMPARE(output.calls().size(), 1);
    QCOMPARE(output.calls()[0].kind, QString("preview"));
    QCOMPARE(PdfPrintOutput::field(output.calls()[0], "frxDBDataset1", "单据编号"), QString("0000001"));
    // What prints is the stored receipt, not what the grid shows after the save.
    m_bill->GoToCell(column(GridKey::Quantity), 1);
    retype("5");
    m_form->BitBtn2->click();
    QCOMPARE(output.calls().size(), 2);
    QCOMPARE(PdfPrintOutput::field(output.calls()[1], "frxDBDataset1", "总金额"), QString("6"));
    QCOMPARE(TestAppDir::value("select printqty from ss_sale"), QString("2"));
    // "新单(&N)" starts the next receipt.
    key(Qt::Key_N, Qt::AltModifier);
    QVERIFY(m_form->BitBtn1->isEnabled());
    QCOMPARE(m_form->SavedSaleId, 0);
    QCOMPARE(m_bill->Edit1->text(), QString("0000002"));
    QCOMPARE(m_bill->GridModel->lines().first().code, QString());
    QCOMPARE(m_bill->BoxCompany->currentText(), QString());
}

void EntryFormTest::previewWithoutAPrintStyle() {
    open({"delete from pr_printcfg"});
    QCOMPARE(m_form->BoxPrintStyle->count(), 0);
    QCOMPARE(m_form->BoxPrintStyle->currentIndex(), -1);
    typeSmallReceipt();
    m_form->BitBtn1->click();
    m_form->BitBtn2->click();
    QCOMPARE(m_fx->ui.texts(), QStringList{"没有可用的打印样式，请先在工具->打印配置中增加打印样式！"});
    QCOMPARE(TestAppDir::value("select printqty from ss_sale"), QString("0"));
}

void EntryFormTest::copyGrowsTheGrid() {
    QStringList statements{
        "insert into ss_sale(saleid,billdate,billcode,opname,companyname,linkman,zgname,"
        "skrname,skfsname,remark,totalamt)values(8,'2023-12-30','SK8','李芳','乙公司','孙',"
        "'张明','李芳','现金','原备注',21)"};
    for (int i = 1; i <= 6; ++i)
        statements << QStringLiteral(
                          "insert into ss_saledetail(saledetailid,saleid,tablecode,name,unit_name,qty,"
                          "price,amt)values(%1,8,'C%2','品%2','个',1,%2,%2)")
                          .arg(20 - i)
                          .arg(i);
    open(statements);
    typeSmallReceipt();
    CopySaleId = 8;
    CopyReceiptToEntry();
    QCOMPARE(m_bill->DateTimePicker1->date(), QDate(2023, 12, 30));
    QCOMPARE(m_bill->Edit1->text() + u'|' + m_bill->EditOP->text() + u'|' +
                 m_bill->BoxCompany->currentText() + u'|' + m_bill->Edit7->text() + u'|' +
                 m_bill->Edit8->text() + u'|' + m_bill->BoxZG->currentText() + u'|' +
                 m_bill->BoxKJ->currentText() + u'|' + m_bill->BoxSKR->currentText() + u'|' +
                 m_bill->BoxSKFS->currentText() + u'|' + m_bill->Edit9->text(),
             QString("SK8|李芳|乙公司|孙||张明||李芳|现金|原备注"));
    // Six lines on a grid of four rows: the grid grows for this receipt, nothing is lost.
    QCOMPARE(m_bill->GridModel->lineCount(), 6);
    QCOMPARE(cell(GridKey::Code, 1), QString("C6")); // in key order
    QCOMPARE(cell(GridKey::Code, 6), QString("C1"));
    QCOMPARE(m_bill->Edit3->text(), QString("21"));
    QCOMPARE(focused(), m_bill->BoxCompany);
    QVERIFY(m_form->BitBtn1->isEnabled());
    m_form->BitBtn1->click();
    QCOMPARE(m_fx->ui.texts(), QStringList());
    QCOMPARE(TestAppDir::rows("select billcode,billdate,opname from ss_sale where saleid<>8"),
             QString("SK8|2023-12-30|管理员"));
    QCOMPARE(TestAppDir::value("select count(*) from ss_saledetail where saleid<>8"), QString("6"));
    // The next receipt has the configured rows again.
    m_form->BitBtn4->click();
    QCOMPARE(m_bill->GridModel->lineCount(), 4);
}

void EntryFormTest::copyOfAMissingReceipt() {
    open();
    typeSmallReceipt();
    CopySaleId = 99;
    m_form->N1->trigger();
    QCOMPARE(m_fx->ui.texts(), QStringList{"要复制的单据不存在！"});
    // A new receipt, not a receipt of empty fields.
    QCOMPARE(m_bill->DateTimePicker1->date(), QDate(2024, 3, 5));
    QCOMPARE(m_bill->Edit1->text(), QString("0000001"));
    QCOMPARE(m_bill->BoxCompany->currentText(), QString());
}

void EntryFormTest::staysOpenAndKeepsItsReceipt() {
    open();
    typeSmallReceipt();
    key(Qt::Key_Escape);
    QTest::keyClick(m_form, Qt::Key_Escape);
    TForm_Main *main = m_fx->mainWindow();
    main->closeActiveChild();
    QCOMPARE(main->activeChild(), m_form);
    QVERIFY(m_form->isVisible());
    // Shown again after another tab: the receipt typed is still there.
    m_form->hide();
    m_form->show();
    QCOMPARE(cell(GridKey::Code, 1), QString("X1"));
    QCOMPARE(m_bill->BoxCompany->currentText(), QString("甲公司"));
}

void EntryFormTest::numberShownAfterSavingWithAnEmptyBox() {
    open({"insert into "
          "ss_sale(saleid,billdate,billcode,opname,companyname)values(1,'2024-03-01','0000041','x','y')",
          "insert into xt_tablekey(tablename,maxkey)values('ss_sale',1)"});
    typeSmallReceipt();
    m_bill->Edit1->clear();
    m_form->BitBtn1->click();
    QCOMPARE(m_fx->ui.texts(), QStringList());
    QCOMPARE(TestAppDir::value("select billcode from ss_sale where saleid=2"), QString("0000042"));
    QCOMPARE(m_bill->Edit1->text(), QString("0000042"));
    QCOMPARE(m_form->SavedBillCode, QString("0000042"));
}

void EntryFormTest::inputLimits_data() {
    // A header box, or the key of a grid column (not the amount: it is computed, not typed).
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("limit");
    const struct {
        const char *box;
        int limit;
    } rows[] = {{"Edit1", 255}, {"BoxCompany", 255}, {"Edit7", 50},   {"Edit8", 100},    {"Edit2", 100},
                {"BoxZG", 255}, {"BoxKJ", 255},      {"BoxSKR", 255}, {"BoxSKFS", 50},   {"Edit9", 200},
                {"Edit6", 50},  {"编号", 255},       {"名称", 255},   {"规格型号", 255}, {"单位", 255},
                {"数量", 255},  {"单价", 255},       {"备注", 255}};
    for (const auto &row : rows)
        QTest::newRow(row.box) << QString::fromUtf8(row.box) << row.limit;
}

void EntryFormTest::inputLimits() {
    QFETCH(QString, box);
    QFETCH(int, limit);
    open();
    const bool inGrid = box.front().unicode() > 0x7f;
    if (inGrid) {
        // A coded row, so that every cell of it is a line field.
        m_bill->GoToCell(1, 1);
        type("X1");
        key(Qt::Key_Escape);
        m_bill->GoToCell(column(box), 1);
    } else {
        m_fx->find<QWidget>(m_form, box)->setFocus();
    }
    // Pasted, as a long text usually arrives.
    auto *edit = qobject_cast<QLineEdit *>(focused());
    if (auto *combo = qobject_cast<QComboBox *>(focused()))
        edit = combo->lineEdit();
    QVERIFY(edit);
    edit->selectAll();
    edit->insert(QString(10000, u'长'));
    QCOMPARE(edit->text().size(), limit);
    if (inGrid)
        QCOMPARE(cell(box, 1).size(), limit);
}

void EntryFormTest::longTextsAreStoredWithinTheirColumns() {
    open();
    typeSmallReceipt();
    m_bill->BoxCompany->setFocus();
    m_bill->BoxCompany->lineEdit()->selectAll();
    m_bill->BoxCompany->lineEdit()->insert(QString(10000, u'甲'));
    key(Qt::Key_Escape);
    m_bill->GoToCell(column(GridKey::Remark), 1);
    m_bill->BoxRemark->lineEdit()->insert(QString(1800, u'备'));
    m_form->BitBtn1->click();
    QCOMPARE(m_fx->ui.texts(), QStringList());
    QCOMPARE(TestAppDir::value("select len(companyname) from ss_sale"), QString("255"));
    QCOMPARE(TestAppDir::value("select len(name) from aa_company where companyid=3"), QString("255"));
    QCOMPARE(TestAppDir::value("select len(remark) from ss_saledetail"), QString("255"));
    QCOMPARE(TestAppDir::value("select len(name) from aa_remark"), QString("255"));
}

void EntryFormTest::lookupHeadings() {
    // The grid's columns renamed by the user: the goods lookup follows their captions.
    open({"update g_config set colcaption='货品编码' where defaultcaption='编号'",
          "update g_config set colcaption='规格及型号说明' where defaultcaption='规格型号'"});
    const auto headings = [](QTableWidget *grid) {
        QStringList texts;
        for (int i = 0; i < grid->columnCount(); ++i) {
            texts << grid->horizontalHeaderItem(i)->text();
            // Each heading fits its column.
            const int needed = grid->horizontalHeader()->fontMetrics().horizontalAdvance(texts.last());
            if (grid->columnWidth(i) < needed)
                QTest::qFail(qPrintable(texts.last() + QStringLiteral(" does not fit its column")), __FILE__,
                             __LINE__);
        }
        return texts;
    };
    QCOMPARE(headings(m_bill->CompanyDB), (QStringList{"编号", "名称", "助记码"}));
    QCOMPARE(headings(m_bill->GoodsDB), (QStringList{"货品编码", "名称", "规格及型号说明", "单位", "单价"}));
    // The grid is as wide as its columns, so that nothing is cut.
    int columns = 0;
    for (int i = 0; i < m_bill->GoodsDB->columnCount(); ++i)
        columns += m_bill->GoodsDB->columnWidth(i);
    QVERIFY(m_bill->GoodsDB->width() >= columns);
}

QTEST_MAIN(EntryFormTest)
#include "EntryFormTest.moc"
