// The receipt log window through its widgets: which rows it lists, in which order, how it
// sorts, looks, exports and closes.
#include "GuiFixture.h"

#include "data/Clock.h"
#include "data/Globals.h"
#include "data/OperationLog.h"
#include "queries/Aa_operatorlog.h"
#include "ui/list/ListModel.h"
#include "ui/list/ListView.h"

#include <QFile>
#include <QHeaderView>
#include <QToolButton>

namespace {

// Log rows of receipt 7 by two operators, one of receipt 8 and one of another kind.
void writeLogRows() {
    const QDateTime start(QDate(2014, 2, 20), QTime(9, 0, 0));
    OperatorName = "王五";
    Clock::setFixed(start);
    WriteLog("【新增】单据", "SK001", 7, 1);
    OperatorName = "admin";
    Clock::setFixed(start.addSecs(60));
    WriteLog("【打印】单据", "SK001", 7, 1);
    WriteLog("【新增】单据", "SK002", 8, 1);
    WriteLog("【其它】单据", "SK001", 7, 2);
    OperatorName = "Zhang";
    Clock::setFixed(start.addSecs(120));
    WriteLog("【修改】单据", "SK001", 7, 1);
    OperatorName = "管理员";
}

QStringList column(const ListView *list, int c) {
    QStringList texts;
    for (int r = 0; r < list->listModel()->rowCount(); ++r)
        texts.append(list->listModel()->cell(r, c));
    return texts;
}

void clickHeader(ListView *list, int section) {
    QHeaderView *head = list->header();
    const QPoint at(head->sectionViewportPosition(section) + head->sectionSize(section) / 2,
                    head->height() / 2);
    QTest::mouseClick(head->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class OperatorLogTest : public QObject {
    Q_OBJECT

private slots:
    void listsTheReceiptsRowsInWrittenOrder();
    void sortsByTheMasterDataRule();
    void receiptWithoutRowsShowsAnEmptyList();
    void exportsTheList();
    void escAndExitClose();
};

void OperatorLogTest::listsTheReceiptsRowsInWrittenOrder() {
    GuiFixture fixture;
    writeLogRows();
    fixture.onNextModal([](QDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QString("操作日志"));
        QVERIFY(dialog->minimumWidth() >= 430 && dialog->minimumHeight() >= 500);
        auto *list = GuiFixture::find<ListView>(dialog, "ListView1");
        QVERIFY(list);
        const ListModel *model = list->listModel();
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QString("操作员"));
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QString("操作时间"));
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QString("操作事件"));
        QCOMPARE(list->header()->sectionSize(0), 110);
        QCOMPARE(list->header()->sectionSize(1), 135);
        QCOMPARE(list->header()->sectionSize(2), 155);
        QCOMPARE(column(list, 0), QStringList({"王五", "admin", "Zhang"}));
        QCOMPARE(column(list, 1),
                 QStringList({"2014-02-20 09:00:00", "2014-02-20 09:01:00", "2014-02-20 09:02:00"}));
        QCOMPARE(column(list, 2), QStringList({"【新增】单据", "【打印】单据", "【修改】单据"}));
        QCOMPARE(list->currentRow(), 0);
        QVERIFY(list->selectionModel()->isRowSelected(0, QModelIndex()));
        QVERIFY(!model->checkable());
        QCOMPARE(list->painter()->selection(), ListRowPainter::Selection::DarkBlue);
    });
    ShowOperatorLog(7, 1);
    fixture.expectModalHandled();
}

void OperatorLogTest::sortsByTheMasterDataRule() {
    GuiFixture fixture;
    writeLogRows();
    fixture.onNextModal([](QDialog *dialog) {
        auto *list = GuiFixture::find<ListView>(dialog, "ListView1");
        clickHeader(list, 0); // first click on a text column: Z to A, case ignored
        QCOMPARE(column(list, 0), QStringList({"王五", "Zhang", "admin"}));
        clickHeader(list, 1); // any further click reverses
        QCOMPARE(column(list, 0), QStringList({"王五", "admin", "Zhang"}));
    });
    ShowOperatorLog(7, 1);
    fixture.expectModalHandled();
}

void OperatorLogTest::receiptWithoutRowsShowsAnEmptyList() {
    GuiFixture fixture;
    writeLogRows();
    fixture.onNextModal([](QDialog *dialog) {
        auto *list = GuiFixture::find<ListView>(dialog, "ListView1");
        QCOMPARE(list->listModel()->rowCount(), 0);
        QCOMPARE(list->currentRow(), -1);
    });
    ShowOperatorLog(99, 1);
    fixture.expectModalHandled();
    // The other kind of row is not a receipt operation of receipt 7.
    fixture.onNextModal([](QDialog *dialog) {
        QCOMPARE(column(GuiFixture::find<ListView>(dialog, "ListView1"), 2), QStringList({"【其它】单据"}));
    });
    ShowOperatorLog(7, 2);
    fixture.expectModalHandled();
}

void OperatorLogTest::exportsTheList() {
    GuiFixture fixture;
    writeLogRows();
    const QString path = fixture.app.path() + "/log.csv";
    fixture.ui.answerFileName(path);
    fixture.onNextModal([](QDialog *dialog) {
        auto *exportButton = GuiFixture::find<QToolButton>(dialog, "SpBtAdd");
        QCOMPARE(exportButton->text(), QString("导出"));
        exportButton->click();
    });
    ShowOperatorLog(7, 1);
    fixture.expectModalHandled();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY2(text.contains("操作员,操作时间,操作事件"), qPrintable(text));
    QVERIFY(text.contains("Zhang,2014-02-20 09:02:00,【修改】单据"));
    QCOMPARE(text.count("单据"), 3);
}

void OperatorLogTest::escAndExitClose() {
    GuiFixture fixture;
    TForm_AA_OperatorLog window(7, 1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    window.show();
    auto *exit = GuiFixture::find<QToolButton>(&window, "SpBtClose");
    QCOMPARE(exit->text(), QString("退出"));
    exit->click();
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(OperatorLogTest)
#include "OperatorLogTest.moc"
