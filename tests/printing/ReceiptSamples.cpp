#include "ReceiptSamples.h"

#include "TestAppDir.h"

#include "data/Globals.h"
#include "printing/report/ReportFile.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRectF>
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

QList<ReportDataSet> longTexts(int lines) {
    QList<ReportDataSet> data = dataSets(lines);
    QVariantList &header = data[0].rows[0];
    header[1] = QStringLiteral("SK2024030500000000000000001").left(26);
    header[3] =
        QStringLiteral("星河文具用品与办公设备耗材批发零售连锁有限公司杭州西湖区文三路分公司").left(33);
    header[7] = header[8] = header[9] = QStringLiteral("欧阳").repeated(10);
    header[11] = QStringLiteral("12345678.9");
    header[12] = QStringLiteral("壹仟贰佰叁拾肆万伍仟陆佰柒拾捌圆玖角");
    for (int i = 0; i < lines; ++i) {
        QVariantList &row = data[1].rows[i];
        row[1] = (QStringLiteral("第%1号").arg(i + 1) + QStringLiteral("超长商品名称").repeated(4)).left(20);
        row[3] = QStringLiteral("千克每立方米").repeated(2);
        row[4] = QStringLiteral("98765432.1");
        row[17] = QStringLiteral("123456789.125");
        for (int digit = 9; digit <= 16; ++digit)
            row[digit] = QStringLiteral("9");
    }
    return data;
}

QString longCompanyName() {
    return QStringLiteral("星河文具用品与办公设备及耗材批发零售连锁有限责任公司杭州市西湖区文三路第一分公司");
}

namespace {

// The cells of the template's texts in band coordinates (millimetres), by memo name or text.
QHash<QString, QRectF> templateCells() {
    const auto header = [](const char *field) { return QStringLiteral("[frxDBDataset1.\"%1\"]").arg(field); };
    const auto line = [](const QString &field) {
        return QStringLiteral("[frxDBDataset2.\"%1\"]").arg(field);
    };
    QHash<QString, QRectF> cells{
        {QStringLiteral("Title"), QRectF(0, 0, 190, 9.0)}, // whatever its text, above the number's row
        {header("单据编号"), QRectF(157.8, 9.0, 190 - 157.8, 6.5)},
        {header("收款日期"), QRectF(22.1, 15.5, 79.8 - 22.1, 5.8)},
        {header("交款单位"), QRectF(96.9, 15.5, 190 - 96.9, 5.8)},
        {line("名称"), QRectF(1, 0, 52, 7.8)},
        {line("单位"), QRectF(53, 0, 12, 7.8)},
        {line("数量"), QRectF(65, 0, 14, 7.8)},
        {line("单价"), QRectF(79, 0, 21, 7.8)},
        {header("大写人民币"), QRectF(53.6, 0, 100 - 53.6, 8.1)},
        {header("总金额"), QRectF(100.9, 0, 150.3 - 100.9, 8.1)},
        {header("主管"), QRectF(22.1, 8.1, 68.5 - 22.1, 7.9)},
        {header("会计"), QRectF(82.6, 8.1, 135.3 - 82.6, 7.9)},
        {header("收款人"), QRectF(152.5, 8.1, 190 - 152.5, 7.9)},
    };
    const QList<double> digitCells{100, 106.2, 112.7, 119, 125.1, 131.9, 138.1, 144.1, 150.3};
    const QStringList digits{"十万", "万", "千", "百", "十", "元", "角", "分"};
    for (int i = 0; i < digits.size(); ++i)
        cells.insert(line(digits[i]), QRectF(digitCells[i], 0, digitCells[i + 1] - digitCells[i], 7.8));
    return cells;
}

bool inside(const ReportRect &inner, const QRectF &outer) {
    const double slack = 1; // a hundredth of a millimetre of rounding
    return inner.left >= outer.left() - slack && inner.right() <= outer.right() + slack &&
           inner.top >= outer.top() - slack && inner.bottom() <= outer.bottom() + slack;
}

QRectF toRectF(const ReportRect &r) {
    return QRectF(r.left, r.top, r.width, r.height);
}

} // namespace

QStringList textsOutsideTheirCells(const Report &report, const PreparedReport &prepared) {
    const QHash<QString, QRectF> cells = templateCells();
    QStringList problems;
    for (qsizetype p = 0; p < prepared.pages.size(); ++p) {
        const PreparedPage &page = prepared.pages.at(p);
        for (const PreparedItem &item : page.items) {
            if (item.kind != PreparedItem::Kind::Text)
                continue;
            const QString where = QStringLiteral("page %1, %2 \"%3\"").arg(p + 1).arg(item.object, item.text);
            const ReportObject *object = report.findObject(item.object);
            const MemoObject *memo = object ? std::get_if<MemoObject>(object) : nullptr;
            const PreparedBand *band = nullptr;
            for (const PreparedBand &b : page.bands)
                if (b.name == item.band && item.clip.top >= b.rect.top && item.clip.top < b.rect.bottom())
                    band = &b;
            if (!memo || !band) {
                problems << where + QStringLiteral(": no memo or band");
                continue;
            }
            const QString key = cells.contains(memo->name) ? memo->name : memo->text;
            QRectF cell = cells.contains(key) ? QRectF(cells.value(key).topLeft() * UnitsPerMm,
                                                       cells.value(key).size() * UnitsPerMm)
                                              : toRectF(memo->rect);
            cell.translate(band->rect.left, band->rect.top);
            if (!inside(item.rect, toRectF(item.clip)))
                problems << where + QStringLiteral(": outside its box");
            if (!inside(item.clip, cell) || !inside(item.rect, cell))
                problems << where + QStringLiteral(": outside its cell");
        }
    }
    return problems;
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
