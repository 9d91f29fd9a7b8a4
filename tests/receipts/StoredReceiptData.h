#pragma once

#include "TestAppDir.h"

#include <QStringList>

// Everything saving a receipt may touch, key counters included, as one text: equal before and
// after means a command left no trace.
inline QString StoredReceiptData() {
    QStringList tables;
    for (const char *statement :
         {"select * from ss_sale order by saleid", "select * from ss_saledetail order by saledetailid",
          "select * from aa_company order by companyid", "select * from aa_goods order by goodsid",
          "select * from aa_unit order by unitid", "select * from aa_remark order by remarkid",
          "select * from aa_chargetype order by chargetypeid", "select * from xt_log order by logid",
          "select * from xt_tablekey order by tablename"})
        tables << TestAppDir::rows(QString::fromUtf8(statement));
    return tables.join(u'\n');
}
