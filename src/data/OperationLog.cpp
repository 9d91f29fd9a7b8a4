#include "data/OperationLog.h"

#include "data/Clock.h"
#include "data/DateText.h"
#include "data/Globals.h"
#include "data/Sharedm2.h"
#include "data/StatementRoutines.h"

void WriteLog(const QString &content, const QString &billCode, int billId, int logFlag) {
    try {
        const int key = NextKey(QStringLiteral("xt_log"));
        // The operator name and the receipt number are user text: quoted, so that a quote
        // in them cannot lose the log row.
        ShareDM1->ShareUpdate1.execSql(
            QStringLiteral(
                "insert into xt_log(opname,opdate,opcontent,billcode,billid,logflag,logid)values('") +
            QuoteSql(OperatorName) + QStringLiteral("','") + DateTimeText(Clock::now()) +
            QStringLiteral("','") + content + QStringLiteral("','") + QuoteSql(billCode) +
            QStringLiteral("',") + QString::number(billId) + u',' + QString::number(logFlag) + u',' +
            QString::number(key) + u')');
    } catch (const std::exception &) {
        // The log never interrupts the operation it records.
    }
}
