#pragma once

#include "ui/list/ListModel.h"

#include <QElapsedTimer>
#include <memory>
#include <vector>

class DbQuery;

// Reads the rows of the receipt query's lists from a query object of its own on the shared
// connection, so that a long list can come in chunks behind its first screen while the shared
// queries serve everything else. A receipt row carries the receipt number and the key as its
// hidden values and the printed mark (image 1) once it was printed; a line row carries the
// receipt key and the line key.
class ReceiptRowReader {
public:
    enum class Kind { Receipts, Lines };
    static constexpr int PrintedImage = 1;
    static constexpr int HiddenBillCode = 0; // receipt rows
    static constexpr int HiddenSaleId = 1;
    static constexpr int HiddenLineId = 1; // line rows: saleid, saledetailid

    explicit ReceiptRowReader(Kind kind);
    ~ReceiptRowReader();
    ReceiptRowReader(const ReceiptRowReader &) = delete;
    ReceiptRowReader &operator=(const ReceiptRowReader &) = delete;

    // Runs the statement; false (nothing open) when it failed.
    bool open(const QString &statement);
    bool atEnd() const;
    // Up to maxRows further rows, stopping early once budgetMs have passed (0: no limit).
    // Closes the query after its last row.
    std::vector<ListRow> read(int maxRows, int budgetMs = 0);
    // Every row that is left.
    std::vector<ListRow> readAll() { return read(std::numeric_limits<int>::max()); }
    void close();

private:
    ListRow current() const;

    Kind m_kind;
    std::unique_ptr<DbQuery> m_query;
    std::vector<int> m_cells; // column index per shown cell
    int m_billCode = -1, m_saleId = -1, m_lineId = -1, m_printQty = -1;
};
