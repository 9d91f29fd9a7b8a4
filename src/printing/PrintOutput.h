#pragma once

#include "printing/report/Report.h"
#include "printing/report/ReportDataSet.h"

#include <QList>
#include <QString>

// Where a report goes once the print pipeline has filled it: the preview window, the printer
// or the designer. The program uses QtPrintOutput; tests install one that writes PDF files, so
// that no modal window or printer is needed.
class PrintOutput {
public:
    virtual ~PrintOutput() = default;

    // Shows the report in the modal preview window; returns when the window closes.
    virtual void preview(const Report &report, const QList<ReportDataSet> &dataSets) = 0;
    // Prints at once, without a dialog, on the report's printer (the default one when it
    // names none). Raises ReportError when there is no printer to print on.
    virtual void print(const Report &report, const QList<ReportDataSet> &dataSets) = 0;
    // Opens the report file in the designer (modal), with the data sets' fields to choose from.
    virtual void design(const Report &report, const QList<ReportDataSet> &dataSets,
                        const QString &fileName) = 0;

    static PrintOutput &current();
    // Installs an output (not owned); nullptr returns to the Qt one.
    static void install(PrintOutput *output);
};
