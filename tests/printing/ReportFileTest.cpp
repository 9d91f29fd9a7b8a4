// Report files: the delivered template as laid down, the round trip of every attribute, and
// the clear refusal of broken or foreign files.
#include "ReceiptSamples.h"

#include "printing/report/ReportError.h"
#include "printing/report/ReportFile.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {

const ReportBand &band(const Report &report, const QString &name) {
    const ReportBand *b = report.findBand(name);
    if (!b)
        qFatal("no band %s", qPrintable(name));
    return *b;
}

const MemoObject *memoAt(const ReportBand &band, const QString &text, int left) {
    for (const ReportObject &object : band.objects)
        if (const auto *memo = std::get_if<MemoObject>(&object);
            memo && memo->text == text && memo->rect.left == left)
            return memo;
    return nullptr;
}

// The rules of a band as "x1,y1-x2,y2" in millimetres, sorted.
QStringList rules(const ReportBand &band) {
    QStringList out;
    for (const ReportObject &object : band.objects)
        if (const auto *line = std::get_if<LineObject>(&object))
            out << QStringLiteral("%1,%2-%3,%4")
                       .arg(UnitsToText(line->rect.left), UnitsToText(line->rect.top),
                            UnitsToText(line->rect.right()), UnitsToText(line->rect.bottom()));
    out.sort();
    return out;
}

QStringList verticals(const QList<double> &xs, double top, double bottom) {
    QStringList out;
    for (double x : xs)
        out << QStringLiteral("%1,%2-%1,%3").arg(x).arg(top).arg(bottom);
    return out;
}

QString horizontal(double from, double to, double y) {
    return QStringLiteral("%1,%3-%2,%3").arg(from).arg(to).arg(y);
}

const QList<double> columns{1, 53, 65, 79, 100, 150.3, 189};
const QList<double> digitSplits{106.2, 112.7, 119, 125.1, 131.9, 138.1, 144.1};

// A report that sets every attribute to something other than its default.
Report everyAttribute() {
    QImage image(4, 3, QImage::Format_ARGB32);
    image.fill(QColor(10, 20, 30, 128));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");

    ReportFont font{QStringLiteral("SimSun"), 12.5, true, true, true, QColor(1, 2, 3)};
    ReportPen pen{35, QColor(200, 0, 0, 100), LineStyle::Dash};

    MemoObject memo;
    memo.name = QStringLiteral("Memo1");
    memo.rect = {-150, 1, 12345, 678};
    memo.text = QStringLiteral("  第一行 <&> \"引号\" 'x'\n第二行\t[frxDBDataset1.\"名称\"]  ");
    memo.font = font;
    memo.hAlign = HAlign::Right;
    memo.vAlign = VAlign::Bottom;
    memo.displayFormat = QStringLiteral("%-8.3n元");
    memo.allowExpressions = false;
    memo.wordWrap = memo.autoWidth = memo.canGrow = memo.shrinkToFit = true;
    memo.minFontSize = 7.5;
    memo.bandAlign = BandAlign::Right;
    memo.gapX = 7;
    memo.gapY = 9;
    memo.frameLeft = memo.frameTop = memo.frameRight = memo.frameBottom = true;
    memo.frame = pen;
    memo.fill = QColor(0, 255, 0, 50);
    memo.bandGrowth = BandGrowth::Shift;
    memo.visible = false;

    LineObject line{
        QStringLiteral("Line1"), {5, 6, 0, -700}, {1, Qt::blue, LineStyle::Dot}, BandGrowth::Stretch, false};
    RectangleObject rectangle{QStringLiteral("Shape1"), {1, 2, 3, 4},      pen,
                              QColor(9, 9, 9),          BandGrowth::Shift, false};
    PictureObject picture{
        QStringLiteral("Picture1"), {10, 20, 30, 40}, png, false, BandGrowth::Stretch, false};

    ReportBand data;
    data.name = QStringLiteral("DetailData1");
    data.kind = BandKind::DetailData;
    data.height = 1234;
    data.dataSet = QStringLiteral("frxDBDataset2");
    data.visible = false;
    data.canGrow = true;
    data.rowsPerPage = 7;
    data.fillerBand = QStringLiteral("Child1");
    data.objects = {memo, line, rectangle, picture};

    ReportBand child;
    child.name = QStringLiteral("Child1");
    child.kind = BandKind::Child;
    child.height = 1;

    ReportPage first;
    first.name = QStringLiteral("Page1");
    first.paperWidth = 14801;
    first.paperHeight = 21002;
    first.leftMargin = 1;
    first.topMargin = 2;
    first.rightMargin = 3;
    first.bottomMargin = 4;
    first.font = font;
    first.bands = {data, child};

    Report report;
    report.printerName = QStringLiteral("收据打印机");
    report.previewZoom = 150;
    report.pages = {first};
    for (BandKind kind : {BandKind::ReportTitle, BandKind::PageHeader, BandKind::MasterData,
                          BandKind::ReportSummary, BandKind::PageFooter}) {
        ReportBand b;
        b.name = QStringLiteral("Band%1").arg(int(kind));
        b.kind = kind;
        report.pages.first().bands.append(b);
    }
    ReportPage second;
    second.name = QStringLiteral("Page2");
    report.pages.append(second);
    return report;
}

} // namespace

