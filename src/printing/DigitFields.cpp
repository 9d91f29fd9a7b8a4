#include "printing/DigitFields.h"

#include "printing/report/MemoText.h"

#include <QHash>

namespace {

// The highest digit place that visible memos print, per data set (case-folded name).
QHash<QString, int> highestPrintedPlaces(const Report &report) {
    QHash<QString, int> highest;
    for (const ReportPage &page : report.pages)
        for (const ReportBand &band : page.bands) {
            if (!band.visible)
                continue;
            for (const ReportObject &object : band.objects) {
                const auto *memo = std::get_if<MemoObject>(&object);
                if (!memo || !memo->visible || !memo->allowExpressions)
                    continue;
                for (const MemoTextPart &part : ParseMemoText(memo->text)) {
                    const int place = DigitFieldNames.indexOf(part.field);
                    if (!part.isField() || place < 0)
                        continue;
                    const QString key = part.dataSet.toCaseFolded();
                    highest.insert(key, qMax(place, highest.value(key, -1)));
                }
            }
        }
    return highest;
}

} // namespace

QList<AmountBeyondDigits> AmountsBeyondDigitFields(const Report &report,
                                                   const QList<ReportDataSet> &dataSets) {
    const QHash<QString, int> highest = highestPrintedPlaces(report);
    QList<AmountBeyondDigits> beyond;
    for (const ReportDataSet &data : dataSets) {
        const auto found = highest.find(data.name.toCaseFolded());
        if (found == highest.end())
            continue;
        QList<int> above;
        for (int place = *found + 1; place < DigitFieldNames.size(); ++place)
            if (const int column = data.fieldIndex(DigitFieldNames.at(place)); column >= 0)
                above.append(column);
        for (qsizetype row = 0; row < data.rows.size(); ++row)
            for (int column : std::as_const(above))
                if (!data.rows.at(row).value(column).toString().isEmpty()) {
                    beyond.append({data.name, int(row), *found});
                    break;
                }
    }
    return beyond;
}
