#pragma once

#include "printing/report/ReportEnums.h"
#include "printing/report/ReportRect.h"

#include <QByteArray>
#include <QString>

// A picture (a logo, a stamp): the image file's bytes as they were loaded (PNG, JPEG, ...).
// An empty picture prints nothing.
struct PictureObject {
    QString name;
    ReportRect rect;
    QByteArray imageData;
    bool keepAspect = true;
    BandGrowth bandGrowth = BandGrowth::None;
    bool visible = true;

    bool operator==(const PictureObject &) const = default;
};
