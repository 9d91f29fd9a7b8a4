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
// Font sizes a report may use, in points, and the largest length or position it may hold
// (10 m, in hundredths of a millimetre): beyond these no printer prints anything sensible.
inline constexpr double MinFontSize = 1;
inline constexpr double MaxFontSize = 500;
inline constexpr int MaxReportLength = 1000000;

// Raises ReportError naming the first rule the report breaks: names present and unique,
// paper larger than its margins, sizes not negative, lengths and positions within
// MaxReportLength, font sizes (and the smallest size a memo shrinks to) from MinFontSize to
// MaxFontSize, a filler band that exists and is a child band, rows per page from 0 to
// MaxRowsPerPage.
void ValidateReport(const Report &report);