class ReportFileTest : public QObject {
    Q_OBJECT

private slots:
    void templatePageAndBands();
    void templateTextBoxes_data();
    void templateTextBoxes();
    void templateRules();
    void templateSurvivesLoadAndSave();
    void everyAttributeSurvivesSaveAndLoad();
    void brokenFilesAreRefused_data();
    void brokenFilesAreRefused();
    void versionOneFilesStillRead();
    void fileErrorsNameTheFile();
    void savingAnInvalidReportKeepsTheOldFile();
};

void ReportFileTest::templatePageAndBands() {
    const Report report = ReceiptSamples::loadTemplate();
    QCOMPARE(report.pages.size(), 1);
    const ReportPage &page = report.pages.first();
    QCOMPARE(page.name, QString("Page1"));
    QCOMPARE(QList<int>({page.paperWidth, page.paperHeight, page.leftMargin, page.topMargin, page.rightMargin,
                         page.bottomMargin}),
             QList<int>({21000, 10000, 1000, 1000, 1000, 1000}));
    QCOMPARE(page.font.family, QString("宋体"));
    QCOMPARE(page.font.pointSize, 10.0);
    QCOMPARE(report.printerName, QString());
    QCOMPARE(report.previewZoom, 100);

    QStringList bands;
    for (const ReportBand &b : page.bands)
        bands << QStringLiteral("%1:%2:%3:%4:%5")
                     .arg(b.name)
                     .arg(int(b.kind))
                     .arg(UnitsToText(b.height), b.dataSet, b.visible ? "shown" : "hidden");
    QCOMPARE(bands, QStringList({"ReportTitle1:0:32::shown", "MasterData1:2:0:frxDBDataset1:hidden",
                                 "DetailData1:3:8:frxDBDataset2:shown", "Child1:4:8::shown",
                                 "ReportSummary1:5:16::shown"}));
    const ReportBand &detail = band(report, "DetailData1");
    QCOMPARE(detail.rowsPerPage, 4);
    QCOMPARE(detail.fillerBand, QString("Child1"));
    QVERIFY(!detail.canGrow); // rows of a pre-printed form keep their 8.0 mm
    QVERIFY(!report.findObject("Myinfo"));
}

