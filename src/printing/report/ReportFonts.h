#pragma once

#include "printing/report/ReportFont.h"

#include <QFont>

// The QFont that draws a report font where one unit is a hundredth of a millimetre: the size
// is a pixel size in those units, so measuring and drawing agree on every device.
QFont ReportQFont(const ReportFont &font);
