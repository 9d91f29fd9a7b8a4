#pragma once

#include "printing/report/ReportEnums.h"
#include "printing/report/ReportPen.h"
#include "printing/report/ReportRect.h"

#include <QColor>
#include <QString>

// A framed and optionally filled box.
struct RectangleObject {
    QString name;
    ReportRect rect;
    ReportPen pen;
    QColor fill; // invalid: transparent
    BandGrowth bandGrowth = BandGrowth::None;
    bool visible = true;

    bool operator==(const RectangleObject &) const = default;
};
