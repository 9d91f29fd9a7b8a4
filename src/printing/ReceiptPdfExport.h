#pragma once

#include <QList>
#include <QString>
#include <functional>

// Writes saved receipts, one after another in the order given, into one PDF file on one print
// style, laid out as they would print. Nothing goes to paper, so no print is counted and no log
// row is written. afterEach(n) runs after the n-th receipt is laid out (for a progress bar).
// Returns false, having said "报表文件不存在或丢失！", when the style has no report file.
// Raises ReportError when the file cannot be written or the report is broken, DbError on a
// database error; the file is written only once every receipt is laid out.
bool ExportReceiptsPdf(const QList<int> &receiptIds, int styleId, const QString &fileName,
                       const std::function<void(int)> &afterEach = {});
