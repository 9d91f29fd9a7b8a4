#include "PdfPrintOutput.h"

#include "printing/report/FontTextMeasurer.h"
#include "printing/report/ReportLayout.h"
#include "printing/report/ReportOutput.h"

PdfPrintOutput::PdfPrintOutput(const QString &folder)
    : m_folder(folder) {
    PrintOutput::install(this);
}

PdfPrintOutput::~PdfPrintOutput() {
    PrintOutput::install(nullptr);
}

QString PdfPrintOutput::field(const Call &call, const QString &dataSet, const QString &field, int row) {
    for (const ReportDataSet &data : call.dataSets)
        if (data.name == dataSet && row < data.rows.size())
            return data.rows.at(row).value(data.fieldIndex(field)).toString();
    return {};
}

void PdfPrintOutput::preview(const Report &report, const QList<ReportDataSet> &dataSets) {
    record(QStringLiteral("preview"), report, dataSets);
}

void PdfPrintOutput::print(const Report &report, const QList<ReportDataSet> &dataSets) {
    record(QStringLiteral("print"), report, dataSets);
}

void PdfPrintOutput::design(const Report &report, const QList<ReportDataSet> &dataSets,
                            const QString &fileName) {
    record(QStringLiteral("design"), report, dataSets, fileName);
}

void PdfPrintOutput::record(const QString &kind, const Report &report, const QList<ReportDataSet> &dataSets,
                            const QString &fileName) {
    Call call{kind,      report,  dataSets, PrepareReport(report, dataSets, FontTextMeasurer()),
              QString(), fileName};
    call.pdf = QStringLiteral("%1/%2-%3.pdf").arg(m_folder, kind).arg(m_calls.size() + 1);
    WritePdf(call.prepared, call.pdf);
    m_calls.append(call);
}
