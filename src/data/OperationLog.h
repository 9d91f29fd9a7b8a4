#pragma once

#include <QString>

// Operation texts of the receipt log.
inline const QString LogNewReceipt = QStringLiteral("【新增】单据");
inline const QString LogChangedReceipt = QStringLiteral("【修改】单据");
inline const QString LogPrintedReceipt = QStringLiteral("【打印】单据");
inline const QString LogDeletedReceipt = QStringLiteral("【删除】单据");

// Writes one row of xt_log inside the caller's transaction, before the operation's own
// statements, so that a rolled-back operation takes its log row and key with it.
// Never reports a failure and never interrupts the operation being logged.
void WriteLog(const QString &content, const QString &billCode, int billId, int logFlag);
