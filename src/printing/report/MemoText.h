#pragma once

#include <QList>
#include <QString>

// A memo's text split into literal pieces and data-field references. A reference is written
// [DataSet."Field"]; any other bracket text is literal.
struct MemoTextPart {
    QString text;    // a literal piece, when dataSet is empty
    QString dataSet; // a reference: data set and field name
    QString field;

    bool isField() const { return !dataSet.isEmpty(); }
    bool operator==(const MemoTextPart &) const = default;
};

QList<MemoTextPart> ParseMemoText(const QString &text);
