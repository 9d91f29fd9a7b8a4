#include "receipts/ReceiptLoad.h"

#include "data/DbQuery.h"
#include "receipts/SharedQuery.h"

std::optional<ReceiptDraft> LoadReceipt(int saleId) {
    DbQuery &query =
        OpenSharedQuery(QStringLiteral("select * from ss_sale where saleid=") + QString::number(saleId));
    if (query.eof()) {
        query.close();
        return std::nullopt;
    }
    ReceiptDraft draft;
    draft.billDate = query.asDate("billdate");
    draft.billCode = query.asText("billcode");
    draft.opName = query.asText("opname");
    draft.companyName = query.asText("companyname");
    draft.linkman = query.asText("linkman");
    draft.phone = query.asText("phone");
    draft.adr = query.asText("adr");
    draft.zgName = query.asText("zgname");
    draft.kjName = query.asText("kjname");
    draft.skrName = query.asText("skrname");
    draft.skfsName = query.asText("skfsname");
    draft.remark = query.asText("remark");

    OpenSharedQuery(QStringLiteral("select * from ss_saledetail where saleid=") + QString::number(saleId) +
                    QStringLiteral(" order by saledetailid asc"));
    for (; !query.eof(); query.next()) {
        draft.lines.append(ReceiptLine{query.asText("tablecode"), query.asText("name"),
                                       query.asText("goodsmodal"), query.asText("unit_name"),
                                       query.asText("qty"), query.asText("price"), query.asText("amt"),
                                       query.asText("remark")});
    }
    query.close();
    return draft;
}
