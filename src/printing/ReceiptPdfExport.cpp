#include "printing/ReceiptPdfExport.h"

#include "printing/ReceiptReport.h"
#include "printing/report/FontTextMeasurer.h"
#include "printing/report/ReportFile.h"
#include "printing/report/ReportLayout.h"
#include "printing/report/ReportOutput.h"
#include "ui/UiServices.h"

bool ExportReceiptsPdf(const QList<int> &receiptIds, int styleId, const QString &fileName,
                       const std::function<void(int)> &afterEach) {
    const ReceiptStyle style = LoadReceiptStyle(styleId);
    if (!style.hasFile) {
        ShowInfo(MissingReportFileText);
        return false;
    }
    Report report = LoadReportFile(style.fileName);
    SetCompanyMemos(report, style.customTitle);
    const FontTextMeasurer measurer;
    PreparedReport all;
    for (qsizetype i = 0; i < receiptIds.size(); ++i) {
        all.pages.append(PrepareReport(report, ReadReceiptData(receiptIds.at(i)), measurer).pages);
        if (afterEach)
            afterEach(static_cast<int>(i + 1));
    }
    WritePdf(all, fileName);
    return true;
}
