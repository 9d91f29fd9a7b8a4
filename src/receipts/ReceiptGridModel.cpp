#include "receipts/ReceiptGridModel.h"

#include <QBrush>
#include <QColor>
#include <QGuiApplication>
#include <QPalette>

namespace {
QStringList emptyLine() {
    return QStringList(ReceiptGridLayout::ColumnCount, QString());
}
} // namespace

ReceiptGridModel::ReceiptGridModel(QObject *parent)
    : QAbstractTableModel(parent) {}

void ReceiptGridModel::prepare(const ReceiptGridLayout &layout, int lineCount) {
    beginResetModel();
    m_layout = layout;
    m_cells = QList<QStringList>(qMax(0, lineCount), emptyLine());
    endResetModel();
}

void ReceiptGridModel::growTo(int lineCount) {
    if (lineCount <= this->lineCount())
        return;
    beginInsertRows(QModelIndex(), this->lineCount(), lineCount - 1);
    while (this->lineCount() < lineCount)
        m_cells.append(emptyLine());
    endInsertRows();
}

QString ReceiptGridModel::cell(int col, int row) const {
    if (col < 1 || col >= ReceiptGridLayout::ColumnCount || row < 1 || row > lineCount())
        return QString();
    return m_cells[row - 1][col];
}

void ReceiptGridModel::setCell(int col, int row, const QString &text) {
    if (col < 1 || col >= ReceiptGridLayout::ColumnCount || row < 1 || row > lineCount())
        return;
    QString &cell = m_cells[row - 1][col];
    if (cell == text)
        return;
    cell = text;
    const QModelIndex changed = index(row - 1, col);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

void ReceiptGridModel::clearRow(int row) {
    for (int col = 1; col < ReceiptGridLayout::ColumnCount; ++col)
        setCell(col, row, QString());
}

ReceiptLine ReceiptGridModel::line(int row) const {
    return ReceiptLine{field(GridKey::Code, row),   field(GridKey::Name, row),     field(GridKey::Model, row),
                       field(GridKey::Unit, row),   field(GridKey::Quantity, row), field(GridKey::Price, row),
                       field(GridKey::Amount, row), field(GridKey::Remark, row)};
}

void ReceiptGridModel::setLine(int row, const ReceiptLine &line) {
    setField(GridKey::Code, row, line.code);
    setField(GridKey::Name, row, line.name);
    setField(GridKey::Model, row, line.model);
    setField(GridKey::Unit, row, line.unit);
    setField(GridKey::Quantity, row, line.quantity);
    setField(GridKey::Price, row, line.price);
    setField(GridKey::Amount, row, line.amount);
    setField(GridKey::Remark, row, line.remark);
}

QList<ReceiptLine> ReceiptGridModel::lines() const {
    QList<ReceiptLine> all;
    all.reserve(lineCount());
    for (int row = 1; row <= lineCount(); ++row)
        all.append(line(row));
    return all;
}

QList<ReceiptLineCells> ReceiptGridModel::totalCells() const {
    const int code = m_layout.columnOf(GridKey::Code);
    const int amount = m_layout.columnOf(GridKey::Amount);
    QList<ReceiptLineCells> cells;
    cells.reserve(lineCount());
    for (int row = 1; row <= lineCount(); ++row)
        cells.append(ReceiptLineCells{cell(code, row), cell(amount, row)});
    return cells;
}

int ReceiptGridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : lineCount();
}

int ReceiptGridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ReceiptGridLayout::ColumnCount;
}

QVariant ReceiptGridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid())
        return QVariant();
    const int row = index.row() + 1;
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return col == 0 ? QString::number(row) : cell(col, row);
    case Qt::TextAlignmentRole:
        return col == 0 ? QVariant(Qt::AlignCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        // The row numbers look like the heading; every second line is tinted.
        if (col == 0)
            return QGuiApplication::palette().brush(QPalette::Button);
        if (row % 2 == 0)
            return QBrush(QColor(255, 240, 244));
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant ReceiptGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ReceiptGridLayout::ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_layout.column(section).caption;
    if (role == Qt::TextAlignmentRole)
        return QVariant(Qt::AlignCenter);
    return QVariant();
}

Qt::ItemFlags ReceiptGridModel::flags(const QModelIndex &index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
