#pragma once

#include "printing/report/ReportPage.h"

#include <QList>
#include <QString>

// A report: pages -> bands -> objects, plain values that a designer edits and a file keeps.
// Names of pages, bands and objects are unique in the whole report (letter case ignored).
struct Report {
    QString printerName;   // empty: the system's default printer
    int previewZoom = 100; // percent
    QList<ReportPage> pages;

    // Finds an object of any page by name, letter case ignored; nullptr when there is none.
    ReportObject *findObject(const QString &name);
    const ReportObject *findObject(const QString &name) const;
    // The memo of that name; nullptr when there is none or the object is not a memo.
    MemoObject *findMemo(const QString &name);
    const ReportBand *findBand(const QString &name) const;

    bool operator==(const Report &) const = default;
};

inline constexpr int MaxRowsPerPage = 1000;

// Raises ReportError naming the first rule the report breaks: names present and unique,
// paper larger than its margins, sizes not negative, a filler band that exists and is a
// child band, rows per page from 0 to MaxRowsPerPage.
void ValidateReport(const Report &report);
