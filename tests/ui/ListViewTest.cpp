// The list view of the kit as a user meets it: painting, ticking by click and Space, the
// header's sorting rule, the status panels, the batch runner and the failure list.
#include "GuiFixture.h"

#include "ui/Importprocess.h"
#include "ui/list/Aa_showbillinfo.h"
#include "ui/list/ListBatch.h"
#include "ui/list/ListModel.h"
#include "ui/list/ListStatusBar.h"
#include "ui/list/ListTickCommands.h"
#include "ui/list/ListView.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace {

const ListColumns columns{TextColumn("编号", 120), TextColumn("备注", 200), NumberColumn("金额", 80)};

// Rows "R0".."Rn-1" with their number as the hidden key; the remark cell stays empty so that
// the painted background can be read in it.
std::vector<ListRow> rows(int count) {
    std::vector<ListRow> result;
    for (int i = 0; i < count; ++i)
        result.push_back(ListRow{{QStringLiteral("R%1").arg(i), QString(), QString::number(i * 10)},
                                 {QString::number(i)}});
    return result;
}

QStringList keys(const ListModel &model) {
    QStringList texts;
    for (int r = 0; r < model.rowCount(); ++r)
        texts.append(model.hidden(r, 0));
    return texts;
}

// The colour painted in the middle of the row's empty remark cell.
QColor paintedAt(ListView &view, int row) {
    const QRect cell = view.visualRect(view.listModel()->index(row, 1));
    const QImage image = view.viewport()->grab().toImage();
    return image.pixelColor(cell.center());
}

struct Shown {
    explicit Shown(int count)
        : view(columns) {
        view.resize(500, 300);
        view.listModel()->setRows(rows(count));
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }
    ListView view;
};

} // namespace

class ListViewTest : public QObject {
    Q_OBJECT

private slots:
    void backgroundRule_data();
    void backgroundRule();
    void paintedRows();
    void checkBoxClickAndSpace();
    void severalSelectedRowsTakeTheClickedState();
    void tickCommandsAndCommandRows();
    void headerClickSortsByTheWindowsRule();
    void statusPanelsFollowTheList();
    void batchDeleteBottomUpWithAFailure();
    void batchChangeTopDownKeepsRows();
    void batchOnNothingDoesNothing();
    void failureListWindow();
};

void ListViewTest::backgroundRule_data() {
    QTest::addColumn<int>("look");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QColor>("expected");
    const int aqua = int(ListRowPainter::Selection::Aqua);
    const int blue = int(ListRowPainter::Selection::DarkBlue);
    const QColor stripe(1, 2, 3);
    QTest::newRow("even row plain") << aqua << 0 << false << false << QColor(Qt::white);
    QTest::newRow("odd row striped") << aqua << 1 << false << false << stripe;
    QTest::newRow("selected wins over stripe") << aqua << 1 << true << false << QColor(0, 255, 255);
    QTest::newRow("ticked is aqua") << aqua << 2 << false << true << QColor(0, 255, 255);
    QTest::newRow("dark blue selection") << blue << 3 << true << false << QColor(10, 36, 106);
    QTest::newRow("dark blue look, odd unselected") << blue << 3 << false << false << stripe;
}

void ListViewTest::backgroundRule() {
    QFETCH(int, look);
    QFETCH(int, row);
    QFETCH(bool, selected);
    QFETCH(bool, ticked);
    QFETCH(QColor, expected);
    ListRowPainter painter;
    painter.setStripe(QColor(1, 2, 3));
    painter.setSelection(static_cast<ListRowPainter::Selection>(look));
    QCOMPARE(painter.background(row, selected, ticked, Qt::white), expected);
}

void ListViewTest::paintedRows() {
    Shown s(4);
    ListView &view = s.view;
    view.setStripe(QColor(255, 240, 244));
    view.setCheckable(true);
    view.listModel()->setTicked(3, true);
    view.selectRow(2);
    QCOMPARE(paintedAt(view, 0), view.palette().color(QPalette::Base));
    QCOMPARE(paintedAt(view, 1), QColor(255, 240, 244));
    QCOMPARE(paintedAt(view, 2), QColor(0, 255, 255)); // selected: not the style's highlight
    QCOMPARE(paintedAt(view, 3), QColor(0, 255, 255)); // ticked
    view.setSelectionLook(ListRowPainter::Selection::DarkBlue);
    QCOMPARE(paintedAt(view, 2), QColor(10, 36, 106));
}

void ListViewTest::checkBoxClickAndSpace() {
    Shown s(3);
    ListView &view = s.view;
    view.setCheckable(true);
    QAbstractItemModelTester tester(view.listModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    ListModel &model = *view.listModel();

    // A click on the box of row 1 ticks it once, and only it.
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.rect = view.visualRect(model.index(1, 0));
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    option.checkState = Qt::Unchecked;
    const QRect box = view.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &view);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, box.center());
    QCOMPARE(model.tickedRows(), QList<int>({1}));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, box.center());
    QCOMPARE(model.tickedCount(), 0);
    // A click elsewhere on the row selects it and ticks nothing.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(model.index(2, 1)).center());
    QCOMPARE(view.currentRow(), 2);
    QCOMPARE(model.tickedCount(), 0);

    // Space flips the current row.
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Space);
    QCOMPARE(model.tickedRows(), QList<int>({2}));
    QTest::keyClick(&view, Qt::Key_Space);
    QCOMPARE(model.tickedCount(), 0);
    // Space in a list without boxes does nothing to ticks.
    view.setCheckable(false);
    QTest::keyClick(&view, Qt::Key_Space);
    QCOMPARE(model.tickedCount(), 0);
}

