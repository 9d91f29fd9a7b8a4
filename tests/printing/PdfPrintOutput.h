#pragma once

#include "printing/PrintOutput.h"
#include "printing/report/PreparedReport.h"

#include <QList>
#include <QString>

// The print pipeline's output in tests: every preview, print or design call is laid out with
// the real fonts, written to a PDF file in a folder, and recorded. Installs itself on
// construction and uninstalls on destruction.
class PdfPrintOutput : public PrintOutput {
public:
    struct Call {
        QString kind; // "preview", "print" or "design"
        Report report;
        QList<ReportDataSet> dataSets;
        PreparedReport prepared;
        QString pdf;
        QString fileName; // design: the report file
    };

    explicit PdfPrintOutput(const QString &folder);
    ~PdfPrintOutput() override;

    const QList<Call> &calls() const { return m_calls; }
    // The value of a field in the first row of a recorded call's data set; empty when absent.
    static QString field(const Call &call, const QString &dataSet, const QString &field, int row = 0);

    void preview(const Report &report, const QList<ReportDataSet> &dataSets) override;
    void print(const Report &report, const QList<ReportDataSet> &dataSets) override;
    void design(const Report &report, const QList<ReportDataSet> &dataSets, const QString &fileName) override;

private:
    void record(const QString &kind, const Report &report, const QList<ReportDataSet> &dataSets,
                const QString &fileName = QString());

    QString m_folder;
    QList<Call> m_calls;
};
