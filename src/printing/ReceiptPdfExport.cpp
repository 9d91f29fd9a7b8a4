#include "printing/ReceiptPdfExport.h"

#include "printing/ReceiptReport.h"
#include "printing/report/FontTextMeasurer.h"
#include "printing/report/ReportFile.h"
#include "printing/report/ReportLayout.h"
#include "printing/report/ReportOutput.h"
#include "ui/UiServices.h"

bool ReceiptPdfExport::begin(int styleId) {
    m_pages.pages.clear();
    m_receipts = 0;
    m_begun = false;
    const ReceiptStyle style = LoadReceiptStyle(styleId);
    if (!style.hasFile) {
        ShowInfo(MissingReportFileText);
        return false;
    }
    m_report = LoadReportFile(style.fileName);
    SetCompanyMemos(m_report, style.customTitle);
    m_begun = true;
    return true;
}

void ReceiptPdfExport::add(int receiptId) {
    if (!m_begun)
        return;
    m_pages.pages.append(PrepareReport(m_report, ReadReceiptData(receiptId), FontTextMeasurer()).pages);
    ++m_receipts;
}

void ReceiptPdfExport::write(const QString &fileName) const {
    WritePdf(m_pages, fileName);
}
