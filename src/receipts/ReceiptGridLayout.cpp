#include "receipts/ReceiptGridLayout.h"

#include "data/DbQuery.h"
#include "receipts/SharedQuery.h"

#include <cmath>

ReceiptGridLayout ReceiptGridLayout::load() {
    DbQuery &query =
        OpenSharedQuery(QStringLiteral("select colwidth,colcaption,defaultcaption from g_config "
                                       "where gridname='单据录入明细' order by colno asc,recid asc"));
    ReceiptGridLayout layout;
    int index = 0;
    for (; !query.eof() && index < ColumnCount; query.next(), ++index) {
        layout.setColumn(index, GridColumn{static_cast<int>(std::trunc(query.asDouble("colwidth"))),
                                           query.asText("colcaption"), query.asText("defaultcaption")});
    }
    query.close();
    return index == 0 ? factory() : layout;
}

ReceiptGridLayout ReceiptGridLayout::factory() {
    static const struct {
        const char *key;
        int width;
    } seed[ColumnCount] = {{"序", 30},    {"编号", 120}, {"名称", 180}, {"规格型号", 200}, {"单位", 60},
                           {"数量", 100}, {"单价", 120}, {"金额", 120}, {"备注", 300}};
    ReceiptGridLayout layout;
    for (int i = 0; i < ColumnCount; ++i) {
        const QString key = QString::fromUtf8(seed[i].key);
        layout.setColumn(i, GridColumn{seed[i].width, key, key});
    }
    return layout;
}

int ReceiptGridLayout::columnOf(const QString &key) const {
    for (int i = 0; i < ColumnCount; ++i)
        if (column(i).key == key)
            return i;
    return 0;
}

QString ReceiptGridLayout::captionOf(const QString &key) const {
    const int index = columnOf(key);
    return index > 0 || column(0).key == key ? column(index).caption : key;
}
