#pragma once

#include "printing/report/ReportFont.h"

#include <QString>

// How wide and tall text is, in hundredths of a millimetre. The layout asks nothing else of
// fonts, so it can be run with a fixed measurer in tests.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;

    virtual double width(const QString &text, const ReportFont &font) const = 0;
    // Distance from the top of a line to its baseline.
    virtual double ascent(const ReportFont &font) const = 0;
    // Distance from one line's top to the next one's.
    virtual double lineHeight(const ReportFont &font) const = 0;
};
