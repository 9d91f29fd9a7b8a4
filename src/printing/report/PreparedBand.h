#pragma once

#include "printing/report/ReportEnums.h"
#include "printing/report/ReportRect.h"

#include <QString>

// Where a band was placed on a prepared page.
struct PreparedBand {
    QString name;
    BandKind kind = BandKind::MasterData;
    ReportRect rect; // page coordinates, hundredths of a millimetre
    int row = -1;    // data bands: the data row shown; -1 otherwise
};
