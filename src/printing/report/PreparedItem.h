#pragma once

#include "printing/report/ReportFont.h"
#include "printing/report/ReportPen.h"
#include "printing/report/ReportRect.h"

#include <QColor>
#include <QImage>
#include <QString>

// One positioned thing on a prepared page, in hundredths of a millimetre from the paper's
// top-left corner.
struct PreparedItem {
    enum class Kind {
        Text,      // one line of text: rect is the line's box, drawn at (rect.left, baseline)
        Line,      // from (rect.left, rect.top) to (rect.right(), rect.bottom())
        Rectangle, // rect framed with pen (width 0: no frame) and filled with fill (if valid)
        Picture,   // image scaled into rect
    };

    Kind kind = Kind::Text;
    QString band; // the band and the object it comes from
    QString object;
    ReportRect rect;
    ReportRect clip; // text: the box of its memo; nothing of the text is drawn outside it
    int baseline = 0;
    QString text;
    ReportFont font;
    ReportPen pen;
    QColor fill;
    QImage image;
    bool keepAspect = true;
};
