#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// A named table handed to a report: its field names and rows of values. A report refers to a
// field as [name."field"]; a null value prints empty.
struct ReportDataSet {
    QString name;
    QStringList fields;
    QList<QVariantList> rows;

    // Index of a field, letter case ignored; -1 when there is none.
    int fieldIndex(const QString &field) const;
};
