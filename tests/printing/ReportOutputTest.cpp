// Prepared pages on paper, in PDF files and in images: the paper size survives, the fonts are
// the mapped ones, and the drawing lands where the layout put it.
#include "ReceiptSamples.h"

#include "printing/report/FontSubstitutions.h"
#include "printing/report/FontTextMeasurer.h"
#include "printing/report/ReportError.h"
#include "printing/report/ReportFonts.h"
#include "printing/report/ReportLayout.h"
#include "printing/report/ReportOutput.h"

#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <QtEndian>

namespace {

// The page sizes of a PDF file in millimetres, "210x100" each, in page order.
QStringList pdfPageSizes(const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("unreadable")};
    const QString pdf = QString::fromLatin1(file.readAll());
    static const QRegularExpression mediaBox(
        QStringLiteral(R"(/MediaBox\s*\[\s*0\s+0\s+([\d.]+)\s+([\d.]+)\s*\])"));
    QStringList sizes;
    for (auto it = mediaBox.globalMatch(pdf); it.hasNext();) {
        const auto m = it.next();
        sizes << QStringLiteral("%1x%2")
                     .arg(qRound(m.captured(1).toDouble() / 72 * 25.4))
                     .arg(qRound(m.captured(2).toDouble() / 72 * 25.4));
    }
    return sizes;
}

// The scales "a 0 0 d 0 0 cm" with which the pages of a PDF file draw, from its content streams.
QList<QPair<double, double>> pdfScales(const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray pdf = file.readAll();
    static const QRegularExpression matrix(QStringLiteral(R"(([\d.]+) 0 0 ([\d.]+) 0 0 cm)"));
    QList<QPair<double, double>> scales;
    for (qsizetype at = pdf.indexOf("stream\n"); at >= 0; at = pdf.indexOf("stream\n", at + 1)) {
        const qsizetype end = pdf.indexOf("endstream", at);
        QByteArray packed(4, '\0');
        qToBigEndian<quint32>(1 << 22, packed.data()); // qUncompress wants a size hint first
        packed += pdf.mid(at + 7, end - at - 7);
        const QString content = QString::fromLatin1(qUncompress(packed));
        for (auto it = matrix.globalMatch(content); it.hasNext();) {
            const auto m = it.next();
            scales << qMakePair(m.captured(1).toDouble(), m.captured(2).toDouble());
        }
    }
    return scales;
}

// The template on a receipt, and an A5 page after it.
PreparedReport twoPaperSizes() {
    Report report = ReceiptSamples::loadTemplate();
    ReportPage a5;
    a5.name = QStringLiteral("Page2");
    a5.paperWidth = 14800;
    a5.paperHeight = 21000;
    report.pages << a5;
    return PrepareReport(report, ReceiptSamples::dataSets(5), FontTextMeasurer());
}

bool darkPixelIn(const QImage &image, const QRect &area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

// What pdftotext (poppler-utils, installed with the build's packages) reads from a PDF file:
// its plain text, or with "-bbox" an XHTML list of words with their boxes.
QString pdfToText(const QString &fileName, const QStringList &options = {}) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (program.isEmpty())
        return QStringLiteral("pdftotext is missing: scripts/install-deps.sh installs poppler-utils");
    QProcess process;
    process.start(program, options + QStringList{fileName, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("pdftotext failed: ") + QString::fromUtf8(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput());
}

struct PdfWord {
    int page = 0;
    QRectF box; // hundredths of a millimetre from the paper's top-left corner
    QString text;
};

QList<PdfWord> pdfWords(const QString &fileName) {
    QXmlStreamReader xml(pdfToText(fileName, {QStringLiteral("-bbox")}));
    QList<PdfWord> words;
    int page = -1;
    const double unitsPerPoint = 2540.0 / 72;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("page")) {
            ++page;
        } else if (xml.name() == QLatin1String("word")) {
            const auto a = xml.attributes();
            const QPointF topLeft(a.value("xMin").toDouble(), a.value("yMin").toDouble());
            const QPointF bottomRight(a.value("xMax").toDouble(), a.value("yMax").toDouble());
            words.append(
                {page, QRectF(topLeft * unitsPerPoint, bottomRight * unitsPerPoint), xml.readElementText()});
        }
    }
    return words;
}

} // namespace

class ReportOutputTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void paperSizesSurvive_data();
    void paperSizesSurvive();
    void mappedFontDrawsChinese();
    void imageShowsTheGridAndTheDigits();
    void imagesAreWrittenPageByPage();
    void pdfTextIsThePrintedText();
    void longTextsStayInsideTheirCells_data();
    void longTextsStayInsideTheirCells();
    void unwritableTargetsAreErrors();
};

void ReportOutputTest::initTestCase() {
    InstallFontSubstitutions();
}

void ReportOutputTest::paperSizesSurvive_data() {
    QTest::addColumn<bool>("printer");
    QTest::newRow("PDF file") << false;
    QTest::newRow("printer") << true;
}

void ReportOutputTest::paperSizesSurvive() {
    QFETCH(bool, printer);
    QTemporaryDir dir;
    const QString path = dir.filePath("out.pdf");
    const PreparedReport prepared = twoPaperSizes();
    QCOMPARE(prepared.pages.size(), 3);
    if (printer) {
        QPrinter device(QPrinter::HighResolution);
        device.setOutputFormat(QPrinter::PdfFormat);
        device.setOutputFileName(path);
        PrintPages(prepared, device);
    } else {
        WritePdf(prepared, path);
    }
    QCOMPARE(pdfPageSizes(path), QStringList({"210x100", "210x100", "148x210"}));
    // Drawn at true scale, the same across and down (rows 8.0 mm apart stay 8.0 mm apart).
    const QList<QPair<double, double>> scales = pdfScales(path);
    QVERIFY(!scales.isEmpty());
    for (const auto &[across, down] : scales)
        QVERIFY2(qAbs(across - 1200 / 2540.0) < 1e-6 && qAbs(down - 1200 / 2540.0) < 1e-6,
                 qPrintable(QStringLiteral("%1 %2").arg(across).arg(down)));
}

void ReportOutputTest::mappedFontDrawsChinese() {
    const QFontInfo info(ReportQFont(ReportFont{}));
    QCOMPARE(info.family(), ReportSongFamily);
    const QFontInfo bold(ReportQFont(ReportFont{QStringLiteral("SimSun"), 16, true}));
    QCOMPARE(bold.family(), ReportSongFamily);
    QVERIFY(bold.bold());
}

void ReportOutputTest::imageShowsTheGridAndTheDigits() {
    // At 254 dpi a millimetre is ten pixels.
    const PreparedReport prepared =
        PrepareReport(ReceiptSamples::loadTemplate(), ReceiptSamples::dataSets(1), FontTextMeasurer());
    const QImage image = RenderPage(prepared.pages.first(), 254);
    QCOMPARE(image.size(), QSize(2100, 1000));
    QVERIFY(!darkPixelIn(image, QRect(0, 0, 100, 1000)));   // the left margin stays blank
    QVERIFY(darkPixelIn(image, QRect(108, 440, 4, 1)));     // the rule at 1.0 mm of the first row
    QVERIFY(!darkPixelIn(image, QRect(115, 425, 100, 50))); // the name column left of its text
    QVERIFY(darkPixelIn(image, QRect(1545, 440, 52, 40)));  // "5" in the 分 cell of the first row
    QVERIFY(!darkPixelIn(image, QRect(1545, 520, 52, 40))); // the second row (blank) has no digits
    QVERIFY(darkPixelIn(image, QRect(120, 496, 500, 4)));   // the first row's bottom rule at 7.8 mm
    QVERIFY(!darkPixelIn(image, QRect(120, 485, 500, 8)));  // and nothing just above it
}

void ReportOutputTest::imagesAreWrittenPageByPage() {
    QTemporaryDir dir;
    const PreparedReport prepared =
        PrepareReport(ReceiptSamples::loadTemplate(), ReceiptSamples::dataSets(5), FontTextMeasurer());
    const QStringList files = WriteImages(prepared, dir.filePath("收据.jpg"), 100);
    QCOMPARE(files, QStringList({dir.filePath("收据.jpg"), dir.filePath("收据_2.jpg")}));
    for (const QString &file : files) {
        const QImage image(file);
        QCOMPARE(image.size(), QSize(827, 394));
    }
}

