#pragma once

#include "printing/report/Report.h"
#include "printing/report/ReportDataSet.h"

#include <QList>
#include <QString>
#include <QStringList>

// The per-digit fields of an amount (filled from its two-decimal text), by place from the
// lowest: 分 is place 0, 千万 place 9, which holds every character above the 百万 place.
inline const QStringList DigitFieldNames{
    QStringLiteral("分"),   QStringLiteral("角"),  QStringLiteral("元"), QStringLiteral("十"),
    QStringLiteral("百"),   QStringLiteral("千"),  QStringLiteral("万"), QStringLiteral("十万"),
    QStringLiteral("百万"), QStringLiteral("千万")};

// A row whose amount has characters above the highest digit field the report places for
// its data set: printed in the report's digit boxes, the amount would lose its high digits.
struct AmountBeyondDigits {
    QString dataSet;
    int row = 0;
    int highestPlace = 0; // the highest place the report prints, an index of DigitFieldNames
};

// Looks at every data set whose digit fields the report prints in a visible memo of a visible
// band (data sets with none printed are not checked) and lists the rows, in order, with a
// non-empty digit field above the highest printed one.
QList<AmountBeyondDigits> AmountsBeyondDigitFields(const Report &report,
                                                   const QList<ReportDataSet> &dataSets);
