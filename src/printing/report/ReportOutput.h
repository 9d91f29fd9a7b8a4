#pragma once

#include "printing/report/PreparedReport.h"

#include <QImage>
#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;
class QPrinter;

// The paper of a prepared page as a page layout: its own size in millimetres (custom sizes
// stay as they are), no margins, full-page mode. The page carries its margins itself.
QPageLayout PageLayoutFor(const PreparedPage &page);

// Prints every page on a printer already chosen (the default one, or the print dialog's),
// each on its own paper size. Raises ReportError when the printer cannot be opened.
void PrintPages(const PreparedReport &report, QPrinter &printer);

// Writes the pages as one PDF file. Raises ReportError when the file cannot be written.
void WritePdf(const PreparedReport &report, const QString &fileName);

// One page as an image at the given resolution (dots per inch), white paper.
QImage RenderPage(const PreparedPage &page, double dpi);

// Writes every page as an image file, the format taken from the file name's suffix (png,
// jpg): the first page under fileName, later ones with "_2", "_3" before the suffix.
// Returns the files written; raises ReportError when one cannot be written.
QStringList WriteImages(const PreparedReport &report, const QString &fileName, double dpi);
