// The receipt edit window driven through its real widgets, modal as its callers open it; then
// what reached the database and what the user was told.
#include "GuiFixture.h"
#include "StoredReceiptData.h"

#include "data/Clock.h"
#include "data/Globals.h"
#include "data/Sharedm2.h"
#include "receipts/ReceiptEdit.h"
#include "receipts/ReceiptEntryPanel.h"
#include "receipts/ReceiptGridLayout.h"
#include "receipts/ReceiptGridModel.h"
#include "receipts/ReceiptLoad.h"
#include "receipts/Ss_edit1.h"
#include "ui/LookupComboBox.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QWidget *focused() {
    return QApplication::focusWidget();
}

void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(focused(), k, modifiers);
}

// Empties the focused box or cell from the keyboard, then types the text.
void retype(const QString &text) {
    key(Qt::Key_A, Qt::ControlModifier);
    key(Qt::Key_Delete);
    GuiFixture::type(focused(), text);
}

// Receipt 7, printed twice, with a stored total that its lines do not give (the save computes
// it again) and three lines whose keys run backwards; its goods, unit and payment method known.
const char *const storedReceipt[] = {
    "insert into ss_sale(saleid,billdate,billcode,opname,companyname,linkman,phone,zgname,skrname,"
    "skfsname,remark,totalamt,cnamt,f1,y1,printqty)values(7,'2024-02-10','0000007','李芳','甲公司','孙',"
    "'0571-1','张明','李芳','现金','原备注',999,'玖佰玖拾玖圆整','9','9',2)",
    "insert into ss_saledetail(saledetailid,saleid,tablecode,name,goodsmodal,unit_name,qty,price,amt,remark)"
    "values(30,7,'G001','A4复印纸','70g','包',2,25.5,51,'')",
    "insert into ss_saledetail(saledetailid,saleid,tablecode,name,goodsmodal,unit_name,qty,price,amt,remark)"
    "values(20,7,'G002','中性笔','0.5mm','支',10,2.5,25,'')",
    "insert into ss_saledetail(saledetailid,saleid,tablecode,name,goodsmodal,unit_name,qty,price,amt,remark)"
    "values(10,7,'G001','A4复印纸','70g','包',1,25.5,25.5,'加急')",
    "insert into xt_tablekey(tablename,maxkey)values('ss_sale',7)",
    "insert into xt_tablekey(tablename,maxkey)values('ss_saledetail',30)",
    "insert into aa_goods(goodsid,tablecode,name,namecode,goodsmodal,unit_name,price)"
    "values(1,'G001','A4复印纸','AFYZ','70g','包',25.5)",
    "insert into aa_goods(goodsid,tablecode,name,namecode,goodsmodal,unit_name,price)"
    "values(2,'G002','中性笔','ZXB','0.5mm','支',2.5)",
    "insert into xt_tablekey(tablename,maxkey)values('aa_goods',2)",
    "insert into "
    "aa_company(companyid,tablecode,name,namecode,linkman)values(1,'DW-00001','甲公司','JGS','孙')",
    "insert into xt_tablekey(tablename,maxkey)values('aa_company',1)",
    "insert into aa_unit(unitid,name,namecode)values(1,'包','B')",
    "insert into aa_unit(unitid,name,namecode)values(2,'支','Z')",
    "insert into xt_tablekey(tablename,maxkey)values('aa_unit',2)",
    "insert into aa_remark(remarkid,name,namecode)values(1,'加急','JJ')",
    "insert into xt_tablekey(tablename,maxkey)values('aa_remark',1)",
    "insert into aa_chargetype(chargetypeid,name,namecode)values(1,'现金','XJ')",
    "insert into xt_tablekey(tablename,maxkey)values('aa_chargetype',1)",
};

} // namespace

class EditFormTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensWithTheStoredReceipt();
    void unchangedSaveRewritesTotalsAndLines();
    void changedHeaderFields();
    void checksBeforeSaving();
    void failedSaveChangesNothing();
    void longReceiptKeepsAllLines();
    void cancelAndEscSaveNothing();
    void missingReceipt();

