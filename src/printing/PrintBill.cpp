#include "printing/PrintBill.h"

#include "data/DbTransaction.h"
#include "data/Globals.h"
#include "data/OperationLog.h"
#include "data/Sharedm2.h"
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

    countPrint(receiptId, receiptNumber);
    SetCompanyMemos(report, style.customTitle);
    if (PrintPreview)
        PrintOutput::current().preview(report, dataSets);
    else
        PrintOutput::current().print(report, dataSets);
}