void ReportFileTest::templateTextBoxes_data() {
    QTest::addColumn<QString>("band");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("width"); // 0: grows with the text
    QTest::addColumn<double>("size");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("align");
    QTest::addColumn<QString>("format");

    const int L = int(HAlign::Left), C = int(HAlign::Center), R = int(HAlign::Right);
    auto row = [](const char *band, const QString &text, double left, double top, double width, bool bold,
                  int align, const char *format = "", double size = 10) {
        QTest::addRow("%s %s %g", band, qPrintable(text), left)
            << band << text << left << top << width << size << bold << align << format;
    };
    const QString f1 = QStringLiteral("[frxDBDataset1.\"%1\"]");
    const QString f2 = QStringLiteral("[frxDBDataset2.\"%1\"]");
    row("ReportTitle1", "NO:", 140.8, 9.0, 17, true, R);
    row("ReportTitle1", f1.arg("单据编号"), 157.8, 9.0, 0, true, L);
    row("ReportTitle1", "收款日期:", 5.3, 15.5, 17, true, L);
    row("ReportTitle1", f1.arg("收款日期"), 22.1, 15.5, 0, true, L);
    row("ReportTitle1", "交款单位:", 79.8, 15.5, 17, true, L);
    row("ReportTitle1", f1.arg("交款单位"), 96.9, 15.5, 0, true, L);
    row("ReportTitle1", "名称", 1, 24.3, 52, true, C);
    row("ReportTitle1", "单位", 53, 24.3, 12, true, C);
    row("ReportTitle1", "数量", 65, 24.3, 14, true, C);
    row("ReportTitle1", "单价", 79, 24.3, 21, true, C);
    row("ReportTitle1", "金额", 101.2, 22.0, 45, false, C);
    row("ReportTitle1", "备注", 158.0, 23.9, 17, true, C);
    const QList<double> cells{100, 106.2, 112.7, 119, 125.1, 131.9, 138.1, 144.1, 150.3};
    const QStringList heads{"十", "万", "千", "百", "十", "元", "角", "分"};
    const QStringList digits{"十万", "万", "千", "百", "十", "元", "角", "分"};
    for (int i = 0; i < 8; ++i) {
        row("ReportTitle1", heads[i], cells[i], 27.0, cells[i + 1] - cells[i], false, C);
        row("DetailData1", f2.arg(digits[i]), cells[i], 1.4, cells[i + 1] - cells[i], false, C);
    }
    row("DetailData1", f2.arg("名称"), 1, 1.4, 52, false, C);
    row("DetailData1", f2.arg("单位"), 53, 1.4, 12, false, C);
    row("DetailData1", f2.arg("数量"), 65, 1.4, 14, false, C, "%g");
    row("DetailData1", f2.arg("单价"), 79, 1.4, 21, false, C, "%2.2f");
    row("ReportSummary1", "合计人民币", 1.8, 1.6, 50, false, C);
    row("ReportSummary1", f1.arg("大写人民币"), 53.6, 1.6, 0, false, L);
    row("ReportSummary1", f1.arg("总金额"), 100.9, 1.6, 0, false, L, "%2.2m");
    row("ReportSummary1", "主管:", 5.3, 9.8, 17, false, L);
    row("ReportSummary1", f1.arg("主管"), 22.1, 9.8, 0, false, L);
    row("ReportSummary1", "会计:", 68.5, 9.8, 17, false, L);
    row("ReportSummary1", f1.arg("会计"), 82.6, 9.8, 0, false, L);
    row("ReportSummary1", "收款人:", 135.3, 9.8, 17, false, L);
    row("ReportSummary1", f1.arg("收款人"), 152.5, 9.8, 0, false, L);
}

void ReportFileTest::templateTextBoxes() {
    QFETCH(QString, band);
    QFETCH(QString, text);
    QFETCH(double, left);
    QFETCH(double, top);
    QFETCH(double, width);
    QFETCH(double, size);
    QFETCH(bool, bold);
    QFETCH(int, align);
    QFETCH(QString, format);

    const Report report = ReceiptSamples::loadTemplate();
    const MemoObject *memo = memoAt(::band(report, band), text, qRound(left * 100));
    QVERIFY2(memo, "no such text box at that place");
    QCOMPARE(memo->rect.top, qRound(top * 100));
    if (width > 0) {
        QCOMPARE(memo->rect.width, qRound(width * 100));
        QVERIFY(!memo->autoWidth);
    } else {
        QVERIFY(memo->autoWidth);
    }
    QCOMPARE(memo->font.family, QString("宋体"));
    QCOMPARE(memo->font.pointSize, size);
    QCOMPARE(memo->font.bold, bold);
    QCOMPARE(int(memo->hAlign), align);
    QCOMPARE(memo->displayFormat, format);
    QVERIFY(memo->visible);
    // Data fields shrink to fit their box; none grows downwards.
    QCOMPARE(memo->shrinkToFit, text.startsWith("[frx"));
    QCOMPARE(memo->minFontSize, 5.0);
    QVERIFY(!memo->canGrow);
}

