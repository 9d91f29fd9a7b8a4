#pragma once

#include "printing/report/ReportUnits.h"
#include "printing/report/TextMeasurer.h"

// Text measured without fonts, so that layout tests know every position in advance: an ASCII
// character is half an em wide, any other a whole em; a line is 1.25 em high, its baseline
// 0.9 em below its top. An em is the font size.
class FixedTextMeasurer : public TextMeasurer {
public:
    static double em(const ReportFont &font) { return PointsToUnits(font.pointSize); }

    double width(const QString &text, const ReportFont &font) const override {
        double w = 0;
        for (const QChar ch : text)
            w += ch.unicode() < 128 ? 0.5 : 1.0;
        return w * em(font);
    }
    double ascent(const ReportFont &font) const override { return 0.9 * em(font); }
    double lineHeight(const ReportFont &font) const override { return 1.25 * em(font); }
};
