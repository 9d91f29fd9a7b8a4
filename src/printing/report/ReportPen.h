#pragma once

#include "printing/report/ReportEnums.h"

#include <QColor>

// How a line, frame or rectangle edge is drawn. Width in hundredths of a millimetre.
struct ReportPen {
    int width = 20;
    QColor color = Qt::black;
    LineStyle style = LineStyle::Solid;

    bool operator==(const ReportPen &) const = default;
};
