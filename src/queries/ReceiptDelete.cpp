#include "queries/ReceiptDelete.h"

#include "data/DbTransaction.h"
#include "data/OperationLog.h"
#include "data/Sharedm2.h"

bool DeleteReceipt(int saleId, const QString &billCode) {
    try {
        DbTransaction transaction(ShareDM1->ShareConn);
        WriteLog(LogDeletedReceipt, billCode, saleId, 1);
        const QString key = QString::number(saleId);
        DbQuery &update = ShareDM1->ShareUpdate1;
        update.execSql(QStringLiteral("delete from ss_sale where saleid=") + key);
        update.execSql(QStringLiteral("delete from ss_saledetail where saleid=") + key);
        transaction.commit();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

QString DeleteFailureLine(const QString &billCode) {
    return billCode + QStringLiteral("：删除失败！\r\n");
}

int ReceiptPrintCount(int saleId) {
    DbQuery &query = ShareDM1->ShareQuery1;
    query.open(QStringLiteral("select printqty from ss_sale where saleid=") + QString::number(saleId));
    const int count = static_cast<int>(query.asInteger("printqty"));
    query.close();
    return count;
}