private:
    // Opens receipt 7 modally and runs handler on the shown window; returns what exec() gave.
    int edit(const std::function<void(TForm_SS_Edit1 *)> &handler);
    static QString header(const char *columns) {
        return TestAppDir::rows(
            QStringLiteral("select %1 from ss_sale where saleid=7").arg(QLatin1String(columns)));
    }

    std::unique_ptr<GuiFixture> m_fx;
};

void EditFormTest::init() {
    Clock::setFixed(QDateTime(QDate(2024, 3, 5), QTime(9, 15)));
    m_fx = std::make_unique<GuiFixture>();
    RowCount = 5; // four line rows
    AmountFormula = QStringLiteral("数量*单价");
    for (const char *statement : storedReceipt)
        TestAppDir::exec(QString::fromUtf8(statement));
}

void EditFormTest::cleanup() {
    m_fx.reset();
}

int EditFormTest::edit(const std::function<void(TForm_SS_Edit1 *)> &handler) {
    TForm_SS_Edit1 form;
    if (!form.loadReceipt(7)) {
        QTest::qFail("receipt 7 did not load", __FILE__, __LINE__);
        return -1;
    }
    m_fx->onNextModal([&](QDialog *dialog) {
        auto *shown = qobject_cast<TForm_SS_Edit1 *>(dialog);
        QVERIFY(shown == &form);
        QApplication::setActiveWindow(dialog);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        handler(shown);
    });
    const int result = form.exec();
    m_fx->expectModalHandled();
    return result;
}

void EditFormTest::opensWithTheStoredReceipt() {
    edit([](TForm_SS_Edit1 *form) {
        QCOMPARE(form->windowTitle(), QString("单据修改"));
        QVERIFY(form->isModal());
        QVERIFY(form->windowState() & Qt::WindowMaximized);
        QVERIFY(form->minimumWidth() >= 835 && form->minimumHeight() >= 500);
        ReceiptEntryPanel *bill = GuiFixture::find<ReceiptEntryPanel>(form, "ReceiptEntryPanel");
        QVERIFY(bill);
        QCOMPARE(GuiFixture::find<QLabel>(bill, "Label1")->text(), QString("单据修改"));
        QCOMPARE(GuiFixture::find<QPushButton>(form, "BitBtn1")->text(), QString("保存修改(&S)"));
        QCOMPARE(GuiFixture::find<QPushButton>(form, "BitBtn2")->text(), QString("取消(&C)"));
        // The entry window's own controls are not here.
        QVERIFY(!GuiFixture::find<QWidget>(form, "BoxPrintStyle"));
        QVERIFY(!GuiFixture::find<QWidget>(form, "BitBtn4"));
        QCOMPARE(GuiFixture::find<QDateEdit>(bill, "DateTimePicker1")->date(), QDate(2024, 2, 10));
        QCOMPARE(GuiFixture::find<QLineEdit>(bill, "Edit1")->text(), QString("0000007"));
        QCOMPARE(GuiFixture::find<QLineEdit>(bill, "EditOP")->text(), QString("李芳"));
        QCOMPARE(GuiFixture::find<QComboBox>(bill, "BoxCompany")->currentText(), QString("甲公司"));
        QCOMPARE(GuiFixture::find<QComboBox>(bill, "BoxSKFS")->currentText(), QString("现金"));
        QCOMPARE(GuiFixture::find<QLineEdit>(bill, "Edit2")->text(), QString()); // absent address
        // Lines in key order; the total from the lines, not the stored 999.
        QCOMPARE(bill->GridModel->field(GridKey::Code, 1) + bill->GridModel->field(GridKey::Remark, 1),
                 QString("G001加急"));
        QCOMPARE(bill->GridModel->field(GridKey::Code, 3), QString("G001"));
        QCOMPARE(GuiFixture::find<QLineEdit>(bill, "Edit3")->text(), QString("101.5"));
        QCOMPARE(GuiFixture::find<QLineEdit>(bill, "Edit5")->text(), QString("壹佰零壹圆伍角"));
        QCOMPARE(focused(), bill->BoxCompany);
        form->reject();
    });
}

