#pragma once

#include "printing/report/ReportEnums.h"
#include "printing/report/ReportFont.h"
#include "printing/report/ReportPen.h"
#include "printing/report/ReportRect.h"

#include <QColor>
#include <QString>

// A text box. Its text may hold data fields as [DataSet."Field"], each shown through the
// display format ("%2.2f", "%g", "%2.2m", ...).
struct MemoObject {
    QString name;
    ReportRect rect;
    QString text;
    ReportFont font;
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;
    QString displayFormat;
    bool allowExpressions = true; // false: the text prints as it stands, brackets and all
    bool wordWrap = false;
    bool autoWidth = false; // the width follows the text (at most the band's width)
    bool canGrow = false;   // the height grows to hold the wrapped text
    // A memo paints only inside its box. Growing (autoWidth, canGrow) stops at the next object
    // of the band and at the band's edge. Text that still does not fit is, with shrinkToFit,
    // drawn in a font made smaller step by step (MemoShrinkStep points) down to minFontSize;
    // whatever does not fit then is cut off at the box.
    bool shrinkToFit = false;
    double minFontSize = 5; // points
    BandAlign bandAlign = BandAlign::None;
    int gapX = 50; // inner margins, hundredths of a millimetre
    int gapY = 0;
    bool frameLeft = false;
    bool frameTop = false;
    bool frameRight = false;
    bool frameBottom = false;
    ReportPen frame;
    QColor fill; // invalid: transparent
    BandGrowth bandGrowth = BandGrowth::None;
    bool visible = true;

    bool operator==(const MemoObject &) const = default;
};

inline constexpr double MemoShrinkStep = 0.5; // points