void ReportOutputTest::pdfTextIsThePrintedText() {
    // The PDF names the characters that were drawn, not the radicals that share their glyphs
    // in some fonts (⽇ U+2F47 for 日, ⾦ for 金, ⼗ for 十, ⻆ for 角, ⼈ ⺠ for 人民).
    QTemporaryDir dir;
    const QString path = dir.filePath("receipt.pdf");
    Report report = ReceiptSamples::loadTemplate();
    report.findMemo("Title")->text = QStringLiteral("星河文具收款收据");
    WritePdf(PrepareReport(report, ReceiptSamples::dataSets(1), FontTextMeasurer()), path);
    const QString text = pdfToText(path);
    for (const char *printed :
         {"星河文具收款收据", "收款日期:", "交款单位:", "星河文具有限公司", "金额", "十", "角", "合计人民币",
          "壹仟贰佰叁拾肆元伍角整", "主管:", "张主管", "收款人:", "2024-03-05"})
        QVERIFY2(text.contains(QString::fromUtf8(printed)),
                 qPrintable(QString::fromUtf8(printed) + u'\n' + text));
    for (const QChar ch : text)
        QVERIFY2(ch.unicode() < 0x2E80 || ch.unicode() > 0x2FDF, qPrintable(text));
}

void ReportOutputTest::longTextsStayInsideTheirCells_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("pages");
    QTest::newRow("1 line") << 1 << 1;
    QTest::newRow("4 lines") << 4 << 1;
    QTest::newRow("5 lines") << 5 << 2;
    QTest::newRow("9 lines") << 9 << 3;
}

void ReportOutputTest::longTextsStayInsideTheirCells() {
    QFETCH(int, lines);
    QFETCH(int, pages);
    Report report = ReceiptSamples::loadTemplate();
    report.findMemo("Title")->text = ReceiptSamples::longCompanyName() + QStringLiteral("收据");
    const PreparedReport prepared =
        PrepareReport(report, ReceiptSamples::longTexts(lines), FontTextMeasurer());
    QCOMPARE(prepared.pages.size(), pages);
    const QStringList outside = ReceiptSamples::textsOutsideTheirCells(report, prepared);
    QVERIFY2(outside.isEmpty(), qPrintable(outside.join(u'\n')));

    // What the PDF holds lies where the layout put it: every word inside the text boxes.
    QTemporaryDir dir;
    const QString path = dir.filePath("receipt.pdf");
    WritePdf(prepared, path);
    const QList<PdfWord> words = pdfWords(path);
    QVERIFY(words.size() > 20);
    const double slack = 30; // 0.3 mm: the PDF's glyph boxes against the layout's line boxes
    for (const PdfWord &word : words) {
        QVERIFY(word.page >= 0 && word.page < pages);
        const double y = word.box.center().y();
        for (double x = word.box.left() + slack; x <= word.box.right() - slack; x += 20) {
            bool covered = false;
            for (const PreparedItem &item : prepared.pages.at(word.page).items)
                covered = covered || (item.kind == PreparedItem::Kind::Text &&
                                      QRectF(item.clip.left, item.clip.top, item.clip.width, item.clip.height)
                                          .adjusted(-slack, -slack, slack, slack)
                                          .contains(x, y));
            QVERIFY2(covered, qPrintable(QStringLiteral("page %1: \"%2\" at %3 mm")
                                             .arg(word.page + 1)
                                             .arg(word.text)
                                             .arg(x / 100)));
        }
    }
}

void ReportOutputTest::unwritableTargetsAreErrors() {
    const PreparedReport prepared =
        PrepareReport(ReceiptSamples::loadTemplate(), ReceiptSamples::dataSets(1), FontTextMeasurer());
    QVERIFY_THROWS_EXCEPTION(ReportError, WritePdf(prepared, "/nonexistent/folder/out.pdf"));
    QVERIFY_THROWS_EXCEPTION(ReportError, WriteImages(prepared, "/nonexistent/folder/out.png", 100));
}

QTEST_MAIN(ReportOutputTest)
#include "ReportOutputTest.moc"
