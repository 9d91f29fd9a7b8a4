#pragma once

#include "receipts/ReceiptDraft.h"

#include <QList>
#include <QString>

struct SavedReceipt {
    int saleId = 0;
    QString billCode;
};

// Writes a checked new receipt in one transaction on the shared connection: its number (the
// draft's, or rule 4 of the numbering when that is empty), its key, the log row "【新增】单据",
// the ss_sale row, one ss_saledetail row per grid row with a code, and the paying party,
// payment method, goods, units and remark phrases not yet known. The operator stored is
// OperatorName. Every text reaches the statements through QuoteSql; quantity, price and amount
// go in bare as typed, and a text that is not a number fails the save. Any failure rolls
// everything back (key counters, master data and the log row included) and raises.
SavedReceipt SaveNewReceipt(const ReceiptDraft &draft);

// The pieces of a receipt save, for the callers' own transactions.

// Adds the paying party when no aa_company row has this name: a rule-2 code, its spell code and
// the contact details. An existing party is left as it is.
void AddPayingPartyIfNew(const QString &name, const QString &linkman, const QString &phone,
                         const QString &adr);
// Adds the payment method when no aa_chargetype row has this name.
void AddPaymentMethodIfNew(const QString &name);
// Inserts an ss_saledetail row, under a new key, for every line with a code, in order.
void InsertReceiptLines(int saleId, const QList<ReceiptLine> &lines);
// Adds the goods (by code), units and remark phrases of the lines that are not yet known; a
// code, unit or phrase used on several lines is added once, from its first line.
void AddLineMasterData(const QList<ReceiptLine> &lines);
// The ten digit columns f1 … qw1 of an amount as quoted values: "'0','5','2','1','','',…".
QString DigitValues(double amount);
// The number a text holds; raises when it holds none.
double NumberOf(const QString &text);
// A text as a statement value: between single quotes, through QuoteSql.
QString QuotedText(const QString &text);
// A number cell or box as typed, for a bare number in a statement, once it has read as a
// number (raises otherwise), so that nothing else can reach the statement.
QString BareNumber(const QString &text);
// Runs a statement on the shared connection.
void ExecuteStatement(const QString &statement);
