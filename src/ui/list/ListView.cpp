#include "ui/list/ListView.h"

#include "ui/list/ListModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

ListView::ListView(const ListColumns &columns, QWidget *parent)
    : QTreeView(parent)
    , m_model(new ListModel(columns, this))
    , m_painter(new ListRowPainter(this)) {
    setModel(m_model);
    setItemDelegate(m_painter);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);    // row heights are not measured: fills and scrolls stay fast
    setAllColumnsShowFocus(false); // the row colours show the selection: no translucent focus frame over them
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(false); // the painter stripes
    setSortingEnabled(false);       // the sorting rule sorts, on header clicks
    QHeaderView *head = header();
    head->setSectionsMovable(false);
    head->setSectionsClickable(true);
    head->setStretchLastSection(false);
    head->setSortIndicatorShown(false);
    for (int c = 0; c < columns.size(); ++c) {
        head->resizeSection(c, columns[c].width);
    }
    connect(head, &QHeaderView::sectionClicked, this, &ListView::headerClicked);
    connect(m_painter, &ListRowPainter::tickClicked, this, &ListView::toggleTick);
    // A reload or a removal can change the current row without currentChanged().
    const auto follow = [this] {
        const int row = currentRow();
        if (row != m_lastCurrent) {
            m_lastCurrent = row;
            emit currentRowChanged(row);
        }
    };
    connect(m_model, &QAbstractItemModel::modelReset, this, follow);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, follow);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, follow);
    connect(m_model, &QAbstractItemModel::modelReset, this,
            [this] { header()->setSortIndicatorShown(false); }); // a new load is in query order
}

void ListView::setStripe(const QColor &stripe) {
    m_painter->setStripe(stripe);
    viewport()->update();
}

void ListView::setSelectionLook(ListRowPainter::Selection selection) {
    m_painter->setSelection(selection);
    viewport()->update();
}

void ListView::setCheckable(bool checkable) {
    m_model->setCheckable(checkable);
}

void ListView::setMultiSelection(bool multi) {
    setSelectionMode(multi ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

int ListView::currentRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void ListView::selectRow(int row) {
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clear();
        return;
    }
    const QModelIndex index = m_model->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void ListView::toggleTick(int row) {
    if (!m_model->checkable() || row < 0 || row >= m_model->rowCount())
        return;
    const bool ticked = !m_model->ticked(row);
    m_model->setTicked(row, ticked);
    const QModelIndexList selected = selectionModel()->selectedRows();
    if (selected.size() < 2 || !selectionModel()->isRowSelected(row, QModelIndex()))
        return;
    for (const QModelIndex &index : selected)
        m_model->setTicked(index.row(), ticked);
}

void ListView::tickAll() {
    m_model->setAllTicked(true);
}

void ListView::clearTicks() {
    m_model->setAllTicked(false);
}

void ListView::invertTicks() {
    m_model->invertTicks();
}

QList<int> ListView::commandRows() const {
    if (m_model->tickedCount() > 0)
        return m_model->tickedRows();
    const int row = currentRow();
    if (row < 0 || !selectionModel()->isRowSelected(row, QModelIndex()))
        return {};
    return {row};
}

void ListView::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && m_model->checkable()) {
        toggleTick(currentRow());
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void ListView::currentChanged(const QModelIndex &current, const QModelIndex &previous) {
    QTreeView::currentChanged(current, previous);
    const int row = current.isValid() ? current.row() : -1;
    if (row != m_lastCurrent) {
        m_lastCurrent = row;
        emit currentRowChanged(row);
    }
}

void ListView::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                           const QList<int> &roles) {
    // Ticks and images of many rows at once ("全选" over 100,000 rows): the tree view would
    // walk every row to refresh its height cache and child marks, though list rows have one
    // height and no children. Repainting is all they need.
    const bool paintOnly = !roles.isEmpty() && std::all_of(roles.begin(), roles.end(), [](int role) {
        return role == Qt::CheckStateRole || role == Qt::DecorationRole;
    });
    if (paintOnly && topLeft.row() != bottomRight.row()) {
        viewport()->update();
        return;
    }
    QTreeView::dataChanged(topLeft, bottomRight, roles);
}

void ListView::headerClicked(int section) {
    m_sortRule.click(*m_model, section);
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(section, m_sortRule.order());
}
