#include "printing/ReceiptReport.h"

#include "data/Globals.h"
#include "data/Sharedm2.h"

#include <QFileInfo>

namespace {

const QString HeaderFields =
    QStringLiteral("billdate as 收款日期,billcode as 单据编号,opname as 开单人,companyname as 交款单位,"
                   "format(billdate,'yyyy') as 年,format(billdate,'mm') as 月,format(billdate,'dd') as 日,") +
    QStringLiteral("zgname as 主管,kjname as 会计,skrname as 收款人,skfsname as 收款方式,totalamt as 总金额,"
                   "cnamt as 大写人民币,") +
    QStringLiteral(
        "printqty as 打印次数,qw1 as 千万,bw1 as 百万,sw1 as 十万,w1 as 万,q1 as 千,b1 as 百,s1 as "
        "十,y1 as 元,") +
    QStringLiteral("j1 as 角,f1 as 分,linkman as 联系人,phone as 联系电话,adr as 地址,remark as 备注");

const QString LineFields =
    QStringLiteral("tablecode as 编号,name as 名称,goodsmodal as 规格型号,unit_name as 单位,price as 单价,") +
    QStringLiteral(
        "amt as 金额,remark as 备注,qw1 as 千万,bw1 as 百万,sw1 as 十万,w1 as 万,q1 as 千,b1 as 百,s1 "
        "as 十,y1 as 元,") +
    QStringLiteral("j1 as 角,f1 as 分,qty as 数量");

// Opens the query and copies its rows into a data set of that name; nulls stay null.
ReportDataSet readDataSet(const QString &name, DbQuery &query, const QString &statement) {
    query.open(statement);
    ReportDataSet data;
    data.name = name;
    for (int i = 0; i < query.fieldCount(); ++i)
        data.fields.append(query.fieldName(i));
    for (; !query.eof(); query.next()) {
        QVariantList row;
        row.reserve(data.fields.size());
        for (int i = 0; i < query.fieldCount(); ++i)
            row.append(query.isNull(data.fields.at(i)) ? QVariant() : QVariant(query.textAt(i)));
        data.rows.append(row);
    }
    return data;
}

// The program sets these texts as they are: a company name is never read as a data field.
void setMemoText(Report &report, const QString &name, const QString &text) {
    if (MemoObject *memo = report.findMemo(name)) {
        memo->text = text;
        memo->allowExpressions = false;
    }
}

} // namespace

ReceiptStyle LoadReceiptStyle(int styleId) {
    DbQuery &style = ShareDM1->ShareQuery1;
    style.open(QStringLiteral("select * from pr_printcfg where RecID=") + QString::number(styleId));
    const QString printFile = style.asText("PrintFile");
    ReceiptStyle result;
    result.fileName = AppDir + QStringLiteral("/Print/") + printFile;
    result.customTitle = style.asText("MydefineName");
    result.hasFile = !printFile.isEmpty() && QFileInfo(result.fileName).isFile();
    return result;
}

QList<ReportDataSet> ReadReceiptData(int receiptId) {
    const QString id = QString::number(receiptId);
    return {
        readDataSet(ReceiptHeaderDataSet, ShareDM1->PrintQuery1,
                    QStringLiteral("select ") + HeaderFields + QStringLiteral(" from ss_sale where saleid=") +
                        id + QStringLiteral(" order by saleid asc")),
        readDataSet(ReceiptLineDataSet, ShareDM1->PrintQuery2,
                    QStringLiteral("select ") + LineFields +
                        QStringLiteral(" from ss_saledetail where saleid=") + id +
                        QStringLiteral(" order by saledetailid asc")),
    };
}

void SetCompanyMemos(Report &report, const QString &customTitle) {
    setMemoText(report, QStringLiteral("Title"), CompanyName + customTitle);
    setMemoText(report, QStringLiteral("Myinfo"),
                QStringLiteral("联系电话：") + CompanyPhone + QStringLiteral("传真：") + CompanyFax +
                    QStringLiteral("邮编：") + CompanyZip + QStringLiteral("地址：") + CompanyAddress);
}
