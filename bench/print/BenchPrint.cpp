// Rendering benchmark of the receipt print: the report engine alone (template file, layout,
// PDF) and the whole pipeline (PrintBill on a database: queries, count and log committed,
// layout, PDF). With --pdf FILE it prints one receipt of --lines N lines to FILE and stops.
#include "BenchPdfOutput.h"

#include "data/DatabaseFile.h"
#include "data/DbConnection.h"
#include "data/Globals.h"
#include "data/SchemaUpgrade.h"
#include "data/Sharedm2.h"
#include "printing/PrintBill.h"
#include "printing/report/FontSubstitutions.h"
#include "printing/report/FontTextMeasurer.h"
#include "printing/report/ReportFile.h"
#include "printing/report/ReportLayout.h"
#include "printing/report/ReportOutput.h"
#include "receipts/core/AmountRules.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <numeric>

namespace {

struct Line {
    const char *name;
    const char *unit;
    double qty;
    double price;
};

const Line goods[] = {
    {"A4复印纸", "包", 2, 25.5}, {"中性笔（黑）", "支", 10, 2.5}, {"文件夹", "个", 5, 6.8},
    {"订书机", "台", 1, 35},     {"计算器", "台", 1, 128},        {"档案盒", "个", 20, 4.25},
    {"便利贴", "本", 3.5, 3},    {"白板笔", "支", 12, 3.6},       {"剪刀", "把", 2, 9.9}};

QString quoted(const QString &text) {
    return u'\'' + text + u'\'';
}

QString digitColumns(double amount) {
    QStringList values;
    for (int place = 0; place <= 9; ++place)
        values << quoted(AmountDigit(place, amount));
    return values.join(u','); // f1,j1,y1,s1,b1,q1,w1,sw1,bw1,qw1
}

void exec(const QString &statement) {
    DbQuery &q = ShareDM1->ShareUpdate1;
    q.execSql(statement);
}

void insertReceipt(int saleId, int lines) {
    double total = 0;
    for (int i = 0; i < lines; ++i) {
        const Line &g = goods[i % std::size(goods)];
        const double amount = g.qty * g.price;
        total += amount;
        exec(QStringLiteral(
                 "insert into ss_saledetail(saledetailid,saleid,tablecode,name,goodsmodal,unit_name,qty,"
                 "price,amt,remark,f1,j1,y1,s1,b1,q1,w1,sw1,bw1,qw1)values(%1,%2,'%3','%4','','%5',%6,%7,"
                 "%8,'',%9)")
                 .arg(saleId * 1000 + i)
                 .arg(saleId)
                 .arg(i + 1)
                 .arg(QString::fromUtf8(g.name), QString::fromUtf8(g.unit))
                 .arg(g.qty)
                 .arg(g.price)
                 .arg(amount)
                 .arg(digitColumns(amount)));
    }
    exec(QStringLiteral(
             "insert into ss_sale(saleid,billdate,billcode,opname,companyname,linkman,phone,adr,zgname,"
             "kjname,skrname,skfsname,remark,totalamt,cnamt,printqty,f1,j1,y1,s1,b1,q1,w1,sw1,bw1,qw1)"
             "values(%1,'2024-03-05','SK202403050%1','管理员','杭州湖畔科技有限公司','赵先生',"
             "'0571-88886666','杭州市文一路1号','张明','李芳','王丽','现金','',%2,'%3',0,%4)")
             .arg(saleId)
             .arg(total)
             .arg(AmountToCapitals(total))
             .arg(digitColumns(total)));
}

// The data sets PrintBill would read, for the engine alone.
QList<ReportDataSet> readDataSets(int saleId) {
    QList<ReportDataSet> sets;
    const QStringList statements{
        QStringLiteral(
            "select billdate as 收款日期,billcode as 单据编号,companyname as 交款单位,zgname as 主管,"
            "kjname as 会计,skrname as 收款人,totalamt as 总金额,cnamt as 大写人民币 from ss_sale where "
            "saleid=%1")
            .arg(saleId),
        QStringLiteral(
            "select name as 名称,unit_name as 单位,price as 单价,qty as 数量,sw1 as 十万,w1 as 万,q1 as "
            "千,b1 as 百,s1 as 十,y1 as 元,j1 as 角,f1 as 分 from ss_saledetail where saleid=%1 order by "
            "saledetailid")
            .arg(saleId)};
    for (int i = 0; i < 2; ++i) {
        DbQuery q(ShareDM1->ShareConn);
        q.setText(statements[i]);
        q.open();
        ReportDataSet set;
        set.name = QStringLiteral("frxDBDataset%1").arg(i + 1);
        for (int c = 0; c < q.fieldCount(); ++c)
            set.fields << q.fieldName(c);
        for (; !q.eof(); q.next()) {
            QVariantList row;
            for (int c = 0; c < q.fieldCount(); ++c)
                row << q.textAt(c);
            set.rows << row;
        }
        sets << set;
    }
    return sets;
}

struct Times {
    QList<double> ms;
    double total() const { return std::accumulate(ms.begin(), ms.end(), 0.0); }
    double median() const {
        QList<double> s = ms;
        std::sort(s.begin(), s.end());
        return s.isEmpty() ? 0 : s[s.size() / 2];
    }
    double max() const { return ms.isEmpty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};

double elapsedMs(const QElapsedTimer &timer) {
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Receipt rendering benchmark"));
    parser.addHelpOption();
    const QCommandLineOption pdfOption(
        QStringLiteral("pdf"), QStringLiteral("Print one receipt to this PDF file."), QStringLiteral("file"));
    const QCommandLineOption linesOption(QStringLiteral("lines"),
                                         QStringLiteral("Lines per receipt (default 4)."),
                                         QStringLiteral("n"), QStringLiteral("4"));
    const QCommandLineOption countOption(QStringLiteral("count"),
                                         QStringLiteral("Receipts to time (default 100)."),
                                         QStringLiteral("n"), QStringLiteral("100"));
    parser.addOptions({pdfOption, linesOption, countOption});
    parser.process(app);
    const int lines = qMax(0, parser.value(linesOption).toInt());
    const int count = qMax(1, parser.value(countOption).toInt());
    QTextStream out(stdout);

    // As the program's start-up: Chinese number and money formats, Noto for 宋体.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    InstallFontSubstitutions();
    QTemporaryDir dir;
    AppDir = dir.path();
    ConnString = BuildConnString(AppDir);
    CreateDatabase(AppDir + u'/' + DatabaseFileName,
                   DbConnection::parseConnectionString(ConnString).password);
    ConnectDatabase();
    UpgradeSchema();
    QDir(AppDir).mkpath(QStringLiteral("Print"));
    const QString style = AppDir + QStringLiteral("/Print/ss_sale1.fr3");
    QFile::copy(QStringLiteral(QUILLO_SAMPLE_REPORT), style);
    OperatorName = QStringLiteral("管理员");
    CompanyName = QStringLiteral("杭州湖畔科技有限公司");
    PrintPreview = false;

    if (parser.isSet(pdfOption)) {
        insertReceipt(1, lines);
        BenchPdfOutput output(parser.value(pdfOption));
        PrintBill(false, 1, QStringLiteral("SK2024030501"), 1);
        out << "wrote " << parser.value(pdfOption) << ": " << lines << " lines, " << output.pages()
            << " page(s)\n";
        DisconnectDatabase();
        return 0;
    }

    for (int i = 1; i <= count; ++i)
        insertReceipt(i, lines);
    out << "receipts of " << lines << " lines on the delivered template (" << count << " receipts)\n";

    // The engine alone: load the style file, lay out, write the PDF.
    const QList<ReportDataSet> data = readDataSets(1);
    Times engine;
    double firstLoad = 0, firstLayout = 0, firstPdf = 0;
    for (int i = 0; i <= count; ++i) {
        QElapsedTimer timer;
        timer.start();
        const Report report = LoadReportFile(style);
        const double load = elapsedMs(timer);
        const PreparedReport prepared = PrepareReport(report, data, FontTextMeasurer());
        const double layout = elapsedMs(timer);
        WritePdf(prepared, dir.filePath(QStringLiteral("engine%1.pdf").arg(i)));
        const double all = elapsedMs(timer);
        if (i == 0) { // the first run loads the fonts
            firstLoad = load;
            firstLayout = layout - load;
            firstPdf = all - layout;
        } else {
            engine.ms << all;
        }
    }
    out << QStringLiteral("engine, first receipt (fonts loaded): %1 ms (file %2, layout %3, PDF %4)\n")
               .arg(firstLoad + firstLayout + firstPdf, 0, 'f', 1)
               .arg(firstLoad, 0, 'f', 1)
               .arg(firstLayout, 0, 'f', 1)
               .arg(firstPdf, 0, 'f', 1);
    out << QStringLiteral("engine, next %1 receipts: %2 ms in all, median %3 ms, max %4 ms\n")
               .arg(count)
               .arg(engine.total(), 0, 'f', 0)
               .arg(engine.median(), 0, 'f', 2)
               .arg(engine.max(), 0, 'f', 2);

    // The whole pipeline: PrintBill per receipt, each counted and logged in its transaction.
    BenchPdfOutput output(dir.filePath(QStringLiteral("pipeline.pdf")));
    Times pipeline;
    for (int i = 1; i <= count; ++i) {
        QElapsedTimer timer;
        timer.start();
        PrintBill(false, i, QStringLiteral("SK202403050%1").arg(i), 1);
        pipeline.ms << elapsedMs(timer);
    }
    out << QStringLiteral("PrintBill to PDF, %1 receipts: %2 ms in all, median %3 ms, max %4 ms\n")
               .arg(count)
               .arg(pipeline.total(), 0, 'f', 0)
               .arg(pipeline.median(), 0, 'f', 2)
               .arg(pipeline.max(), 0, 'f', 2);
    DisconnectDatabase();
    return 0;
}
