#include "data/StatementRoutines.h"

#include "data/DbError.h"
#include "data/DbTransaction.h"
#include "data/Sharedm2.h"

namespace {
// Runs a statement in a transaction of its own; false (rolled back) on any error.
bool executeInTransaction(const QString &statement) {
    try {
        DbTransaction transaction(ShareDM1->ShareConn);
        ShareDM1->ShareUpdate1.execSql(statement);
        transaction.commit();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}
} // namespace

QString QuoteSql(const QString &text) {
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return quoted;
}

int NextKey(const QString &table) {
    DbQuery &query = ShareDM1->ShareQuery1;
    query.open(QStringLiteral("select maxkey from xt_tablekey where tablename='") + table + u'\'');
    if (query.eof()) {
        ShareDM1->ShareUpdate1.execSql(QStringLiteral("insert into xt_tablekey(tablename,maxkey)values('") +
                                       table + QStringLiteral("',1)"));
        return 1;
    }
    const int key = static_cast<int>(query.asInteger("maxkey")) + 1;
    ShareDM1->ShareUpdate1.execSql(
        QStringLiteral("update xt_tablekey set maxkey=maxkey+1 where tablename='") + table + u'\'');
    return key;
}

int InsertRow(const QString &table, const QString &fields, const QString &values) {
    try {
        DbTransaction transaction(ShareDM1->ShareConn);
        const int key = NextKey(table);
        ShareDM1->ShareUpdate1.execSql(QStringLiteral("insert into ") + table + u'(' + fields +
                                       QStringLiteral(")values(") + values + u',' + QString::number(key) +
                                       u')');
        transaction.commit();
        return key;
    } catch (const std::exception &) {
        return 0;
    }
}

QString SelectStatement(const QString &table, const QString &fields, const QString &order,
                        const QString &condition) {
    return QStringLiteral("select ") + fields + QStringLiteral(" from ") + table +
           QStringLiteral(" where 1=1 ") + condition + QStringLiteral(" order by ") + order;
}

bool SelectRows(const QString &table, const QString &fields, const QString &order, const QString &condition) {
    DbQuery &query = ShareDM1->ShareQuery1;
    try {
        query.open(SelectStatement(table, fields, order, condition));
        return true;
    } catch (const std::exception &) {
        query.close();
        return false;
    }
}

bool UpdateRows(const QString &table, const QString &assignments, const QString &condition) {
    return executeInTransaction(QStringLiteral("update ") + table + QStringLiteral(" set ") + assignments +
                                QStringLiteral(" where ") + condition);
}

bool DeleteRows(const QString &table, const QString &condition) {
    QString statement = QStringLiteral("delete from ") + table;
    if (!condition.isEmpty())
        statement += QStringLiteral(" where ") + condition;
    return executeInTransaction(statement);
}