void ReportFileTest::templateRules() {
    const Report report = ReceiptSamples::loadTemplate();
    QStringList title = verticals(columns, 21.5, 31.5) + verticals(digitSplits, 26.5, 31.5);
    title << horizontal(1, 189, 21.3) << horizontal(1, 189, 31.7) << horizontal(100, 150.3, 26.4);
    title.sort();
    QCOMPARE(rules(band(report, "ReportTitle1")), title);

    QStringList row = verticals(columns + digitSplits, 0, 8) << horizontal(1, 189, 7.8);
    row.sort();
    QCOMPARE(rules(band(report, "DetailData1")), row);
    QCOMPARE(rules(band(report, "Child1")), row);

    QStringList summary = verticals({1, 53, 100, 150.3, 189}, 0, 8) << horizontal(1, 189, 8.1);
    summary.sort();
    QCOMPARE(rules(band(report, "ReportSummary1")), summary);

    const MemoObject *heading = std::get_if<MemoObject>(report.findObject("Title"));
    QVERIFY(heading);
    QCOMPARE(heading->text, QString("收据"));
    QCOMPARE(heading->rect.top, 170);
    QCOMPARE(heading->rect.bottom(), 900); // clear of the receipt number's row
    QVERIFY(heading->shrinkToFit);
    QCOMPARE(heading->bandAlign, BandAlign::Center);
    QCOMPARE(heading->hAlign, HAlign::Center);
    QVERIFY(heading->autoWidth);
    QCOMPARE(heading->font.pointSize, 16.0);
    QVERIFY(heading->font.bold);
    bool picture = false;
    for (const ReportObject &object : band(report, "ReportTitle1").objects)
        if (const auto *p = std::get_if<PictureObject>(&object))
            picture = p->rect == ReportRect{500, 0, 1500, 1000} && p->imageData.isEmpty();
    QVERIFY2(picture, "the empty logo box at 5.0, 0; 15 by 10 mm");
}

