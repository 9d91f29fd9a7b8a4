#pragma once

#include "ui/list/ListColumn.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>
#include <QStringList>
#include <memory>
#include <vector>

// One row of a list: the texts of its cells and the values it carries without showing them.
struct ListRow {
    QStringList cells;  // one text per column, in column order; missing cells show empty
    QStringList hidden; // values without a column (the key, a receipt number), read back by index
    int image = -1;     // index into the model's images, shown in column 0; -1 for none
    bool ticked = false;
};

// The model of every list window: read-only text cells described by a ListColumns, hidden
// values per row, an optional image and, when the list is checkable, a check box per row in
// column 0 with the count of ticked rows.
//
// Fill it with setRows() (one reset), or with setRows() for the first screen and appendRows()
// for the rest in chunks. sort() orders the rows by the list sorting rule: text columns
// ignore the case of a-z and otherwise compare UTF-16 code units; numeric columns compare
// numbers, two numbers closer than 0.0001 counting as equal, and a cell that is not a number
// comes before every number in ascending order. Equal rows keep their order. The sort keys
// of a column are computed once, at its first sort after a fill, not per comparison.
class ListModel : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListModel)

public:
    // data(index(row, c), HiddenRole + i) gives hidden value i of the row, in any column.
    static constexpr int HiddenRole = Qt::UserRole + 1000;

    explicit ListModel(const ListColumns &columns, QObject *parent = nullptr);
    ~ListModel() override;

    const ListColumns &columns() const { return m_columns; }

    // Check boxes in column 0. Switching them off clears every tick.
    void setCheckable(bool checkable);
    bool checkable() const { return m_checkable; }
    // The images rows refer to by ListRow::image (for example the receipt states).
    void setImages(const QList<QIcon> &images);

    // Replaces every row. Ticks are taken from the rows (a checkable list counts them).
    void setRows(std::vector<ListRow> rows);
    // Adds rows at the end, in their order (the rest of a long list behind its first screen).
    void appendRows(std::vector<ListRow> rows);
    void appendRow(ListRow row);
    // Rewrites one row (its cells, hidden values, image; its tick stays).
    void setRow(int row, ListRow value);
    void clear();

    const ListRow &row(int row) const { return m_items[static_cast<size_t>(row)].row; }
    QString cell(int row, int column) const;
    // Hidden value of a row; empty when the row carries fewer.
    QString hidden(int row, int index) const;
    // The first row whose hidden value index equals value; -1 when none does.
    int findHidden(int index, const QString &value) const;
    void setImage(int row, int image);

    bool ticked(int row) const;
    void setTicked(int row, bool ticked);
    // Ticks all rows ("全选") or clears all ("全清").
    void setAllTicked(bool ticked);
    // Inverts every tick ("反选").
    void invertTicks();
    int tickedCount() const { return m_tickedCount; }
    // The ticked rows, top to bottom.
    QList<int> tickedRows() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Only the check state of column 0 can be set.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

signals:
    void tickedCountChanged(int count);

private:
    struct Item {
        ListRow row;
        quint32 id; // stable across sorts: indexes the sort keys
    };
    struct SortKeys; // per column, indexed by Item::id

    void setTickedCount(int count);
    int countTicks() const;
    void emitRowsChanged(int first, int last, const QList<int> &roles);
    const SortKeys &keysOf(int column);
    void updateKeys(const Item &item);

    ListColumns m_columns;
    QList<QIcon> m_images;
    std::vector<Item> m_items;
    quint32 m_nextId = 0;
    bool m_checkable = false;
    int m_tickedCount = 0;
    std::vector<std::unique_ptr<SortKeys>> m_keys; // per column, made at its first sort
};
