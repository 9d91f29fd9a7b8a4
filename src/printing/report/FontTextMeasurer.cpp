#include "printing/report/FontTextMeasurer.h"

#include "printing/report/ReportFonts.h"

const QFontMetricsF &FontTextMeasurer::metrics(const ReportFont &font) const {
    const QString key = font.family + u'|' + QString::number(font.pointSize) + u'|' +
                        QString::number(int(font.bold) | int(font.italic) << 1 | int(font.underline) << 2);
    auto it = m_metrics.find(key);
    if (it == m_metrics.end())
        it = m_metrics.emplace(key, QFontMetricsF(ReportQFont(font))).first;
    return it->second;
}

double FontTextMeasurer::width(const QString &text, const ReportFont &font) const {
    return metrics(font).horizontalAdvance(text);
}

double FontTextMeasurer::ascent(const ReportFont &font) const {
    return metrics(font).ascent();
}

double FontTextMeasurer::lineHeight(const ReportFont &font) const {
    const QFontMetricsF &m = metrics(font);
    return m.ascent() + m.descent();
}
