#pragma once

#include "ui/list/ListColumn.h"
#include "ui/list/ListRowPainter.h"
#include "ui/list/ListSortRule.h"

#include <QTreeView>

class ListModel;

// The list of a list window: a report-style view over its own ListModel with whole-row
// selection, the window's sorting rule on header clicks, the row painting, and, when
// checkable, ticking by a click on a row's check box or by Space on the current row. With
// several rows selected (extended selection), the state the clicked row takes is given to
// every other selected row.
//
//   ListView1 = new ListView(columns, this);           // caption, width, alignment per column
//   ListView1->setObjectName("ListView1");
//   ListView1->setCheckable(true);                     // check boxes and the ticked count
//   ListView1->setFirstClick(ListSortRule::FirstClick::TextAscending);
//   ListView1->listModel()->setRows(std::move(rows));
//   ListView1->selectRow(0);
class ListView : public QTreeView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListView)

public:
    explicit ListView(const ListColumns &columns, QWidget *parent = nullptr);

    ListModel *listModel() const { return m_model; }
    ListRowPainter *painter() const { return m_painter; }
    ListSortRule &sortRule() { return m_sortRule; }

    // A new sorting rule state (call before the first click).
    void setFirstClick(ListSortRule::FirstClick first) { m_sortRule = ListSortRule(first); }
    void setStripe(const QColor &stripe);
    void setSelectionLook(ListRowPainter::Selection selection);
    void setCheckable(bool checkable);
    // Several rows selectable at once (ctrl and shift clicks); otherwise one at a time.
    void setMultiSelection(bool multi);

    // The current row, -1 when there is none.
    int currentRow() const;
    // Makes the row current and the only selected one, and scrolls it into view; -1 clears.
    void selectRow(int row);

    // Flips the row's tick, with the rule for several selected rows.
    void toggleTick(int row);
    void tickAll();     // 全选
    void clearTicks();  // 全清
    void invertTicks(); // 反选

    // The rows a command works on, top to bottom: the ticked rows when any is ticked,
    // otherwise the current row; none when there is neither.
    QList<int> commandRows() const;

signals:
    // The current row changed (also by a reload or a removed row); -1 when there is none.
    void currentRowChanged(int row);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;

private:
    void headerClicked(int section);

    ListModel *m_model;
    ListRowPainter *m_painter;
    ListSortRule m_sortRule;
    int m_lastCurrent = -1;
};
