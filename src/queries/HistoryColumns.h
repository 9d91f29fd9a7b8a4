#pragma once

#include "ui/list/ListColumn.h"

#include <QList>
#include <QString>
#include <QStringList>

class DbQuery;

// One column of the receipt query's lists: heading, width in pixels, alignment, and the
// database column it shows.
struct HistoryColumn {
    QString caption;
    int width;
    bool rightAligned;
    QString field;
};

// The receipt list: receipt number first, print count last.
extern const QList<HistoryColumn> ReceiptColumns;
inline constexpr int PrintQtyColumn = 14;
// The line list of the selected receipt.
extern const QList<HistoryColumn> LineColumns;

// The list kit's description of the columns.
ListColumns ListColumnsOf(const QList<HistoryColumn> &columns);

// The cells of the current row of a query, one per column, as plain text (numbers in their
// general form, dates as stored).
QStringList RowCells(const DbQuery &query, const QList<HistoryColumn> &columns);
