#include "MaintenanceFiles.h"

#include "TestAppDir.h"

#include "data/DbConnection.h"
#include "data/DbQuery.h"
#include "data/DbTransaction.h"
#include "data/Sharedm2.h"

#include <QCryptographicHash>
#include <QFile>
#include <QStringList>

namespace {
const char *const statements[] = {
    "select goodsid,tablecode,name,price from aa_goods order by goodsid",
    "select saleid,billcode,companyname,totalamt from ss_sale order by saleid",
    "select saledetailid,saleid,name,qty,price,amt from ss_saledetail order by saledetailid",
    "select userinfoid,username from xt_userinfo order by userinfoid",
};

QString readAll(DbConnection &connection) {
    QStringList parts;
    for (const char *statement : statements)
        parts.append(TestAppDir::rows(connection, QString::fromUtf8(statement)));
    return parts.join(QStringLiteral("\n"));
}
} // namespace

QString MaintenanceFiles::contentOf(const QString &path) {
    DbConnection connection;
    connection.openFile(path, TestAppDir::password());
    return readAll(connection);
}

QString MaintenanceFiles::sharedContent() {
    return readAll(ShareDM1->ShareConn);
}

void MaintenanceFiles::addRows(int n, const QString &tag) {
    DbConnection &c = ShareDM1->ShareConn;
    DbTransaction transaction(c);
    const int base = TestAppDir::value("select count(*) from ss_sale").toInt() + 1000 * (tag.size() + 1);
    for (int i = 0; i < n; ++i) {
        const QString id = QString::number(base + i);
        c.execute(QStringLiteral(
                      "insert into aa_goods(goodsid,tablecode,name,price) values(%1,'G%1','%2商品%1',12.5)")
                      .arg(id, tag));
        c.execute(QStringLiteral("insert into ss_sale(saleid,billcode,companyname,totalamt,billdate) "
                                 "values(%1,'SK%1','%2单位',25,'2014-02-20')")
                      .arg(id, tag));
        c.execute(QStringLiteral("insert into ss_saledetail(saledetailid,saleid,name,qty,price,amt) "
                                 "values(%1,%1,'%2',2,12.5,25)")
                      .arg(id, tag));
    }
    transaction.commit();
}

QByteArray MaintenanceFiles::hashOf(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex();
}
