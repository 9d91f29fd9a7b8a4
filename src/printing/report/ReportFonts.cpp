#include "printing/report/ReportFonts.h"

#include "printing/report/ReportUnits.h"

#include <QtMath>

QFont ReportQFont(const ReportFont &font) {
    QFont f(font.family);
    f.setPixelSize(qMax(1, qRound(PointsToUnits(font.pointSize))));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setHintingPreference(QFont::PreferNoHinting);
    // Latin text unshaped: the glyphs stay those of the font's character map, so that the text
    // of a PDF can be searched and copied (shaped digits after letters could not be).
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}
