#pragma once

#include "printing/report/Report.h"
#include "printing/report/ReportDataSet.h"

#include <QList>
#include <QString>

// Receipts to print in tests: the delivered template and receipts of n lines, as data sets
// (for the engine alone) or as rows of a test database (for the pipeline).
namespace ReceiptSamples {

// resources/Print_bak/Sample.fr3 of the source tree.
QString templatePath();
Report loadTemplate();

// The header data set (frxDBDataset1) and the line data set (frxDBDataset2) of a receipt with
// the given number of lines, under the pipeline's field names. Line i (from 1) is named
// "商品i", 2.5 pieces at 12.5 each, amount 31.25 spread over the digit fields.
QList<ReportDataSet> dataSets(int lines);

// Inserts such a receipt into the connected test database (ss_sale and ss_saledetail) and
// returns its saleid.
int insertReceipt(int saleId, const QString &billCode, int lines);

// Copies the template to AppDir/Print/fileName.
void installStyleFile(const QString &fileName = QStringLiteral("ss_sale1.fr3"));

} // namespace ReceiptSamples