void ListViewTest::severalSelectedRowsTakeTheClickedState() {
    Shown s(5);
    ListView &view = s.view;
    view.setCheckable(true);
    view.setMultiSelection(true);
    ListModel &model = *view.listModel();
    model.setTicked(3, true);
    QItemSelection selection;
    for (int r : {1, 3, 4})
        selection.select(model.index(r, 0), model.index(r, 2));
    view.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    view.selectionModel()->setCurrentIndex(model.index(1, 0), QItemSelectionModel::NoUpdate);
    // Row 1 becomes ticked: so do 3 (already) and 4; row 3 is not counted twice.
    view.toggleTick(1);
    QCOMPARE(model.tickedRows(), QList<int>({1, 3, 4}));
    QCOMPARE(model.tickedCount(), 3);
    // Space on the current row clears all three.
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Space);
    QCOMPARE(model.tickedCount(), 0);
    // A row outside the selection changes alone.
    view.toggleTick(0);
    QCOMPARE(model.tickedRows(), QList<int>({0}));
}

void ListViewTest::tickCommandsAndCommandRows() {
    Shown s(4);
    ListView &view = s.view;
    view.setCheckable(true);
    ListModel &model = *view.listModel();
    QWidget owner;
    const QList<QAction *> commands = MakeTickCommands(&view, &owner);
    QCOMPARE(commands.size(), 3);
    QCOMPARE(commands[0]->text(), QString("全选"));
    QCOMPARE(commands[1]->text(), QString("全清"));
    QCOMPARE(commands[2]->text(), QString("反选"));

    QCOMPARE(view.commandRows(), QList<int>()); // nothing selected, nothing ticked
    view.selectRow(2);
    QCOMPARE(view.commandRows(), QList<int>({2}));
    commands[0]->trigger();
    QCOMPARE(model.tickedCount(), 4);
    QCOMPARE(view.commandRows(), QList<int>({0, 1, 2, 3}));
    model.setTicked(1, false);
    commands[2]->trigger();
    QCOMPARE(view.commandRows(), QList<int>({1})); // ticks win over the selection
    commands[1]->trigger();
    QCOMPARE(model.tickedCount(), 0);
    QCOMPARE(view.commandRows(), QList<int>({2}));
}

void ListViewTest::headerClickSortsByTheWindowsRule() {
    Shown s(3);
    ListView &view = s.view;
    view.setFirstClick(ListSortRule::FirstClick::TextAscending);
    ListModel &model = *view.listModel();
    const auto clickHeader = [&](int section) {
        QHeaderView *head = view.header();
        const QPoint at(head->sectionViewportPosition(section) + head->sectionSize(section) / 2,
                        head->height() / 2);
        QTest::mouseClick(head->viewport(), Qt::LeftButton, {}, at);
    };
    view.selectRow(0);
    clickHeader(2); // the amount column: largest first on the first click here
    QCOMPARE(keys(model), QStringList({"2", "1", "0"}));
    QCOMPARE(view.currentRow(), 2); // the selection stays on its row
    clickHeader(0);                 // any further click reverses: text now descending
    QCOMPARE(keys(model), QStringList({"2", "1", "0"}));
    clickHeader(0);
    QCOMPARE(keys(model), QStringList({"0", "1", "2"}));
    QVERIFY(view.header()->isSortIndicatorShown());
    model.setRows(rows(2)); // a new load shows query order: no indicator
    QVERIFY(!view.header()->isSortIndicatorShown());
}

void ListViewTest::statusPanelsFollowTheList() {
    ListView view(columns);
    view.setCheckable(true);
    ListStatusBar bar(true);
    bar.follow(&view);
    const auto panels = [&] { return QStringList{bar.panelText(0), bar.panelText(1), bar.panelText(2)}; };
    QCOMPARE(panels(), QStringList({"总记录：0", "当前行：0", "已勾选：0"}));
    view.listModel()->setRows(rows(3));
    view.selectRow(0);
    QCOMPARE(panels(), QStringList({"总记录：3", "当前行：1", "已勾选：0"}));
    view.listModel()->appendRows(rows(2));
    view.selectRow(4);
    view.tickAll();
    QCOMPARE(panels(), QStringList({"总记录：5", "当前行：5", "已勾选：5"}));
    view.listModel()->removeRows(4, 1); // the current row goes: the one above becomes current
    QCOMPARE(panels(), QStringList({"总记录：4", "当前行：4", "已勾选：4"}));
    view.listModel()->clear();
    QCOMPARE(panels(), QStringList({"总记录：0", "当前行：0", "已勾选：0"}));

    ListStatusBar plain(false);
    QVERIFY(!plain.findChild<QLabel *>("Panel2")->isVisibleTo(&plain));
    QVERIFY(plain.findChild<QLabel *>("Panel1")->isVisibleTo(&plain));
}

