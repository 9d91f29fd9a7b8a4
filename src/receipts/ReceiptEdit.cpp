#include "receipts/ReceiptEdit.h"

#include "data/DateText.h"
#include "data/DbTransaction.h"
#include "data/OperationLog.h"
#include "data/Sharedm2.h"
#include "receipts/ReceiptSave.h"
#include "receipts/core/AmountRules.h"

QString EditAssignments(const ReceiptDraft &stored, const ReceiptDraft &edited) {
    QString set;
    const auto assign = [&set](const char *column, const QString &text) {
        set += QString::fromLatin1(column) + u'=' + QuotedText(text) + u',';
    };
    if (DateText(stored.billDate) != DateText(edited.billDate))
        assign("billdate", DateText(edited.billDate));
    if (stored.billCode != edited.billCode)
        assign("billcode", edited.billCode);
    if (stored.companyName != edited.companyName) {
        AddPayingPartyIfNew(edited.companyName, edited.linkman, edited.phone, edited.adr);
        assign("companyname", edited.companyName);
    }
    const struct {
        const char *column;
        const QString &before;
        const QString &after;
    } contacts[] = {
        {"linkman", stored.linkman, edited.linkman},
        {"phone", stored.phone, edited.phone},
        {"adr", stored.adr, edited.adr},
        {"zgname", stored.zgName, edited.zgName},
        {"kjname", stored.kjName, edited.kjName},
        {"skrname", stored.skrName, edited.skrName},
    };
    for (const auto &field : contacts)
        if (field.before != field.after)
            assign(field.column, field.after);
    if (stored.skfsName != edited.skfsName) {
        if (!edited.skfsName.isEmpty())
            AddPaymentMethodIfNew(edited.skfsName);
        assign("skfsname", edited.skfsName);
    }
    if (stored.remark != edited.remark)
        assign("remark", edited.remark);

    set += QStringLiteral("totalamt=") + BareNumber(edited.total) + u',';
    assign("cnamt", edited.capitals);
    const double total = NumberOf(edited.total);
    static const char *const digitColumns[] = {"f1", "j1", "y1", "s1", "b1", "q1", "w1", "sw1", "bw1", "qw1"};
    for (int place = 0; place <= 9; ++place)
        assign(digitColumns[place], AmountDigit(place, total));
    set.chop(1); // the last comma
    return set;
}

void SaveEditedReceipt(int saleId, const ReceiptDraft &stored, const ReceiptDraft &edited) {
    DbTransaction transaction(ShareDM1->ShareConn);
    WriteLog(LogChangedReceipt, edited.billCode, saleId, 1);
    const QString key = QString::number(saleId);
    ExecuteStatement(QStringLiteral("update ss_sale set ") + EditAssignments(stored, edited) +
                     QStringLiteral(" where saleid=") + key);
    ExecuteStatement(QStringLiteral("delete from ss_saledetail where saleid=") + key);
    InsertReceiptLines(saleId, edited.lines);
    AddLineMasterData(edited.lines);
    transaction.commit();
}
