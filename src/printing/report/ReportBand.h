#pragma once

#include "printing/report/ReportEnums.h"
#include "printing/report/ReportObject.h"

#include <QList>
#include <QString>

// A horizontal strip of a page, as wide as the page between its margins.
struct ReportBand {
    QString name;
    BandKind kind = BandKind::MasterData;
    int height = 0;  // hundredths of a millimetre
    QString dataSet; // data bands: the data set whose rows it prints; none: printed once
    bool visible = true;
    bool canGrow = false; // grows to hold memos that grow with their text
    // Page filling of a data band: with rowsPerPage > 0 a page holds at most that many rows,
    // and the last page is completed to rowsPerPage rows with the band named fillerBand.
    int rowsPerPage = 0;
    QString fillerBand;
    QList<ReportObject> objects;

    bool operator==(const ReportBand &) const = default;
};