void ListViewTest::batchDeleteBottomUpWithAFailure() {
    GuiFixture fixture;
    TForm_Importprocess progress;
    Form_Importprocess = &progress;
    Shown s(5);
    ListView &view = s.view;
    view.setCheckable(true);
    ListModel &model = *view.listModel();
    for (int r : {0, 2, 3})
        model.setTicked(r, true);

    QStringList walked;
    int progressSeen = -1;
    BatchCommand command;
    command.step = [&](int row) {
        progressSeen = progress.ProgressBar1->value();
        walked.append(model.hidden(row, 0));
        if (model.hidden(row, 0) == "2")
            throw std::runtime_error("constraint failed");
        return true;
    };
    command.failedName = [&](int row) { return model.cell(row, 0); };
    QString failureShown;
    fixture.onNextModal([&](QDialog *dialog) {
        failureShown = GuiFixture::find<QPlainTextEdit>(dialog, "Memo1")->toPlainText();
    });
    const BatchResult result = RunBatch(&view, view.commandRows(), command);
    fixture.expectModalHandled();
    Form_Importprocess = nullptr;

    QCOMPARE(walked, QStringList({"3", "2", "0"})); // last row first
    QCOMPARE(result.handled, 2);
    QCOMPARE(result.failureText, QString("R2：删除失败！\r\n"));
    QCOMPARE(failureShown, QString("R2：删除失败！\n"));
    QCOMPARE(keys(model), QStringList({"1", "2", "4"}));
    QCOMPARE(model.tickedRows(), QList<int>({1})); // the failed row stays ticked
    QCOMPARE(model.tickedCount(), 1);
    QCOMPARE(view.currentRow(), 0); // the first remaining row
    QCOMPARE(progress.ProgressBar1->maximum(), 3);
    QCOMPARE(progress.ProgressBar1->value(), 3);
    QCOMPARE(progressSeen, 2); // advanced per row while walking
    QVERIFY(!progress.isVisible());

    // Everything goes: no row left to select.
    command.step = [](int) { return true; };
    view.tickAll();
    const BatchResult all = RunBatch(&view, view.commandRows(), command);
    QCOMPARE(all.handled, 3);
    QVERIFY(all.failureText.isEmpty());
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.tickedCount(), 0);
    QCOMPARE(view.currentRow(), -1);
}

void ListViewTest::batchChangeTopDownKeepsRows() {
    Shown s(4);
    ListView &view = s.view;
    ListModel &model = *view.listModel();
    QStringList walked;
    BatchCommand command;
    command.bottomUp = false;
    command.removeDone = false;
    command.showFailures = false;
    command.failureSuffix = "：修改失败！";
    command.step = [&](int row) {
        walked.append(model.hidden(row, 0));
        return row != 3;
    };
    command.failedName = [&](int row) { return model.cell(row, 0); };
    const BatchResult result = RunBatch(&view, {3, 1, 1, 9, -1}, command);
    QCOMPARE(walked, QStringList({"1", "3"})); // top down, each row once, none outside
    QCOMPARE(result.failureText, QString("R3：修改失败！\r\n"));
    QCOMPARE(model.rowCount(), 4);

    // Walking down while removing: the rows below a removed one move up and are still found.
    command.removeDone = true;
    walked.clear();
    command.step = [&](int row) {
        walked.append(model.hidden(row, 0));
        return true;
    };
    RunBatch(&view, {0, 2, 3}, command);
    QCOMPARE(walked, QStringList({"0", "2", "3"}));
    QCOMPARE(keys(model), QStringList({"1"}));
}

void ListViewTest::batchOnNothingDoesNothing() {
    Shown s(2);
    bool called = false;
    BatchCommand command;
    command.step = [&](int) { return called = true; };
    const BatchResult result = RunBatch(&s.view, s.view.commandRows(), command);
    QVERIFY(!called);
    QCOMPARE(result.handled, 0);
    QCOMPARE(s.view.listModel()->rowCount(), 2);
}

void ListViewTest::failureListWindow() {
    TForm_AA_ShowBillInfo window("SK001：删除失败！\r\nSK002：删除失败！\r\n");
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QString("提示"));
    QCOMPARE(window.Label1->text() + window.Label2->text() + window.Label3->text(),
             QString("以下为失败的记录："));
    QCOMPARE(window.Memo1->toPlainText(), QString("SK001：删除失败！\nSK002：删除失败！\n"));
    QVERIFY(window.Memo1->isReadOnly());
    QCOMPARE(window.BitBtn1->text(), QString("退出(&C)"));
    QCOMPARE(QApplication::focusWidget(), window.BitBtn1);
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    window.show();
    window.BitBtn1->click();
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(ListViewTest)
#include "ListViewTest.moc"
