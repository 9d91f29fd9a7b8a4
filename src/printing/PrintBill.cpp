#include "printing/PrintBill.h"

#include "data/DbTransaction.h"
#include "data/Globals.h"
#include "data/OperationLog.h"
#include "data/Sharedm2.h"
#include "printing/DigitFields.h"
#include "printing/PrintOutput.h"
#include "printing/ReceiptReport.h"
#include "printing/report/ReportFile.h"
#include "ui/UiServices.h"

namespace {

// Counts the print and logs it, both or neither; a failure is not the printer's concern.
void countPrint(int receiptId, const QString &receiptNumber) {
    try {
        DbTransaction transaction(ShareDM1->ShareConn);
        WriteLog(LogPrintedReceipt, receiptNumber, receiptId, 1);
        DbQuery &update = ShareDM1->ShareUpdate1;
        update.execSql(QStringLiteral("update ss_sale set printqty=printqty+1 where saleid=") +
                       QString::number(receiptId));
        transaction.commit();
    } catch (const std::exception &) {
        // rolled back by the guard; the receipt still prints
    }
}

// An amount too large for the digit boxes of the style would print without its high digits:
// the user decides. True when nothing stands in the way of printing.
bool amountsFitOrPrintAnyway(const Report &report, const QList<ReportDataSet> &dataSets) {
    const QList<AmountBeyondDigits> beyond = AmountsBeyondDigitFields(report, dataSets);
    if (beyond.isEmpty())
        return true;
    QStringList lines{QStringLiteral("以下金额超出打印样式的数字格，超出的高位数字打印不出来：")};
    for (const AmountBeyondDigits &b : beyond) {
        const bool header = b.dataSet.compare(ReceiptHeaderDataSet, Qt::CaseInsensitive) == 0;
        for (const ReportDataSet &data : dataSets)
            if (data.name == b.dataSet) {
                const QString amount =
                    data.rows.at(b.row)
                        .value(data.fieldIndex(header ? QStringLiteral("总金额") : QStringLiteral("金额")))
                        .toString();
                lines << (header ? QStringLiteral("合计金额%1").arg(amount)
                                 : QStringLiteral("第%1行金额%2").arg(b.row + 1).arg(amount)) +
                             QStringLiteral("（数字格最高为%1位）").arg(DigitFieldNames.at(b.highestPlace));
            }
    }
    lines << QStringLiteral("是否仍然打印？");
    return AskYesNo(lines.join(u'\n'));
}

} // namespace

void PrintBill(bool design, int receiptId, const QString &receiptNumber, int styleId) {
    ShareDM1->PrintQuery1.close();
    ShareDM1->PrintQuery2.close();

    // A style without its file would print an empty page and count it: say so instead.
    const ReceiptStyle style = LoadReceiptStyle(styleId);
    if (!style.hasFile) {
        ShowInfo(MissingReportFileText);
        return;
    }
    Report report = LoadReportFile(style.fileName);
    const QList<ReportDataSet> dataSets = ReadReceiptData(receiptId);

    if (design) {
        PrintOutput::current().design(report, dataSets, style.fileName);
        return;
    }

    if (!amountsFitOrPrintAnyway(report, dataSets))
        return;
    countPrint(receiptId, receiptNumber);
    SetCompanyMemos(report, style.customTitle);
    if (PrintPreview)
        PrintOutput::current().preview(report, dataSets);
    else
        PrintOutput::current().print(report, dataSets);
}
