#pragma once

#include "printing/PrintOutput.h"

// The program's output: the preview window, the system's printers. Until the report designer
// exists, design shows the preview of the report on its (empty) data.
class QtPrintOutput : public PrintOutput {
public:
    void preview(const Report &report, const QList<ReportDataSet> &dataSets) override;
    void print(const Report &report, const QList<ReportDataSet> &dataSets) override;
    void design(const Report &report, const QList<ReportDataSet> &dataSets, const QString &fileName) override;
};