void ReportFileTest::templateSurvivesLoadAndSave() {
    QFile file(ReceiptSamples::templatePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray original = file.readAll();
    const Report report = ReadReportXml(original);
    const QByteArray saved = WriteReportXml(report);
    QCOMPARE(ReadReportXml(saved), report);
    QCOMPARE(saved, original); // the delivered file is what the engine writes
}

void ReportFileTest::everyAttributeSurvivesSaveAndLoad() {
    const Report report = everyAttribute();
    QTemporaryDir dir;
    const QString path = dir.filePath("style.fr3");
    SaveReportFile(report, path);
    const Report loaded = LoadReportFile(path);
    QCOMPARE(loaded.pages.size(), 2);
    QCOMPARE(std::get<MemoObject>(loaded.pages[0].bands[0].objects[0]),
             std::get<MemoObject>(report.pages[0].bands[0].objects[0]));
    QCOMPARE(std::get<PictureObject>(loaded.pages[0].bands[0].objects[3]).imageData,
             std::get<PictureObject>(report.pages[0].bands[0].objects[3]).imageData);
    QVERIFY(loaded == report);
    // A model with every value at its default is written out in full as well.
    Report plain;
    plain.pages.append(ReportPage());
    MemoObject memo;
    memo.name = QStringLiteral("M");
    ReportBand band;
    band.name = QStringLiteral("B");
    band.objects << memo;
    plain.pages[0].bands << band;
    const QByteArray xml = WriteReportXml(plain);
    for (const char *attribute :
         {"fontColor=\"#000000\"", "gapY=\"0\"", "bandGrowth=\"none\"", "fill=\"none\"", "rowsPerPage=\"0\"",
          "allowExpressions=\"true\"", "frameStyle=\"solid\"", "shrinkToFit=\"false\"", "minFontSize=\"5\""})
        QVERIFY2(xml.contains(attribute), attribute);
    QVERIFY(ReadReportXml(xml) == plain);
}

void ReportFileTest::brokenFilesAreRefused_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("message");

    const QByteArray head = "<QuilloReport version=\"1\"><Page name=\"Page1\">";
    const QByteArray tail = "</Page></QuilloReport>";
    auto row = [&](const char *name, const QByteArray &body, const char *message) {
        QTest::newRow(name) << head + body + tail << QString::fromUtf8(message);
    };
    QTest::newRow("empty file") << QByteArray() << "不是有效的XML";
    QTest::newRow("not XML") << QByteArray("PK\x03\x04 binary report of another program") << "不是有效的XML";
    QTest::newRow("cut short") << QByteArray(head + "<Band name=\"B\" kind=\"Chi") << "不是有效的XML";
    QTest::newRow("foreign root") << QByteArray("<?xml version=\"1.0\"?><TfrxReport Version=\"6\"/>")
                                  << "不是报表文件（根元素为“TfrxReport”）";
    QTest::newRow("no version") << QByteArray("<QuilloReport/>") << "缺少版本号";
    QTest::newRow("newer version") << QByteArray("<QuilloReport version=\"3\"/>") << "版本3比本程序新";
    QTest::newRow("bad version") << QByteArray("<QuilloReport version=\"一\"/>")
                                 << "属性“version”的值“一”无效";
    QTest::newRow("no page") << QByteArray("<QuilloReport version=\"1\"/>") << "报表没有页面";
    QTest::newRow("content after the end") << QByteArray(head + tail + "<Page/>") << "不是有效的XML";
    QTest::newRow("bad length") << QByteArray(
                                       "<QuilloReport version=\"1\"><Page name=\"P\" paperWidth=\"21O\"/>"
                                       "</QuilloReport>")
                                << "第1行：属性“paperWidth”的值“21O”无效";
    QTest::newRow("margins wider than the paper")
        << QByteArray("<QuilloReport version=\"1\"><Page name=\"P\" paperWidth=\"20\" leftMargin=\"10\" "
                      "rightMargin=\"10\"/></QuilloReport>")
        << "页面“P”的纸张尺寸或页边距无效";
    QTest::newRow("unknown attribute")
        << QByteArray("<QuilloReport version=\"1\"><Page name=\"P\" colour=\"red\"/>"
                      "</QuilloReport>")
        << "元素“Page”没有属性“colour”";
    row("unknown element", "<Table name=\"T\"/>", "此处不能有元素“Table”");
    row("element inside an object",
        "<Band name=\"B\" kind=\"Child\"><Memo name=\"M\"><Memo name=\"N\"/></Memo></Band>",
        "此处不能有元素“Memo”");
    row("band without kind", "<Band name=\"B\"/>", "带区“B”缺少类型");
    row("unknown band kind", "<Band name=\"B\" kind=\"GroupHeader\"/>", "属性“kind”的值“GroupHeader”无效");
    row("bad colour", "<Band name=\"B\" kind=\"Child\"><Memo name=\"M\" fontColor=\"red\"/></Band>",
        "属性“fontColor”的值“red”无效");
    row("bad flag", "<Band name=\"B\" kind=\"Child\" visible=\"yes\"/>", "属性“visible”的值“yes”无效");
    row("font size 0", "<Band name=\"B\" kind=\"Child\"><Memo name=\"M\" fontSize=\"0\"/></Band>",
        "对象“M”的字号0超出范围（1～500磅）");
    // 1e300 points would overflow the conversion to device units, and the text would vanish.
    row("absurd font size", "<Band name=\"B\" kind=\"Child\"><Memo name=\"M\" fontSize=\"1e300\"/></Band>",
        "对象“M”的字号1e+300超出范围（1～500磅）");
    row("font size just above the largest",
        "<Band name=\"B\" kind=\"Child\"><Memo name=\"M\" fontSize=\"500.5\"/></Band>",
        "对象“M”的字号500.5超出范围");
    row("font size below 1 pt", "<Band name=\"B\" kind=\"Child\"><Memo name=\"M\" fontSize=\"0.9\"/></Band>",
        "对象“M”的字号0.9超出范围");
    row("smallest shrunk size out of range",
        "<Band name=\"B\" kind=\"Child\"><Memo name=\"M\" minFontSize=\"0.5\"/></Band>",
        "对象“M”缩小时最小的字号0.5超出范围");
    QTest::newRow("page font size")
        << QByteArray("<QuilloReport version=\"1\"><Page name=\"P\" fontSize=\"1000\"/></QuilloReport>")
        << "页面“P”的字号1000超出范围";
    row("object beyond 10 m", "<Band name=\"B\" kind=\"Child\"><Memo name=\"M\" left=\"10000.01\"/></Band>",
        "对象“M”的位置或尺寸超出范围（不能超过10米）");
    row("line longer than 10 m", "<Band name=\"B\" kind=\"Child\"><Line name=\"L\" width=\"-20000\"/></Band>",
        "对象“L”的位置或尺寸超出范围");
    row("band taller than 10 m", "<Band name=\"B\" kind=\"Child\" height=\"9999999\"/>",
        "带区“B”的位置或尺寸超出范围");
    QTest::newRow("paper wider than 10 m")
        << QByteArray("<QuilloReport version=\"1\"><Page name=\"P\" paperWidth=\"10001\"/></QuilloReport>")
        << "页面“P”的位置或尺寸超出范围";
    row("bad picture data", "<Band name=\"B\" kind=\"Child\"><Picture name=\"P\" data=\"@@@\"/></Band>",
        "图片“P”的数据无效");
    row("object without name", "<Band name=\"B\" kind=\"Child\"><Line/></Band>", "对象没有名称");
    row("duplicate object name",
        "<Band name=\"B\" kind=\"Child\"><Line name=\"Line1\"/><Memo name=\"Line1\"/></Band>",
        "名称“Line1”重复");
    row("band and object of one name", "<Band name=\"Title\" kind=\"Child\"><Memo name=\"TITLE\"/></Band>",
        "名称“TITLE”重复");
    row("negative rows per page", "<Band name=\"B\" kind=\"DetailData\" rowsPerPage=\"-1\"/>",
        "每页行数-1无效");
    row("huge rows per page", "<Band name=\"B\" kind=\"DetailData\" rowsPerPage=\"2000000000\"/>",
        "每页行数2000000000无效");
    row("missing filler band",
        "<Band name=\"B\" kind=\"DetailData\" rowsPerPage=\"4\" fillerBand=\"Child9\"/>",
        "填充带区“Child9”不存在");
    row("filler that is no child band",
        "<Band name=\"B\" kind=\"DetailData\" fillerBand=\"S\"/><Band name=\"S\" kind=\"ReportSummary\"/>",
        "填充带区“S”不是子带区");
}

