#pragma once

#include <QString>

// Brings one saved receipt to paper, the preview or the designer, on a print style:
// loads the style's report file from AppDir/Print, fills the data sets frxDBDataset1 (the
// header row) and frxDBDataset2 (the lines) under their Chinese field names, and then
// - design: opens the designer on the file (nothing counted or logged);
// - otherwise: when an amount has more digits than the digit fields the style prints, asks
//   whether to print anyway ("询问"; on No nothing is printed, counted or logged); then counts
//   the print in ss_sale.printqty and logs "【打印】单据" in one transaction (rolled back
//   silently on failure), sets the memos Title (company name + custom title) and
//   Myinfo (contact line) where the file has them, and previews (PrintPreview) or prints.
// A style whose row or report file is missing prints nothing and tells the user so. A report
// file that cannot be read raises ReportError before anything is counted; database errors
// while reading raise DbError.
void PrintBill(bool design, int receiptId, const QString &receiptNumber, int styleId);
