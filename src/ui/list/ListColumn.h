#pragma once

#include <QList>
#include <QString>
#include <Qt>

// One column of a list window: its caption, its width in pixels and its alignment. A column
// that is not left-aligned holds numbers: its cells sort as numbers and export as numbers.
// A window describes its list as a ListColumns, in display order:
//   const ListColumns columns{TextColumn(u"单据编号"_s, 165), NumberColumn(u"总金额"_s, 80)};
struct ListColumn {
    QString caption;
    int width = 100;
    Qt::Alignment alignment = Qt::AlignLeft;

    bool numeric() const { return !(alignment & Qt::AlignLeft); }
};

using ListColumns = QList<ListColumn>;

// A left-aligned column of text.
inline ListColumn TextColumn(const QString &caption, int width) {
    return ListColumn{caption, width, Qt::AlignLeft};
}

// A right-aligned column of numbers (amounts, quantities, counts).
inline ListColumn NumberColumn(const QString &caption, int width) {
    return ListColumn{caption, width, Qt::AlignRight};
}
