// The list model and the sorting rule: filling, hidden values, ticks and sorting, each under
// Qt's model tester.
#include "ui/list/ListModel.h"
#include "ui/list/ListSortRule.h"

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>
#include <QSignalSpy>
#include <QTest>

namespace {

const ListColumns twoColumns{TextColumn("名称", 120), NumberColumn("金额", 80)};

ListRow row(const QString &name, const QString &amount = QString(), const QString &key = QString()) {
    return ListRow{{name, amount}, {key}, -1, false};
}

std::vector<ListRow> rowsOf(const QStringList &names) {
    std::vector<ListRow> rows;
    for (const QString &name : names)
        rows.push_back(row(name, QString(), name));
    return rows;
}

std::vector<ListRow> amountsOf(const QStringList &amounts) {
    std::vector<ListRow> rows;
    for (int i = 0; i < amounts.size(); ++i)
        rows.push_back(row(QString::number(i), amounts[i], QString::number(i)));
    return rows;
}

QStringList column(const ListModel &model, int column) {
    QStringList texts;
    for (int r = 0; r < model.rowCount(); ++r)
        texts.append(model.cell(r, column));
    return texts;
}

// Hidden keys in list order, as commands read them back.
QStringList keys(const ListModel &model) {
    QStringList texts;
    for (int r = 0; r < model.rowCount(); ++r)
        texts.append(model.hidden(r, 0));
    return texts;
}

} // namespace

class ListModelTest : public QObject {
    Q_OBJECT

private slots:
    void cellsHiddenValuesAndRoles();
    void fillingInChunksAndRewritingARow();
    void ticksAreCounted();
    void tickingThroughTheCheckStateRole();
    void sortingText_data();
    void sortingText();
    void sortingNumbers_data();
    void sortingNumbers();
    void firstClickAndFlip_data();
    void firstClickAndFlip();
    void sortingFollowsChangedAndAppendedRows();
    void sortingKeepsPersistentIndexesAndTicks();
};

void ListModelTest::cellsHiddenValuesAndRoles() {
    ListModel model(twoColumns);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setImages({QIcon(), QIcon()});
    std::vector<ListRow> rows;
    rows.push_back(ListRow{{"SK0001", "12.5"}, {"SK0001", "7"}, 1, false});
    rows.push_back(ListRow{{"SK0002"}, {"SK0002", "8"}, -1, false});
    model.setRows(std::move(rows));

    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.columnCount(), 2);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("名称"));
    QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
             Qt::AlignRight);
    QCOMPARE(model.data(model.index(0, 1), Qt::TextAlignmentRole).toInt() & Qt::AlignRight, Qt::AlignRight);
    QCOMPARE(model.data(model.index(0, 0), Qt::TextAlignmentRole).toInt() & Qt::AlignLeft, Qt::AlignLeft);
    QCOMPARE(model.data(model.index(0, 1)).toString(), QString("12.5"));
    QCOMPARE(model.data(model.index(1, 1)).toString(), QString()); // a missing cell is empty
    QCOMPARE(model.data(model.index(0, 1), ListModel::HiddenRole + 1).toString(), QString("7"));
    QVERIFY(!model.data(model.index(0, 0), ListModel::HiddenRole + 2).isValid());
    QCOMPARE(model.hidden(1, 1), QString("8"));
    QCOMPARE(model.hidden(1, 5), QString());
    QCOMPARE(model.findHidden(1, "8"), 1);
    QCOMPARE(model.findHidden(1, "9"), -1);
    QVERIFY(model.data(model.index(0, 0), Qt::DecorationRole).isValid());
    QVERIFY(!model.data(model.index(1, 0), Qt::DecorationRole).isValid());
    model.setImage(1, 1);
    QVERIFY(model.data(model.index(1, 0), Qt::DecorationRole).isValid());
    // Not checkable: no check boxes, and setting a check state is refused.
    QVERIFY(!model.data(model.index(0, 0), Qt::CheckStateRole).isValid());
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable));
    QVERIFY(!model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole));
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
}

void ListModelTest::fillingInChunksAndRewritingARow() {
    ListModel model(twoColumns);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRows(rowsOf({"a", "b"}));
    model.appendRows(rowsOf({"c", "d", "e"}));
    model.appendRow(row("f", "1", "f"));
    model.appendRows({});
    QCOMPARE(keys(model), QStringList({"a", "b", "c", "d", "e", "f"}));

    model.setRow(2, row("C2", "3", "c"));
    QCOMPARE(model.cell(2, 0), QString("C2"));
    model.setRow(99, row("x")); // outside: nothing
    QVERIFY(model.removeRows(1, 2));
    QVERIFY(!model.removeRows(3, 9));
    QCOMPARE(keys(model), QStringList({"a", "d", "e", "f"}));
    model.clear();
    QCOMPARE(model.rowCount(), 0);
}

