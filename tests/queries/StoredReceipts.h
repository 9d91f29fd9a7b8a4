#pragma once

#include "TestAppDir.h"

#include "data/StatementRoutines.h"

#include <QStringList>

// A receipt of the receipt-query tests: number "SK" + id, the operator 管理员, the contact
// 赵先生, and one line per goods name (codes G1, G2, …; 2 at 5, amount 10).
inline void AddStoredReceipt(int id, const QString &date, const QString &company, double total = 10,
                             const QStringList &goods = {QStringLiteral("A4复印纸")}, int printQty = 0) {
    TestAppDir::exec(
        QStringLiteral("insert into ss_sale(saleid,billdate,billcode,opname,companyname,linkman,"
                       "totalamt,cnamt,printqty,remark)values(%1,'%2','SK%1','管理员','%3','赵先生',"
                       "%4,'拾圆整',%5,'备注%1')")
            .arg(id)
            .arg(date, QuoteSql(company))
            .arg(total)
            .arg(printQty));
    for (int i = 0; i < goods.size(); ++i)
        TestAppDir::exec(
            QStringLiteral("insert into ss_saledetail(saledetailid,saleid,tablecode,name,unit_name,qty,"
                           "price,amt,remark)values(%1,%2,'G%3','%4','包',2,5,10,'行备注')")
                .arg(id * 100 + i)
                .arg(id)
                .arg(i + 1)
                .arg(goods.at(i)));
}
