#include "app/AccountSettings.h"

#include "data/Globals.h"
#include "data/Sharedm2.h"
#include "data/StatementRoutines.h"

QString LoadAccountSettings() {
    if (SelectRows(QStringLiteral("xt_accountset a"), QStringLiteral("cfgkey,cfgvalues"),
                   QStringLiteral("accountsetid desc"), QString())) {
        DbQuery &q = ShareDM1->ShareQuery1;
        for (; !q.eof(); q.next()) {
            const QString key = q.asText("cfgkey");
            const QString value = q.asText("cfgvalues");
            bool ok = false;
            if (key == u"rowcnt") {
                const int rows = value.toInt(&ok);
                RowCount = ok ? rows + 1 : 5;
            } else if (key == u"softname") {
                SoftName = value;
            } else if (key == u"editminus") {
                // Anything that is not a whole number other than 0 leaves negatives refused.
                AllowNegative = value.trimmed().toInt(&ok) != 0 && ok;
            }
        }
        q.close();
    }
    AmountFormula = QStringLiteral("数量*单价");
    return SoftName.trimmed().isEmpty() ? AppTitle : SoftName;
}