void ReportFileTest::brokenFilesAreRefused() {
    QFETCH(QByteArray, xml);
    QFETCH(QString, message);
    try {
        ReadReportXml(xml);
        QFAIL("the file was accepted");
    } catch (const ReportError &error) {
        QVERIFY2(error.message().contains(message), qPrintable(error.message()));
    }
}

void ReportFileTest::versionOneFilesStillRead() {
    const Report report =
        ReadReportXml("<QuilloReport version=\"1\"><Page name=\"P\"><Band name=\"B\" kind=\"Child\">"
                      "<Memo name=\"M\" fontSize=\"12\"/></Band></Page></QuilloReport>");
    const MemoObject &memo = std::get<MemoObject>(report.pages[0].bands[0].objects[0]);
    QVERIFY(!memo.shrinkToFit);
    QCOMPARE(memo.minFontSize, 5.0);
    QVERIFY(WriteReportXml(report).startsWith(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<QuilloReport version=\"2\""));
}

void ReportFileTest::fileErrorsNameTheFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath("ss_sale7.fr3");
    try {
        LoadReportFile(path);
        QFAIL("a missing file was loaded");
    } catch (const ReportError &error) {
        QVERIFY2(error.message().startsWith("无法打开报表文件“ss_sale7.fr3”"), qPrintable(error.message()));
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<QuilloReport version=\"1\">\n<Page name=\"P\" paperHeight=\"x\"/></QuilloReport>");
    file.close();
    try {
        LoadReportFile(path);
        QFAIL("a broken file was loaded");
    } catch (const ReportError &error) {
        QCOMPARE(error.message(),
                 QString("报表文件“ss_sale7.fr3”无法读取：第2行：属性“paperHeight”的值“x”无效。"));
    }
}

void ReportFileTest::savingAnInvalidReportKeepsTheOldFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath("ss_sale1.fr3");
    QVERIFY(QFile::copy(ReceiptSamples::templatePath(), path));
    Report report = ReceiptSamples::loadTemplate();
    report.pages[0].bands[2].fillerBand = QStringLiteral("Nothing");
    QVERIFY_THROWS_EXCEPTION(ReportError, SaveReportFile(report, path));
    QCOMPARE(LoadReportFile(path), ReceiptSamples::loadTemplate());
    // A control character could be written but never read back.
    report = ReceiptSamples::loadTemplate();
    report.findMemo("Title")->text = QStringLiteral("收\x01据");
    QVERIFY_THROWS_EXCEPTION(ReportError, SaveReportFile(report, path));
    QCOMPARE(LoadReportFile(path), ReceiptSamples::loadTemplate());
    QVERIFY_THROWS_EXCEPTION(ReportError,
                             SaveReportFile(ReceiptSamples::loadTemplate(), dir.filePath("no/such/dir.fr3")));
}

QTEST_GUILESS_MAIN(ReportFileTest)
#include "ReportFileTest.moc"
