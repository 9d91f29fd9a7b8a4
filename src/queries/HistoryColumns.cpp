#include "queries/HistoryColumns.h"

#include "data/DbQuery.h"

const QList<HistoryColumn> ReceiptColumns{
    {QStringLiteral("单据编号"), 165, false, QStringLiteral("billcode")},
    {QStringLiteral("开单日期"), 85, false, QStringLiteral("billdate")},
    {QStringLiteral("开单人"), 80, false, QStringLiteral("opname")},
    {QStringLiteral("交款单位"), 120, false, QStringLiteral("companyname")},
    {QStringLiteral("联系人"), 80, false, QStringLiteral("linkman")},
    {QStringLiteral("联系电话"), 100, false, QStringLiteral("phone")},
    {QStringLiteral("地址"), 120, false, QStringLiteral("adr")},
    {QStringLiteral("主管"), 80, false, QStringLiteral("zgname")},
    {QStringLiteral("会计"), 80, false, QStringLiteral("kjname")},
    {QStringLiteral("收款人"), 80, false, QStringLiteral("skrname")},
    {QStringLiteral("收款方式"), 100, false, QStringLiteral("skfsname")},
    {QStringLiteral("总金额"), 80, true, QStringLiteral("totalamt")},
    {QStringLiteral("大写金额"), 120, false, QStringLiteral("cnamt")},
    {QStringLiteral("备注"), 200, false, QStringLiteral("remark")},
    {QStringLiteral("打印次数"), 70, true, QStringLiteral("printqty")},
};

const QList<HistoryColumn> LineColumns{
    {QStringLiteral("编号"), 100, false, QStringLiteral("tablecode")},
    {QStringLiteral("名称"), 120, false, QStringLiteral("name")},
    {QStringLiteral("规格型号"), 180, false, QStringLiteral("goodsmodal")},
    {QStringLiteral("单位"), 40, false, QStringLiteral("unit_name")},
    {QStringLiteral("数量"), 60, true, QStringLiteral("qty")},
    {QStringLiteral("单价"), 60, true, QStringLiteral("price")},
    {QStringLiteral("金额"), 80, true, QStringLiteral("amt")},
    {QStringLiteral("备注"), 200, false, QStringLiteral("remark")},
};

QStringList RowCells(const DbQuery &query, const QList<HistoryColumn> &columns) {
    QStringList cells;
    cells.reserve(columns.size());
    for (const HistoryColumn &column : columns)
        cells.append(query.asText(column.field));
    return cells;
}

ListColumns ListColumnsOf(const QList<HistoryColumn> &columns) {
    ListColumns list;
    for (const HistoryColumn &column : columns)
        list.append(column.rightAligned ? NumberColumn(column.caption, column.width)
                                        : TextColumn(column.caption, column.width));
    return list;
}
