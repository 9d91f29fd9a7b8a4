#pragma once

#include "printing/report/TextMeasurer.h"

#include <QFontMetricsF>
#include <unordered_map>

// Measures with the installed fonts, the same QFont the painter draws with. Needs a
// QGuiApplication; use from the user-interface thread.
class FontTextMeasurer : public TextMeasurer {
public:
    double width(const QString &text, const ReportFont &font) const override;
    double ascent(const ReportFont &font) const override;
    double lineHeight(const ReportFont &font) const override;

private:
    const QFontMetricsF &metrics(const ReportFont &font) const;

    mutable std::unordered_map<QString, QFontMetricsF> m_metrics;
};