void EditFormTest::unchangedSaveRewritesTotalsAndLines() {
    const int result =
        edit([](TForm_SS_Edit1 *form) { GuiFixture::find<QPushButton>(form, "BitBtn1")->click(); });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(m_fx->ui.texts(), QStringList());
    // Totals and digits recomputed; everything else as it was, operator and print count too.
    QCOMPARE(header("billdate,billcode,opname,companyname,linkman,phone,adr,zgname,kjname,skrname,skfsname,"
                    "remark,printqty"),
             QString("2024-02-10|0000007|李芳|甲公司|孙|0571-1||张明||李芳|现金|原备注|2"));
    QCOMPARE(header("totalamt,cnamt,f1,j1,y1,s1,b1,q1,w1,sw1,bw1,qw1"),
             QString("101.5|壹佰零壹圆伍角|0|5|1|0|1|||||"));
    // The lines again in their order, under new keys.
    QCOMPARE(TestAppDir::rows("select saledetailid,tablecode,qty,amt,remark,y1,s1 from ss_saledetail "
                              "where saleid=7 order by saledetailid"),
             QString("31|G001|1|25.5|加急|5|2;32|G002|10|25||5|2;33|G001|2|51||1|5"));
    QCOMPARE(TestAppDir::rows("select opname,opcontent,billcode,billid,logflag from xt_log"),
             QString("管理员|【修改】单据|0000007|7|1"));
}

