#pragma once

#include "printing/report/Report.h"

#include <QByteArray>
#include <QString>

// Report files (the ".fr3" print styles): UTF-8 XML, root element QuilloReport with a version
// attribute, one element per page, band and object, every attribute written out. Lengths are
// millimetres, font sizes points, colours #rrggbb (#aarrggbb with transparency, "none" for no
// colour), pictures base64.
//
// Reading is strict: a file that is not XML, has another root, a newer version, an unknown
// element or attribute, a value of the wrong form or a model that breaks its rules raises
// ReportError with the line and what is wrong. An attribute left out takes its default.
//
// Version 2 added two memo attributes: shrinkToFit ("true"/"false": text too large for its
// box is drawn smaller, 0.5 pt at a time) and minFontSize (points, 1 to 500: the smallest size
// it shrinks to; what does not fit then is cut at the box). A file of version 1 reads with
// shrinkToFit false. Font sizes range from 1 to 500 pt, lengths and positions up to 10 m.
inline constexpr int ReportFileVersion = 2;

Report ReadReportXml(const QByteArray &xml);
QByteArray WriteReportXml(const Report &report);

// The same on a file; the error names the file. Saving replaces the file only once the new
// one is completely written.
Report LoadReportFile(const QString &fileName);
void SaveReportFile(const Report &report, const QString &fileName);
