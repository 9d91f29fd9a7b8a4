#include "printing/QtPrintOutput.h"

#include "printing/ReportPreview.h"
#include "printing/report/FontTextMeasurer.h"
#include "printing/report/ReportError.h"
#include "printing/report/ReportLayout.h"
#include "printing/report/ReportOutput.h"

#include <QApplication>
#include <QPrinter>
#include <QPrinterInfo>

void QtPrintOutput::preview(const Report &report, const QList<ReportDataSet> &dataSets) {
    ReportPreview preview(report, dataSets, QApplication::activeWindow());
    preview.exec();
}

void QtPrintOutput::print(const Report &report, const QList<ReportDataSet> &dataSets) {
    const PreparedReport prepared = PrepareReport(report, dataSets, FontTextMeasurer());
    QPrinterInfo info =
        report.printerName.isEmpty() ? QPrinterInfo() : QPrinterInfo::printerInfo(report.printerName);
    if (info.isNull())
        info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        throw ReportError(QStringLiteral("没有可用的打印机，无法打印。"));
    QPrinter printer(info, QPrinter::HighResolution);
    PrintPages(prepared, printer);
}

void QtPrintOutput::design(const Report &report, const QList<ReportDataSet> &dataSets, const QString &) {
    preview(report, dataSets);
}
