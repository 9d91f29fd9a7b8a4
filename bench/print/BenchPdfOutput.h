#pragma once

#include "printing/PrintOutput.h"

#include <QString>

// The pipeline's output in the benchmark: every report laid out and written to one PDF file
// (the same file each time), as a printer would be given it.
class BenchPdfOutput : public PrintOutput {
public:
    explicit BenchPdfOutput(const QString &fileName);
    ~BenchPdfOutput() override;

    int pages() const { return m_pages; }

    void preview(const Report &report, const QList<ReportDataSet> &dataSets) override;
    void print(const Report &report, const QList<ReportDataSet> &dataSets) override;
    void design(const Report &report, const QList<ReportDataSet> &dataSets, const QString &fileName) override;

private:
    QString m_fileName;
    int m_pages = 0;
};
