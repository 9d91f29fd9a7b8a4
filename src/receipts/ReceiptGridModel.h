#pragma once

#include "receipts/ReceiptDraft.h"
#include "receipts/ReceiptGridLayout.h"
#include "receipts/core/AmountRules.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// The cells of the receipt line grid. Rows and columns are counted as on screen: row 0 is the
// heading (the model's header), rows 1 to lineCount() the lines; column 0 shows the row number,
// columns 1 to 8 the fields in the layout's order. Model row i is grid row i + 1.
class ReceiptGridModel : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReceiptGridModel)

public:
    explicit ReceiptGridModel(QObject *parent = nullptr);

    // New columns and lineCount empty lines.
    void prepare(const ReceiptGridLayout &layout, int lineCount);
    // More empty lines at the end (a copied receipt longer than the grid); never fewer.
    void growTo(int lineCount);

    const ReceiptGridLayout &gridLayout() const { return m_layout; }
    int lineCount() const { return static_cast<int>(m_cells.size()); }

    // A cell's text; empty outside the lines and in column 0.
    QString cell(int col, int row) const;
    // Sets a line cell; column 0 and places outside the lines are left alone.
    void setCell(int col, int row, const QString &text);
    QString field(const QString &key, int row) const { return cell(m_layout.columnOf(key), row); }
    void setField(const QString &key, int row, const QString &text) {
        setCell(m_layout.columnOf(key), row, text);
    }
    // Empties columns 1 to 8 of a line.
    void clearRow(int row);

    ReceiptLine line(int row) const;
    void setLine(int row, const ReceiptLine &line);
    // Every line from row 1, rows without a code included.
    QList<ReceiptLine> lines() const;
    // What the receipt total reads: code and amount of every line.
    QList<ReceiptLineCells> totalCells() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    ReceiptGridLayout m_layout;
    QList<QStringList> m_cells; // per line, columns 0 to 8 (column 0 unused)
};