void ListModelTest::ticksAreCounted() {
    ListModel model(twoColumns);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy counts(&model, &ListModel::tickedCountChanged);
    auto rows = rowsOf({"a", "b", "c", "d"});
    rows[1].ticked = true;
    model.setRows(std::move(rows));
    QCOMPARE(model.tickedCount(), 0); // not checkable: ticks are ignored
    QVERIFY(!model.ticked(1));

    model.setCheckable(true);
    rows = rowsOf({"a", "b", "c", "d"});
    rows[1].ticked = true;
    model.setRows(std::move(rows));
    QCOMPARE(model.tickedCount(), 1);
    model.setTicked(3, true);
    model.setTicked(3, true); // already ticked: counted once
    QCOMPARE(model.tickedCount(), 2);
    QCOMPARE(model.tickedRows(), QList<int>({1, 3}));
    model.invertTicks();
    QCOMPARE(model.tickedRows(), QList<int>({0, 2}));
    QCOMPARE(model.tickedCount(), 2);
    model.setAllTicked(true);
    QCOMPARE(model.tickedCount(), 4);
    model.setTicked(1, false);
    QVERIFY(model.removeRows(0, 2)); // one ticked, one not
    QCOMPARE(model.tickedCount(), 2);
    auto more = rowsOf({"e", "f"});
    more[0].ticked = true;
    model.appendRows(std::move(more));
    QCOMPARE(model.tickedCount(), 3);
    model.setRow(2, row("E2")); // a rewritten row keeps its tick
    QVERIFY(model.ticked(2));
    model.setAllTicked(false);
    QCOMPARE(model.tickedCount(), 0);
    QCOMPARE(model.tickedRows(), QList<int>());
    model.setAllTicked(true);
    model.setCheckable(false);
    QCOMPARE(model.tickedCount(), 0);
    QCOMPARE(counts.last().first().toInt(), 0);
}

