#include "BenchPdfOutput.h"

#include "printing/report/FontTextMeasurer.h"
#include "printing/report/ReportLayout.h"
#include "printing/report/ReportOutput.h"

BenchPdfOutput::BenchPdfOutput(const QString &fileName)
    : m_fileName(fileName) {
    PrintOutput::install(this);
}

BenchPdfOutput::~BenchPdfOutput() {
    PrintOutput::install(nullptr);
}

void BenchPdfOutput::preview(const Report &report, const QList<ReportDataSet> &dataSets) {
    print(report, dataSets);
}

void BenchPdfOutput::print(const Report &report, const QList<ReportDataSet> &dataSets) {
    const PreparedReport prepared = PrepareReport(report, dataSets, FontTextMeasurer());
    WritePdf(prepared, m_fileName);
    m_pages = int(prepared.pages.size());
}

void BenchPdfOutput::design(const Report &report, const QList<ReportDataSet> &dataSets, const QString &) {
    print(report, dataSets);
}
