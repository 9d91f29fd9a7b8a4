#pragma once

#include "printing/report/ReportBand.h"
#include "printing/report/ReportFont.h"
#include "printing/report/ReportUnits.h"

#include <QList>
#include <QString>

// A page of the report: its paper, margins, the font new objects take, and its bands.
// All sizes in hundredths of a millimetre.
struct ReportPage {
    QString name = QStringLiteral("Page1");
    int paperWidth = MmToUnits(210);
    int paperHeight = MmToUnits(297);
    int leftMargin = MmToUnits(10);
    int topMargin = MmToUnits(10);
    int rightMargin = MmToUnits(10);
    int bottomMargin = MmToUnits(10);
    ReportFont font;
    QList<ReportBand> bands;

    int bandWidth() const { return paperWidth - leftMargin - rightMargin; }
    bool operator==(const ReportPage &) const = default;
};
