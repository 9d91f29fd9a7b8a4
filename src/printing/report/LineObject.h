#pragma once

#include "printing/report/ReportEnums.h"
#include "printing/report/ReportPen.h"
#include "printing/report/ReportRect.h"

#include <QString>

// A straight rule from (left, top) to (left + width, top + height): width 0 draws a vertical
// rule, height 0 a horizontal one.
struct LineObject {
    QString name;
    ReportRect rect;
    ReportPen pen;
    BandGrowth bandGrowth = BandGrowth::None;
    bool visible = true;

    bool operator==(const LineObject &) const = default;
};
