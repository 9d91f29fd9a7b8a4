#pragma once

class QAbstractItemView;

// The export behind every "导出Excel" command of the list windows. Asks for a file through
// the save dialog of the service seam and writes the list's visible columns (in their shown
// order, headings first) and visible rows (in their current order, the totals row included):
//  - .xlsx (the default, and for any name not ending in .csv): the heading row bold and
//    frozen, the column widths of the list, and in right-aligned columns every plain decimal
//    number written as a number;
//  - .csv: UTF-8 with a byte-order mark, so that spreadsheet programs show Chinese correctly.
// A cancelled dialog does nothing. A file that cannot be written is reported with one message
// and nothing else changes (an existing file keeps its content).
// Takes any item view: QTreeView/QTableView over a model, and the item widgets QTreeWidget
// and QTableWidget, which are views over their own model.
void ExportList(QAbstractItemView *list);
