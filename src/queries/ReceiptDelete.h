#pragma once

#include <QString>

// Deletes one receipt in a transaction of its own: the log row "【删除】单据", the header row,
// then its lines. All or nothing: false (and everything as it was) on any error.
bool DeleteReceipt(int saleId, const QString &billCode);

// The line of the failure list naming a receipt that could not be deleted.
QString DeleteFailureLine(const QString &billCode);

// How often a receipt was printed (0 when there is no such receipt). Raises DbError.
int ReceiptPrintCount(int saleId);
