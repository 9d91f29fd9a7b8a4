#include "printing/PrintBill.h"

#include "data/DbTransaction.h"
#include "data/Globals.h"
#include "data/OperationLog.h"
#include "data/Sharedm2.h"
#include "printing/DigitFields.h"
#include "printing/PrintOutput.h"
#include "printing/report/ReportFile.h"
#include "ui/UiServices.h"

#include <QFileInfo>

namespace {

const QString HeaderDataSet = QStringLiteral("frxDBDataset1");
const QString LineDataSet = QStringLiteral("frxDBDataset2");

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

// Counts the print and logs it, both or neither; a failure is not the printer's concern.
void countPrint(int receiptId, const QString &receiptNumber) {
    try {
        DbTransaction transaction(ShareDM1->ShareConn);
        WriteLog(LogPrintedReceipt, receiptNumber, receiptId, 1);
        DbQuery &update = ShareDM1->ShareUpdate1;
        update.execSql(QStringLiteral("update ss_sale set printqty=printqty+1 where saleid=") +
                       QString::number(receiptId));
        transaction.commit();
    } catch (const std::exception &) {
        // rolled back by the guard; the receipt still prints
    }
}

// The program sets these texts as they are: a company name is never read as a data field.
void setMemoText(Report &report, const QString &name, const QString &text) {
    if (MemoObject *memo = report.findMemo(name)) {
        memo->text = text;
        memo->allowExpressions = false;
    }
}

// An amount too large for the digit boxes of the style would print without its high digits:
// the user decides. True when nothing stands in the way of printing.
bool amountsFitOrPrintAnyway(const Report &report, const QList<ReportDataSet> &dataSets) {
    const QList<AmountBeyondDigits> beyond = AmountsBeyondDigitFields(report, dataSets);
    if (beyond.isEmpty())
        return true;
    QStringList lines{QStringLiteral("以下金额超出打印样式的数字格，超出的高位数字打印不出来：")};
    for (const AmountBeyondDigits &b : beyond) {
        const bool header = b.dataSet.compare(HeaderDataSet, Qt::CaseInsensitive) == 0;
        for (const ReportDataSet &data : dataSets)
            if (data.name == b.dataSet) {
                const QString amount =
                    data.rows.at(b.row)
                        .value(data.fieldIndex(header ? QStringLiteral("总金额") : QStringLiteral("金额")))
                        .toString();
                lines << (header ? QStringLiteral("合计金额%1").arg(amount)
                                 : QStringLiteral("第%1行金额%2").arg(b.row + 1).arg(amount)) +
                             QStringLiteral("（数字格最高为%1位）").arg(DigitFieldNames.at(b.highestPlace));
            }
    }
    lines << QStringLiteral("是否仍然打印？");
    return AskYesNo(lines.join(u'\n'));
}

} // namespace

void PrintBill(bool design, int receiptId, const QString &receiptNumber, int styleId) {
    ShareDM1->PrintQuery1.close();
    ShareDM1->PrintQuery2.close();

    DbQuery &style = ShareDM1->ShareQuery1;
    style.open(QStringLiteral("select * from pr_printcfg where RecID=") + QString::number(styleId));
    const QString printFile = style.asText("PrintFile");
    const QString customTitle = style.asText("MydefineName");

    // A style without its file would print an empty page and count it: say so instead.
    const QString fileName = AppDir + QStringLiteral("/Print/") + printFile;
    if (printFile.isEmpty() || !QFileInfo(fileName).isFile()) {
        ShowInfo(QStringLiteral("报表文件不存在或丢失！"));
        return;
    }
    Report report = LoadReportFile(fileName);

    const QString id = QString::number(receiptId);
    const QList<ReportDataSet> dataSets{
        readDataSet(HeaderDataSet, ShareDM1->PrintQuery1,
                    QStringLiteral("select ") + HeaderFields + QStringLiteral(" from ss_sale where saleid=") +
                        id + QStringLiteral(" order by saleid asc")),
        readDataSet(LineDataSet, ShareDM1->PrintQuery2,
                    QStringLiteral("select ") + LineFields +
                        QStringLiteral(" from ss_saledetail where saleid=") + id +
                        QStringLiteral(" order by saledetailid asc")),
    };

    if (design) {
        PrintOutput::current().design(report, dataSets, fileName);
        return;
    }

    if (!amountsFitOrPrintAnyway(report, dataSets))
        return;
    countPrint(receiptId, receiptNumber);
    setMemoText(report, QStringLiteral("Title"), CompanyName + customTitle);
    setMemoText(report, QStringLiteral("Myinfo"),
                QStringLiteral("联系电话：") + CompanyPhone + QStringLiteral("传真：") + CompanyFax +
                    QStringLiteral("邮编：") + CompanyZip + QStringLiteral("地址：") + CompanyAddress);
    if (PrintPreview)
        PrintOutput::current().preview(report, dataSets);
    else
        PrintOutput::current().print(report, dataSets);
}
