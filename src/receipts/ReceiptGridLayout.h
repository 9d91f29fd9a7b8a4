#pragma once

#include <QString>

#include <array>

// Keys of the line grid's columns (g_config.defaultcaption): a column's identity wherever the
// user has moved or renamed it.
namespace GridKey {
inline const QString Code = QStringLiteral("编号");
inline const QString Name = QStringLiteral("名称");
inline const QString Model = QStringLiteral("规格型号");
inline const QString Unit = QStringLiteral("单位");
inline const QString Quantity = QStringLiteral("数量");
inline const QString Price = QStringLiteral("单价");
inline const QString Amount = QStringLiteral("金额");
inline const QString Remark = QStringLiteral("备注");
} // namespace GridKey

struct GridColumn {
    int width = 0;   // pixels; 0 or less hides the column
    QString caption; // heading shown, quoted by the save's messages
    QString key;     // identity
};

// The columns of the receipt line grid as configured for "单据录入明细": column 0 shows the row
// numbers, columns 1 to 8 the line fields in the user's order.
class ReceiptGridLayout {
public:
    static constexpr int ColumnCount = 9;
    static constexpr int LastColumn = ColumnCount - 1;

    // Reads g_config on ShareQuery1 (and closes it): the i-th row configures column i. Rows
    // beyond the ninth have no column; columns without a row stay hidden and keyless. A
    // configuration without any row gives the factory layout, so that the grid stays usable.
    // Database errors raise DbError.
    static ReceiptGridLayout load();
    // The layout a new database is seeded with.
    static ReceiptGridLayout factory();

    // The first column with this key; 0 (the row-number column) when none has it.
    int columnOf(const QString &key) const;
    const GridColumn &column(int index) const { return m_columns.at(static_cast<size_t>(index)); }
    void setColumn(int index, const GridColumn &column) { m_columns.at(static_cast<size_t>(index)) = column; }
    bool isVisible(int index) const { return column(index).width > 0; }
    // The heading of the column with this key (the key itself when no column has it).
    QString captionOf(const QString &key) const;

private:
    std::array<GridColumn, ColumnCount> m_columns{};
};
