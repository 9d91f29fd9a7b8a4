#include "queries/ReceiptRowReader.h"

#include "data/DbQuery.h"
#include "data/Sharedm2.h"
#include "queries/HistoryColumns.h"

#include <limits>

ReceiptRowReader::ReceiptRowReader(Kind kind)
    : m_kind(kind)
    , m_query(std::make_unique<DbQuery>(ShareDM1->ShareConn)) {}

ReceiptRowReader::~ReceiptRowReader() = default;

bool ReceiptRowReader::open(const QString &statement) {
    try {
        m_query->open(statement);
    } catch (const std::exception &) {
        m_query->close();
        return false;
    }
    const QList<HistoryColumn> &columns = m_kind == Kind::Receipts ? ReceiptColumns : LineColumns;
    m_cells.clear();
    for (const HistoryColumn &column : columns)
        m_cells.push_back(m_query->fieldIndex(column.field));
    m_saleId = m_query->fieldIndex(u"saleid");
    m_billCode = m_query->fieldIndex(u"billcode");
    m_printQty = m_query->fieldIndex(u"printqty");
    m_lineId = m_query->fieldIndex(u"saledetailid");
    return true;
}

bool ReceiptRowReader::atEnd() const {
    return !m_query->isOpen() || m_query->eof();
}

void ReceiptRowReader::close() {
    m_query->close();
}

ListRow ReceiptRowReader::current() const {
    ListRow row;
    row.cells.reserve(static_cast<qsizetype>(m_cells.size()));
    for (const int index : m_cells)
        row.cells.append(index < 0 ? QString() : m_query->textAt(index));
    if (m_kind == Kind::Receipts) {
        row.hidden = {m_query->textAt(m_billCode), m_query->textAt(m_saleId)};
        if (m_query->integerAt(m_printQty) > 0)
            row.image = PrintedImage;
    } else {
        row.hidden = {m_query->textAt(m_saleId), m_query->textAt(m_lineId)};
    }
    return row;
}

std::vector<ListRow> ReceiptRowReader::read(int maxRows, int budgetMs) {
    std::vector<ListRow> rows;
    if (atEnd()) {
        close();
        return rows;
    }
    QElapsedTimer clock;
    clock.start();
    while (!m_query->eof() && static_cast<int>(rows.size()) < maxRows) {
        rows.push_back(current());
        m_query->next();
        // Looking at the clock every 64 rows costs nothing measurable.
        if (budgetMs > 0 && (rows.size() & 63) == 0 && clock.elapsed() >= budgetMs)
            break;
    }
    if (m_query->eof())
        close();
    return rows;
}