void EditFormTest::changedHeaderFields() {
    const int result = edit([](TForm_SS_Edit1 *form) {
        ReceiptEntryPanel *bill = form->Bill;
        // A paying party not yet known, with a new contact.
        bill->BoxCompany->setFocus();
        retype("丙公司");
        key(Qt::Key_Escape); // the lookup found nothing to pick
        GuiFixture::find<QLineEdit>(bill, "Edit7")->setFocus();
        retype("周");
        // The payee and the payment method cleared.
        GuiFixture::find<QComboBox>(bill, "BoxSKR")->setFocus();
        retype(QString());
        GuiFixture::find<QComboBox>(bill, "BoxSKFS")->setFocus();
        retype(QString());
        GuiFixture::find<QLineEdit>(bill, "Edit1")->setFocus();
        retype("NO'7");
        GuiFixture::find<QDateEdit>(bill, "DateTimePicker1")->setDate(QDate(2024, 2, 11));
        GuiFixture::find<QPushButton>(form, "BitBtn1")->click();
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(m_fx->ui.texts(), QStringList());
    QCOMPARE(header("billdate,billcode,companyname,linkman,skrname,skfsname,opname"),
             QString("2024-02-11|NO'7|丙公司|周|||李芳"));
    QCOMPARE(TestAppDir::value("select count(*) from ss_sale where skrname='' and skfsname=''"),
             QString("1"));
    // The new party is added with a rule-2 code and the contact shown; no payment method is added.
    QCOMPARE(TestAppDir::rows("select companyid,name,linkman,phone from aa_company where name='丙公司'"),
             QString("2|丙公司|周|0571-1"));
    QVERIFY(!TestAppDir::value("select tablecode from aa_company where companyid=2").isEmpty());
    QCOMPARE(TestAppDir::value("select count(*) from aa_chargetype"), QString("1"));
    QCOMPARE(TestAppDir::rows("select billcode from xt_log"), QString("NO'7"));
}

void EditFormTest::checksBeforeSaving() {
    const QString before = StoredReceiptData();
    edit([this](TForm_SS_Edit1 *form) {
        auto *number = GuiFixture::find<QLineEdit>(form, "Edit1");
        number->clear();
        form->BitBtn1->click();
        QCOMPARE(m_fx->ui.texts(), QStringList{"单据编号不能为空！"});
        QCOMPARE(focused(), number);
        // The entry window's checks follow, with their messages.
        number->setText(QStringLiteral("0000007"));
        form->Bill->GoToCell(form->Bill->GridModel->gridLayout().columnOf(GridKey::Price), 2);
        retype(QString());
        form->BitBtn1->click();
        QCOMPARE(m_fx->ui.texts().value(1), QString("第2行，单价不能为空！"));
        QVERIFY(form->isVisible());
        form->reject();
    });
    QCOMPARE(StoredReceiptData(), before);
}

void EditFormTest::failedSaveChangesNothing() {
    // The lines' insert fails, after the update of the header, the deletion of the lines and
    // the new paying party have run.
    ShareDM1->ShareConn.executeNative(
        "create trigger refuse before insert on ss_saledetail begin select raise(abort,'refused'); end");
    const QString before = StoredReceiptData();
    const int result = edit([this, &before](TForm_SS_Edit1 *form) {
        form->Bill->BoxCompany->setFocus();
        retype("丁公司");
        key(Qt::Key_Escape);
        form->BitBtn1->click();
        QCOMPARE(m_fx->ui.texts(), QStringList{"保存失败！"});
        QCOMPARE(StoredReceiptData(), before);
        // Still open with the user's change; a second try compares against the same receipt.
        QVERIFY(form->isVisible());
        QVERIFY(!form->Saved);
        QCOMPARE(form->Bill->BoxCompany->currentText(), QString("丁公司"));
        ShareDM1->ShareConn.executeNative("drop trigger refuse");
        form->BitBtn1->click();
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(header("companyname"), QString("丁公司"));
    QCOMPARE(TestAppDir::value("select count(*) from ss_saledetail where saleid=7"), QString("3"));
    QCOMPARE(TestAppDir::value("select count(*) from xt_log"), QString("1"));
}

void EditFormTest::longReceiptKeepsAllLines() {
    // Three more lines than the grid's four rows (the row count was lowered after the save).
    for (int i = 1; i <= 3; ++i)
        TestAppDir::exec(
            QStringLiteral("insert into ss_saledetail(saledetailid,saleid,tablecode,name,qty,price,amt)"
                           "values(%1,7,'C%2','品%2',1,%2,%2)")
                .arg(40 + i)
                .arg(i));
    const int result = edit([](TForm_SS_Edit1 *form) {
        QCOMPARE(form->Bill->GridModel->lineCount(), 6);
        QCOMPARE(form->Bill->GridModel->field(GridKey::Code, 6), QString("C3"));
        QCOMPARE(form->Bill->Edit3->text(), QString("107.5"));
        form->BitBtn1->click();
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(TestAppDir::rows("select tablecode from ss_saledetail where saleid=7 order by saledetailid"),
             QString("G001;G002;G001;C1;C2;C3"));
    QCOMPARE(header("totalamt"), QString("107.5"));
}

void EditFormTest::cancelAndEscSaveNothing() {
    const QString before = StoredReceiptData();
    QCOMPARE(edit([](TForm_SS_Edit1 *form) {
                 form->Bill->BoxCompany->setFocus();
                 retype("戊公司");
                 GuiFixture::find<QPushButton>(form, "BitBtn2")->click();
             }),
             int(QDialog::Rejected));
    QCOMPARE(edit([](TForm_SS_Edit1 *form) {
                 form->Bill->Edit9->setFocus();
                 retype("改");
                 key(Qt::Key_Escape);
                 QVERIFY(!form->isVisible());
             }),
             int(QDialog::Rejected));
    QCOMPARE(StoredReceiptData(), before);
    QCOMPARE(m_fx->ui.texts(), QStringList());
}

void EditFormTest::missingReceipt() {
    TForm_SS_Edit1 form;
    QVERIFY(!form.loadReceipt(99));
    QCOMPARE(m_fx->ui.texts(), QStringList{"要修改的单据不存在！"});
}

QTEST_MAIN(EditFormTest)
#include "EditFormTest.moc"
