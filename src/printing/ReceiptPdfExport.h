#pragma once

#include "printing/report/PreparedReport.h"
#include "printing/report/Report.h"

#include <QString>

// Saved receipts written one after another into one PDF file on one print style, laid out as
// they would print. Nothing goes to paper, so no print is counted and no log row is written.
//   ReceiptPdfExport pdf;
//   if (pdf.begin(styleId)) { for (id : ids) pdf.add(id); pdf.write(fileName); }
class ReceiptPdfExport {
public:
    // Loads the style's report file. False, having said "报表文件不存在或丢失！", when the style
    // has none. Raises ReportError for a broken report file, DbError on a database error.
    bool begin(int styleId);
    // Lays out one receipt behind the ones before. Raises DbError or ReportError.
    void add(int receiptId);
    int receipts() const { return m_receipts; }
    int pages() const { return static_cast<int>(m_pages.pages.size()); }
    // Writes every page laid out so far. Raises ReportError when the file cannot be written.
    void write(const QString &fileName) const;

private:
    Report m_report;
    PreparedReport m_pages;
    int m_receipts = 0;
    bool m_begun = false;
};
