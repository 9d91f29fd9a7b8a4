#include "ReceiptSamples.h"

#include "TestAppDir.h"

#include "data/Globals.h"
#include "printing/report/ReportFile.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace ReceiptSamples {

QString templatePath() {
    return QStringLiteral(QUILLO_SAMPLE_REPORT);
}

Report loadTemplate() {
    return LoadReportFile(templatePath());
}

QList<ReportDataSet> dataSets(int lines) {
    ReportDataSet header;
    header.name = QStringLiteral("frxDBDataset1");
    header.fields =
        QStringList{"收款日期", "单据编号", "开单人", "交款单位", "年",       "月",         "日",
                    "主管",     "会计",     "收款人", "收款方式", "总金额",   "大写人民币", "打印次数",
                    "千万",     "百万",     "十万",   "万",       "千",       "百",         "十",
                    "元",       "角",       "分",     "联系人",   "联系电话", "地址",       "备注"};
    header.rows.append(QVariantList{"2024-03-05",
                                    "SK20240305001",
                                    "管理员",
                                    "星河文具有限公司",
                                    "2024",
                                    "03",
                                    "05",
                                    "张主管",
                                    "李会计",
                                    "王出纳",
                                    "现金",
                                    "1234.5",
                                    "壹仟贰佰叁拾肆元伍角整",
                                    "0",
                                    QVariant(),
                                    QVariant(),
                                    QVariant(),
                                    "",
                                    "1",
                                    "2",
                                    "3",
                                    "4",
                                    "5",
                                    "0",
                                    "赵先生",
                                    "0571-88886666",
                                    "杭州市文一路1号",
                                    "备注文字"});
    ReportDataSet detail;
    detail.name = QStringLiteral("frxDBDataset2");
    detail.fields = QStringList{"编号", "名称", "规格型号", "单位", "单价", "金额", "备注", "千万", "百万",
                                "十万", "万",   "千",       "百",   "十",   "元",   "角",   "分",   "数量"};
    for (int i = 1; i <= lines; ++i)
        detail.rows.append(QVariantList{QString::number(i), QStringLiteral("商品%1").arg(i), "A4", "个",
                                        "12.5", "31.25", QVariant(), QVariant(), QVariant(), "", "", "", "",
                                        "3", "1", "2", "5", "2.5"});
    return {header, detail};
}

int insertReceipt(int saleId, const QString &billCode, int lines) {
    TestAppDir::exec(
        QStringLiteral("insert into ss_sale(saleid,billdate,billcode,opname,companyname,linkman,phone,"
                       "adr,zgname,kjname,skrname,skfsname,remark,totalamt,cnamt,printqty,"
                       "f1,j1,y1,s1,b1,q1,w1,sw1,bw1,qw1)values(%1,'2024-03-05','%2','管理员',"
                       "'星河文具有限公司','赵先生','0571-88886666','杭州市文一路1号','张主管',"
                       "'李会计','王出纳','现金','备注文字',1234.5,'壹仟贰佰叁拾肆元伍角整',0,"
                       "'0','5','4','3','2','1','','','','')")
            .arg(saleId)
            .arg(billCode));
    for (int i = 1; i <= lines; ++i)
        TestAppDir::exec(
            QStringLiteral("insert into ss_saledetail(saledetailid,saleid,tablecode,name,goodsmodal,"
                           "unit_name,qty,price,amt,remark,f1,j1,y1,s1,b1,q1,w1,sw1,bw1,qw1)"
                           "values(%1,%2,'%3','商品%3','A4','个',2.5,12.5,31.25,'',"
                           "'5','2','1','3','','','','','','')")
                .arg(saleId * 1000 + i)
                .arg(saleId)
                .arg(i));
    return saleId;
}

void installStyleFile(const QString &fileName) {
    QDir(AppDir).mkpath(QStringLiteral("Print"));
    const QString target = AppDir + QStringLiteral("/Print/") + fileName;
    QFile::remove(target);
    if (!QFile::copy(templatePath(), target))
        QTest::qFail(qPrintable(QStringLiteral("cannot copy the template to %1").arg(target)), __FILE__,
                     __LINE__);
}

} // namespace ReceiptSamples
