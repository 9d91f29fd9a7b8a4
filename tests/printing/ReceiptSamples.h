#pragma once

#include "printing/report/PreparedReport.h"
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

// The same receipt with texts too long for their boxes: 20-character goods names, a
// 12-character unit, a 13-digit quantity, a 26-character receipt number, a 33-character
// paying party, signers of 20 characters and a total of 12,345,678.90 with its capitals.
QList<ReportDataSet> longTexts(int lines);
// A company name that with "收据" makes a title far wider than the paper.
QString longCompanyName();

// Every text of the prepared template that is not inside its memo's box, or whose box is not
// inside the memo's cell: the column of the ruled grid for the row texts, the room up to the
// next text box or rule (or the band's edge) for the fields that grow with their text, the
// box of the file for the rest. Empty when every text is in place.
QStringList textsOutsideTheirCells(const Report &report, const PreparedReport &prepared);

// Inserts such a receipt into the connected test database (ss_sale and ss_saledetail) and
// returns its saleid.
int insertReceipt(int saleId, const QString &billCode, int lines);

// Copies the template to AppDir/Print/fileName.
void installStyleFile(const QString &fileName = QStringLiteral("ss_sale1.fr3"));

} // namespace ReceiptSamples
