#include "receipts/ReceiptLookups.h"

#include "data/Sharedm2.h"
#include "data/StatementRoutines.h"

QString LookupStatement(const QString &table, const QString &typed) {
    const QString q = QuoteSql(typed);
    if (q.isEmpty())
        return QStringLiteral("select top 10 * from ") + table + QStringLiteral(" order by tablecode");
    return QStringLiteral("select top 10 * from ") + table + QStringLiteral(" where tablecode like '%") + q +
           QStringLiteral("%' or name like '%") + q + QStringLiteral("%' or namecode like '%") + q +
           QStringLiteral("%' order by tablecode");
}

QString BarcodeStatement(const QString &barcode) {
    return QStringLiteral("select * from aa_goods where barcode='") + QuoteSql(barcode) + u'\'';
}

QList<QStringList> ReadPickList(const PickList &list) {
    QList<QStringList> rows;
    if (!SelectRows(list.table, list.fields, list.order, list.condition))
        return rows;
    DbQuery &query = ShareDM1->ShareQuery1;
    try {
        for (; !query.eof(); query.next()) {
            QStringList row;
            for (int i = 0; i < query.fieldCount(); ++i)
                row.append(query.textAt(i));
            rows.append(row);
        }
    } catch (const std::exception &) {
        rows.clear();
    }
    query.close();
    return rows;
}