void ListModelTest::tickingThroughTheCheckStateRole() {
    ListModel model(twoColumns);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setCheckable(true);
    model.setRows(rowsOf({"a", "b"}));
    QVERIFY(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);
    QVERIFY(!(model.flags(model.index(0, 1)) & Qt::ItemIsUserCheckable));
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QVERIFY(model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(model.data(model.index(1, 0), Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(model.tickedCount(), 1);
    // The whole row changes: its background follows the tick.
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed[0][0].toModelIndex(), model.index(1, 0));
    QCOMPARE(changed[0][1].toModelIndex(), model.index(1, 1));
    QVERIFY(!model.setData(model.index(1, 1), Qt::Checked, Qt::CheckStateRole));
    QVERIFY(!model.setData(model.index(1, 0), "x", Qt::DisplayRole));
    QVERIFY(model.setData(model.index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
    QCOMPARE(model.tickedCount(), 0);
}

void ListModelTest::sortingText_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("ascending");
    QTest::newRow("case of a-z ignored, equal rows keep their order")
        << QStringList{"b", "A", "a", "B"} << QStringList{"A", "a", "b", "B"};
    // Upper-case folding puts "_" (after Z) behind letters, as a case-insensitive compare of
    // upper-cased text does.
    QTest::newRow("underscore after letters") << QStringList{"_x", "b", "A"} << QStringList{"A", "b", "_x"};
    QTest::newRow("digits before letters") << QStringList{"x1", "10", "9"} << QStringList{"10", "9", "x1"};
    QTest::newRow("Chinese by code unit")
        << QStringList{"东方", "北京", "东"} << QStringList{"东", "东方", "北京"};
    QTest::newRow("only Latin letters fold") << QStringList{"é", "É", "e"} << QStringList{"e", "É", "é"};
    QTest::newRow("empty first") << QStringList{"a", "", "B"} << QStringList{"", "a", "B"};
}

void ListModelTest::sortingText() {
    QFETCH(QStringList, names);
    QFETCH(QStringList, ascending);
    ListModel model(twoColumns);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRows(rowsOf(names));
    model.sort(0, Qt::AscendingOrder);
    QCOMPARE(column(model, 0), ascending);
    QStringList descending = ascending;
    // Descending keeps equal rows in their order too: reverse only between unequal keys.
    model.setRows(rowsOf(names));
    model.sort(0, Qt::DescendingOrder);
    QStringList got = column(model, 0);
    std::reverse(descending.begin(), descending.end());
    for (int i = 0; i < got.size(); ++i)
        QCOMPARE(got[i].toUpper(), descending[i].toUpper());
}

void ListModelTest::sortingNumbers_data() {
    QTest::addColumn<QStringList>("amounts");
    QTest::addColumn<QStringList>("ascending");
    QTest::newRow("numbers, not text")
        << QStringList{"10", "9", "-2.5", "100"} << QStringList{"-2.5", "9", "10", "100"};
    QTest::newRow("closer than 0.0001 is equal")
        << QStringList{"1.00002", "1.00001", "0.5"} << QStringList{"0.5", "1.00002", "1.00001"};
    // In binary the differences come out a hair short of 0.0001; they still count.
    QTest::newRow("0.0001 apart is not")
        << QStringList{"1.0002", "1.0001"} << QStringList{"1.0001", "1.0002"};
    QTest::newRow("0.0001 apart, large") << QStringList{"123456.7892", "123456.7891", "0.0001", "0"}
                                         << QStringList{"0", "0.0001", "123456.7891", "123456.7892"};
    QTest::newRow("just under 0.0001 apart is equal")
        << QStringList{"2.00009", "2"} << QStringList{"2.00009", "2"};
    QTest::newRow("scientific") << QStringList{"1E15", "2", "1E-6"} << QStringList{"1E-6", "2", "1E15"};
    QTest::newRow("not a number before numbers") << QStringList{"3", "", "-", "-7", "1.5元", "inf", "１"}
                                                 << QStringList{"", "-", "1.5元", "inf", "１", "-7", "3"};
    QTest::newRow("blanks and plus sign") << QStringList{" 5 ", "+4", "-0"} << QStringList{"-0", "+4", " 5 "};
}

void ListModelTest::sortingNumbers() {
    QFETCH(QStringList, amounts);
    QFETCH(QStringList, ascending);
    ListModel model(twoColumns);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRows(amountsOf(amounts));
    model.sort(1, Qt::AscendingOrder);
    QCOMPARE(column(model, 1), ascending);
}

void ListModelTest::firstClickAndFlip_data() {
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<QStringList>("afterFirst");
    QTest::addColumn<QStringList>("afterSecond");
    const int textDown = int(ListSortRule::FirstClick::TextDescending);
    const int textUp = int(ListSortRule::FirstClick::TextAscending);
    QTest::newRow("master data, text Z to A")
        << textDown << 0 << QStringList{"c", "b", "a"} << QStringList{"a", "b", "c"};
    QTest::newRow("master data, lowest price first")
        << textDown << 1 << QStringList{"b", "c", "a"} << QStringList{"a", "c", "b"};
    QTest::newRow("receipt query, A before B")
        << textUp << 0 << QStringList{"a", "b", "c"} << QStringList{"c", "b", "a"};
    QTest::newRow("receipt query, largest amount first")
        << textUp << 1 << QStringList{"a", "c", "b"} << QStringList{"b", "c", "a"};
}

void ListModelTest::firstClickAndFlip() {
    QFETCH(int, first);
    QFETCH(int, sortColumn);
    QFETCH(QStringList, afterFirst);
    QFETCH(QStringList, afterSecond);
    ListModel model(twoColumns);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    std::vector<ListRow> rows;
    rows.push_back(row("b", "1", "b"));
    rows.push_back(row("a", "30", "a"));
    rows.push_back(row("c", "4", "c"));
    model.setRows(std::move(rows));
    ListSortRule rule(static_cast<ListSortRule::FirstClick>(first));
    rule.click(model, sortColumn);
    QCOMPARE(rule.column(), sortColumn);
    QCOMPARE(rule.numeric(), sortColumn == 1);
    QCOMPARE(column(model, 0), afterFirst);
    rule.click(model, sortColumn);
    QCOMPARE(column(model, 0), afterSecond);
    // The flag is one per window: a click on the other column goes on from it.
    const bool flippedBefore = rule.flipped();
    rule.click(model, 1 - sortColumn);
    QCOMPARE(rule.flipped(), !flippedBefore);
    rule.click(model, 7); // no such column: nothing
    QCOMPARE(rule.flipped(), !flippedBefore);
}

void ListModelTest::sortingFollowsChangedAndAppendedRows() {
    ListModel model(twoColumns);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRows(amountsOf({"5", "1", "3"}));
    model.sort(1);
    model.sort(0);
    QCOMPARE(column(model, 1), QStringList({"5", "1", "3"}));
    // Keys made by the first sort must follow a rewritten row and rows added afterwards.
    model.setRow(0, row("0", "9", "0"));
    model.appendRows(amountsOf({"2", "0.5"}));
    model.sort(1);
    QCOMPARE(column(model, 1), QStringList({"0.5", "1", "2", "3", "9"}));
    model.removeRows(0, 1);
    model.sort(1, Qt::DescendingOrder);
    QCOMPARE(column(model, 1), QStringList({"9", "3", "2", "1"}));
    model.setRows(amountsOf({"7", "6"})); // a new load: new keys
    model.sort(1);
    QCOMPARE(column(model, 1), QStringList({"6", "7"}));
}

void ListModelTest::sortingKeepsPersistentIndexesAndTicks() {
    ListModel model(twoColumns);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setCheckable(true);
    model.setRows(rowsOf({"c", "a", "b"}));
    model.setTicked(0, true);
    const QPersistentModelIndex selected = model.index(0, 1);
    model.sort(0, Qt::AscendingOrder);
    QCOMPARE(selected.row(), 2);
    QCOMPARE(selected.column(), 1);
    QCOMPARE(model.tickedRows(), QList<int>({2}));
    QCOMPARE(model.hidden(2, 0), QString("c"));
    QCOMPARE(model.tickedCount(), 1);
}

QTEST_MAIN(ListModelTest)
#include "ListModelTest.moc"
