#pragma once

#include "printing/report/PreparedReport.h"
#include "printing/report/Report.h"
#include "printing/report/ReportDataSet.h"
#include "printing/report/TextMeasurer.h"

#include <QList>
#include <QLocale>

// Lays a report out on its data: a function of the report, the data sets and the measurer
// alone. For each report page, in this order: the page headers at the top of every sheet, the
// report title on the first sheet, the data bands in the order of the file (each once per row
// of its data set, once when it names none, never when its data set is missing), the report
// summary after the last row, the page footers at the bottom of every sheet. A band that does
// not fit below the one before starts a new sheet; one taller than an empty sheet is placed
// anyway and cut at the paper's edge, so layout always ends.
//
// Page filling: a data band with rowsPerPage m > 0 starts a new sheet after every m rows when
// more rows follow, and completes the last sheet to m rows with its filler band. n rows give
// ceil(n / m) * m rows in all; none give none.
//
// Memos: a memo's text is drawn inside its box only. A memo that grows with its text
// (autoWidth across, canGrow down) grows up to the nearest object beside or below it in its
// band, else to the band's edge (canGrow in a growing band: to the paper's printable height);
// text that still does not fit is shrunk (shrinkToFit: the font made MemoShrinkStep points
// smaller at a time, down to minFontSize) and what does not fit then is cut off at the box.
// A band grows only when it and a memo in it can grow, so rows of fixed height stay so.
//
// Expressions read the current row of their data set: the row being printed, else the last
// row printed, else the first. Raises ReportError when the report breaks a rule of the model.
PreparedReport PrepareReport(const Report &report, const QList<ReportDataSet> &dataSets,
                             const TextMeasurer &measurer, const QLocale &locale = QLocale());
