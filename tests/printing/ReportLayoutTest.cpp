// Layout of a report on its data: band order, page breaks, the rows-per-page filling of the
// receipt template, bands that grow with their text, and the values the memos show.
#include "FixedTextMeasurer.h"
#include "ReceiptSamples.h"

#include "printing/report/ReportError.h"
#include "printing/report/ReportLayout.h"

#include <QTest>
#include <cmath>

namespace {

const QLocale zhCN(QLocale::Chinese, QLocale::China);

PreparedReport prepare(const Report &report, const QList<ReportDataSet> &data) {
    return PrepareReport(report, data, FixedTextMeasurer(), zhCN);
}

// A sheet as letters, one per band: T title, D data row, C blank row, S summary, H/F page
// header and footer; sheets joined by "|".
QString shape(const PreparedReport &prepared) {
    QStringList sheets;
    for (const PreparedPage &page : prepared.pages) {
        QString letters;
        for (const PreparedBand &band : page.bands) {
            switch (band.kind) {
            case BandKind::ReportTitle:
                letters += u'T';
                break;
            case BandKind::DetailData:
                letters += u'D';
                break;
            case BandKind::Child:
                letters += u'C';
                break;
            case BandKind::ReportSummary:
                letters += u'S';
                break;
            case BandKind::PageHeader:
                letters += u'H';
                break;
            case BandKind::PageFooter:
                letters += u'F';
                break;
            case BandKind::MasterData:
                letters += u'M';
                break;
            }
        }
        sheets << letters;
    }
    return sheets.join(u'|');
}

QList<const PreparedItem *> itemsOf(const PreparedPage &page, const QString &object) {
    QList<const PreparedItem *> out;
    for (const PreparedItem &item : page.items)
        if (item.object == object)
            out << &item;
    return out;
}

QString textOf(const PreparedPage &page, const QString &object) {
    QStringList lines;
    for (const PreparedItem *item : itemsOf(page, object))
        if (item->kind == PreparedItem::Kind::Text)
            lines << item->text;
    return lines.join(u'\n');
}

QString objectWithText(const Report &report, const QString &text) {
    for (const ReportBand &band : report.pages.first().bands)
        for (const ReportObject &object : band.objects)
            if (const auto *memo = std::get_if<MemoObject>(&object); memo && memo->text == text)
                return memo->name;
    return {};
}

ReportBand plainBand(const QString &name, BandKind kind, int height) {
    ReportBand band;
    band.name = name;
    band.kind = kind;
    band.height = height;
    return band;
}

} // namespace

class ReportLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void pageFilling_data();
    void pageFilling();
    void rowsKeepTheirPlaceOnEveryPage();
    void titleStaysCentred_data();
    void titleStaysCentred();
    void longTextsKeepRowsAndCells_data();
    void longTextsKeepRowsAndCells();
    void shrinkingStepsDownToTheSmallestSize_data();
    void shrinkingStepsDownToTheSmallestSize();
    void growingStopsAtTheNextObject();
    void rowGrowsWithItsText();
    void bandTallerThanThePageEndsTheLayout();
    void pageHeadersAndFootersOnEverySheet();
    void memosShowTheirRowsValues();
    void missingDataSetPrintsNoRows();
    void invalidReportIsRefused();
};

void ReportLayoutTest::pageFilling_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("rowsPerPage");
    QTest::addColumn<int>("paperHeight"); // millimetres
    QTest::addColumn<QString>("sheets");

    // The template's 100 mm paper holds the title, four rows and the summary exactly.
    QTest::newRow("0 lines, 4 per page") << 0 << 4 << 100 << "TS";
    QTest::newRow("1 line, 4 per page") << 1 << 4 << 100 << "TDCCCS";
    QTest::newRow("4 lines, 4 per page") << 4 << 4 << 100 << "TDDDDS";
    QTest::newRow("5 lines, 4 per page") << 5 << 4 << 100 << "TDDDD|DCCCS";
    QTest::newRow("8 lines, 4 per page") << 8 << 4 << 100 << "TDDDD|DDDDS";
    QTest::newRow("9 lines, 4 per page") << 9 << 4 << 100 << "TDDDD|DDDD|DCCCS";
    QTest::newRow("0 lines, 3 per page") << 0 << 3 << 100 << "TS";
    QTest::newRow("1 line, 3 per page") << 1 << 3 << 100 << "TDCCS";
    QTest::newRow("3 lines, 3 per page") << 3 << 3 << 100 << "TDDDS";
    QTest::newRow("4 lines, 3 per page") << 4 << 3 << 100 << "TDDD|DCCS";
    QTest::newRow("7 lines, 3 per page") << 7 << 3 << 100 << "TDDD|DDD|DCCS";
    // Twelve rows need a taller paper...
    QTest::newRow("0 lines, 12 per page, A4") << 0 << 12 << 297 << "TS";
    QTest::newRow("5 lines, 12 per page, A4") << 5 << 12 << 297 << "TDDDDDCCCCCCCS";
    QTest::newRow("12 lines, 12 per page, A4") << 12 << 12 << 297 << "TDDDDDDDDDDDDS";
    QTest::newRow("13 lines, 12 per page, A4") << 13 << 12 << 297 << "TDDDDDDDDDDDD|DCCCCCCCCCCCS";
    QTest::newRow("25 lines, 12 per page, A4")
        << 25 << 12 << 297 << "TDDDDDDDDDDDD|DDDDDDDDDDDD|DCCCCCCCCCCCS";
    // ... on the template's paper rows that do not fit go on to the next sheet, and the count
    // of twelve goes on with them.
    QTest::newRow("5 lines, 12 per page, 100 mm") << 5 << 12 << 100 << "TDDDDDC|CCCCCCS";
    QTest::newRow("13 lines, 12 per page, 100 mm") << 13 << 12 << 100 << "TDDDDDD|DDDDDD|DCCCCCCCCC|CCS";
    QTest::newRow("no page filling") << 9 << 0 << 100 << "TDDDDDD|DDDS";
}

void ReportLayoutTest::pageFilling() {
    QFETCH(int, lines);
    QFETCH(int, rowsPerPage);
    QFETCH(int, paperHeight);
    QFETCH(QString, sheets);

    Report report = ReceiptSamples::loadTemplate();
    ReportPage &page = report.pages.first();
    page.paperHeight = MmToUnits(paperHeight);
    page.bands[2].rowsPerPage = rowsPerPage;
    const PreparedReport prepared = prepare(report, ReceiptSamples::dataSets(lines));
    QCOMPARE(shape(prepared), sheets);

    int row = 0;
    for (const PreparedPage &sheet : prepared.pages) {
        QCOMPARE(sheet.width, 21000);
        QCOMPARE(sheet.height, MmToUnits(paperHeight));
        int y = 1000; // bands follow one another from the top margin down
        for (const PreparedBand &band : sheet.bands) {
            if (band.kind == BandKind::MasterData)
                continue;
            QCOMPARE(band.rect.top, y);
            QCOMPARE(band.rect.left, 1000);
            y = band.rect.bottom();
            if (band.kind == BandKind::DetailData)
                QCOMPARE(band.row, row++);
        }
        QVERIFY2(y <= sheet.height - 1000, "a band reaches into the bottom margin");
    }
    QCOMPARE(row, lines);
}

void ReportLayoutTest::rowsKeepTheirPlaceOnEveryPage() {
    const Report report = ReceiptSamples::loadTemplate();
    const PreparedReport prepared = prepare(report, ReceiptSamples::dataSets(9));
    QCOMPARE(prepared.pages.size(), 3);

    // Every column's text sits at the same x and the same height within its row, on every row
    // of every page; rows are exactly 8.0 mm apart.
    QMap<QString, QPair<int, int>> place; // object -> (x, baseline within the row)
    int rows = 0;
    for (const PreparedPage &page : prepared.pages) {
        int lastTop = -1;
        for (const PreparedBand &band : page.bands) {
            if (band.kind != BandKind::DetailData && band.kind != BandKind::Child)
                continue;
            QCOMPARE(band.rect.height, 800);
            if (lastTop >= 0)
                QCOMPARE(band.rect.top - lastTop, 800);
            lastTop = band.rect.top;
            if (band.kind == BandKind::Child)
                continue;
            ++rows;
            for (const PreparedItem &item : page.items) {
                if (item.kind != PreparedItem::Kind::Text || item.band != band.name ||
                    item.rect.top < band.rect.top || item.rect.top >= band.rect.bottom())
                    continue;
                const QPair<int, int> at{item.rect.left, item.baseline - band.rect.top};
                if (!place.contains(item.object))
                    place.insert(item.object, at);
                QCOMPARE(at, place.value(item.object));
            }
        }
    }
    QCOMPARE(rows, 9);
    QCOMPARE(place.size(), 8); // name, unit, quantity, price and the four digits 31.25 fills
}

void ReportLayoutTest::titleStaysCentred_data() {
    QTest::addColumn<QString>("company");
    QTest::addColumn<double>("size");
    QTest::newRow("short") << "星河" << 16.0;
    QTest::newRow("empty") << "" << 16.0;
    // 42 characters: one line of 10 pt fills the 150 mm between the logo box and its mirror.
    QTest::newRow("long") << ReceiptSamples::longCompanyName() << 10.0;
}

void ReportLayoutTest::titleStaysCentred() {
    QFETCH(QString, company);
    QFETCH(double, size);
    Report report = ReceiptSamples::loadTemplate();
    MemoObject *title = report.findMemo("Title");
    title->text = company + QStringLiteral("收据");
    const PreparedPage page = prepare(report, ReceiptSamples::dataSets(1)).pages.first();
    const QList<const PreparedItem *> items = itemsOf(page, "Title");
    QCOMPARE(items.size(), 1); // a long title shrinks; it never wraps into the rows below
    const int centre = 1000 + 19000 / 2;
    for (const PreparedItem *item : items) {
        QVERIFY2(qAbs(item->rect.left + item->rect.width / 2.0 - centre) <= 1, qPrintable(item->text));
        QVERIFY(item->rect.left >= 1000 + 2000 && item->rect.right() <= 20000 - 2000); // clear of the logo
        QVERIFY(item->rect.bottom() <= 1000 + 900); // above the receipt number's row
        QCOMPARE(item->font.pointSize, size);
    }
    QCOMPARE(items.first()->rect.top, 1000 + 170);
    QStringList text;
    for (const PreparedItem *item : items)
        text << item->text;
    QCOMPARE(text.join(QString()), company + QStringLiteral("收据"));
}

void ReportLayoutTest::longTextsKeepRowsAndCells_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("sheets");
    QTest::newRow("1 line") << 1 << "TDCCCS";
    QTest::newRow("4 lines") << 4 << "TDDDDS";
    QTest::newRow("5 lines") << 5 << "TDDDD|DCCCS";
    QTest::newRow("9 lines") << 9 << "TDDDD|DDDD|DCCCS";
}

void ReportLayoutTest::longTextsKeepRowsAndCells() {
    QFETCH(int, lines);
    QFETCH(QString, sheets);
    Report report = ReceiptSamples::loadTemplate();
    report.findMemo("Title")->text = ReceiptSamples::longCompanyName() + QStringLiteral("收据");
    const QList<ReportDataSet> data = ReceiptSamples::longTexts(lines);
    const PreparedReport prepared = prepare(report, data);
    QCOMPARE(shape(prepared), sheets);
    for (const PreparedPage &page : prepared.pages) {
        int y = 1000;
        for (const PreparedBand &band : page.bands) {
            if (band.kind == BandKind::MasterData)
                continue;
            QCOMPARE(band.rect.top, y);
            y = band.rect.bottom();
            if (band.kind == BandKind::DetailData || band.kind == BandKind::Child)
                QCOMPARE(band.rect.height, 800);
        }
    }
    const QStringList outside = ReceiptSamples::textsOutsideTheirCells(report, prepared);
    QVERIFY2(outside.isEmpty(), qPrintable(outside.join(u'\n')));

    // A 20-character name shrinks until it fits whole; the unit is cut at its column.
    const QString nameMemo = objectWithText(report, "[frxDBDataset2.\"名称\"]");
    const QString unitMemo = objectWithText(report, "[frxDBDataset2.\"单位\"]");
    QStringList names;
    for (const PreparedPage &page : prepared.pages)
        for (const PreparedItem *item : itemsOf(page, nameMemo)) {
            names << item->text;
            QCOMPARE(item->font.pointSize, 7.0); // 20 em in 51 mm
        }
    QStringList expected;
    for (const QVariantList &row : data[1].rows)
        expected << row.at(1).toString();
    QCOMPARE(names, expected);
    const QList<const PreparedItem *> units = itemsOf(prepared.pages.first(), unitMemo);
    QCOMPARE(units.first()->font.pointSize, 5.0);
    QCOMPARE(units.first()->text, QString("千克每立方米")); // six 5 pt characters in 11 mm
}

void ReportLayoutTest::shrinkingStepsDownToTheSmallestSize_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shrink");
    QTest::addColumn<double>("size");
    QTest::addColumn<QString>("shown");
    // A 10 pt memo 40 mm wide inside its 0.5 mm gaps: 39 mm, eleven 10 pt characters.
    QTest::newRow("fits") << "一二三四五六七八九十" << true << 10.0 << "一二三四五六七八九十";
    QTest::newRow("one step") << "一二三四五六七八九十甲乙" << true << 9.0 << "一二三四五六七八九十甲乙";
    QTest::newRow("down to the smallest size, then cut")
        << QString("一二三四五六七八九十").repeated(4) << true << 6.0
        << QString("一二三四五六七八九十").repeated(2).left(18);
    QTest::newRow("no shrinking: cut at the box")
        << "一二三四五六七八九十甲乙" << false << 10.0 << "一二三四五六七八九十甲";
}

void ReportLayoutTest::shrinkingStepsDownToTheSmallestSize() {
    QFETCH(QString, text);
    QFETCH(bool, shrink);
    QFETCH(double, size);
    QFETCH(QString, shown);
    Report report;
    report.pages << ReportPage();
    ReportBand band = plainBand("ReportTitle1", BandKind::ReportTitle, 1000);
    MemoObject memo;
    memo.name = QStringLiteral("Memo1");
    memo.rect = {1000, 0, 4000, 600};
    memo.text = text;
    memo.shrinkToFit = shrink;
    memo.minFontSize = 6;
    band.objects << memo;
    report.pages[0].bands << band;
    const PreparedPage page = prepare(report, {}).pages.first();
    const QList<const PreparedItem *> items = itemsOf(page, "Memo1");
    QCOMPARE(items.size(), 1);
    QCOMPARE(items.first()->font.pointSize, size);
    QCOMPARE(items.first()->text, shown);
    QVERIFY(items.first()->rect.right() <= items.first()->clip.right());
}

void ReportLayoutTest::growingStopsAtTheNextObject() {
    // A field that grows with its text stops at the rule to its right, and one with no
    // object beside it at the band's edge; from there it shrinks.
    Report report = ReceiptSamples::loadTemplate();
    QList<ReportDataSet> data = ReceiptSamples::longTexts(1);
    const PreparedPage page = prepare(report, data).pages.first();
    const auto box = [&](const char *field) {
        const QList<const PreparedItem *> items =
            itemsOf(page, objectWithText(report, QStringLiteral("[frxDBDataset1.\"%1\"]").arg(field)));
        return items.isEmpty() ? ReportRect{} : items.first()->clip;
    };
    QCOMPARE(box("大写人民币").right() - 1000, 10000); // the rule at 100.0 mm
    QCOMPARE(box("交款单位").right() - 1000, 19000);   // the band's edge
    QCOMPARE(box("单据编号").right() - 1000, 19000);
    QCOMPARE(box("主管").right() - 1000, 6850); // the label 会计:
    // Short texts keep to their own width.
    data = ReceiptSamples::dataSets(1);
    const PreparedPage plain = prepare(report, data).pages.first();
    const QList<const PreparedItem *> party =
        itemsOf(plain, objectWithText(report, "[frxDBDataset1.\"交款单位\"]"));
    QCOMPARE(party.first()->font.pointSize, 10.0);
    QCOMPARE(party.first()->clip.width, int(std::ceil(8 * FixedTextMeasurer::em(ReportFont{}))) + 100);
}

void ReportLayoutTest::rowGrowsWithItsText() {
    // A style whose rows may grow (the delivered one keeps them at 8.0 mm).
    Report report = ReceiptSamples::loadTemplate();
    report.pages[0].bands[2].canGrow = true;
    MemoObject *nameMemo = report.findMemo(objectWithText(report, "[frxDBDataset2.\"名称\"]"));
    nameMemo->canGrow = true;
    nameMemo->shrinkToFit = false;
    QList<ReportDataSet> data = ReceiptSamples::dataSets(2);
    // 40 characters in a 52 mm column of 10 pt text (14 to a line): three lines.
    data[1].rows[0][1] = QStringLiteral("超长商品名称").repeated(6).left(40);
    const PreparedReport prepared = prepare(report, data);
    QCOMPARE(shape(prepared), QString("TDDCC|S")); // the taller row pushes the summary over
    const PreparedPage &page = prepared.pages.first();

    const PreparedBand &grown = page.bands[1];
    const PreparedBand &next = page.bands[2];
    const QString name = objectWithText(report, "[frxDBDataset2.\"名称\"]");
    QList<const PreparedItem *> lines;
    for (const PreparedItem *item : itemsOf(page, name))
        if (item->rect.top < grown.rect.bottom())
            lines << item;
    QCOMPARE(lines.size(), 3);
    for (const PreparedItem *item : lines)
        QVERIFY(item->rect.left >= 1100 && item->rect.right() <= 6300); // inside the name column
    QVERIFY(grown.rect.height >= lines.last()->rect.bottom() - grown.rect.top);
    QVERIFY(grown.rect.height > 800);
    QCOMPARE(next.rect.top, grown.rect.bottom());
    QCOMPARE(next.rect.height, 800);
    // The row's rules follow: vertical ones to its new bottom, the bottom rule moved down.
    int verticals = 0;
    for (const PreparedItem &item : page.items) {
        if (item.kind != PreparedItem::Kind::Line || item.band != "DetailData1" ||
            item.rect.top < grown.rect.top || item.rect.top >= grown.rect.bottom())
            continue;
        if (item.rect.width == 0) {
            QCOMPARE(item.rect.top, grown.rect.top);
            QCOMPARE(item.rect.bottom(), grown.rect.bottom());
            ++verticals;
        } else {
            QCOMPARE(item.rect.top, grown.rect.bottom() - 20);
        }
    }
    QCOMPARE(verticals, 14);
}

void ReportLayoutTest::bandTallerThanThePageEndsTheLayout() {
    Report report;
    ReportPage page;
    page.paperHeight = MmToUnits(100);
    page.bands << plainBand("PageHeader1", BandKind::PageHeader, MmToUnits(60))
               << plainBand("PageFooter1", BandKind::PageFooter, MmToUnits(60));
    ReportBand rows = plainBand("DetailData1", BandKind::DetailData, MmToUnits(500));
    rows.dataSet = QStringLiteral("frxDBDataset2");
    page.bands << rows << plainBand("ReportSummary1", BandKind::ReportSummary, MmToUnits(300));
    report.pages << page;
    const PreparedReport prepared = prepare(report, ReceiptSamples::dataSets(3));
    QCOMPARE(shape(prepared), QString("HDF|HDF|HDF|HSF"));
    QCOMPARE(prepared.pages[1].bands[1].rect.top, MmToUnits(70)); // right below the header
}

void ReportLayoutTest::pageHeadersAndFootersOnEverySheet() {
    Report report = ReceiptSamples::loadTemplate();
    ReportPage &page = report.pages.first();
    page.paperHeight = MmToUnits(297);
    ReportBand header = plainBand("PageHeader1", BandKind::PageHeader, 1000);
    MemoObject heading;
    heading.name = QStringLiteral("HeaderText");
    heading.rect = {0, 0, 5000, 500};
    heading.text = QStringLiteral("[frxDBDataset1.\"单据编号\"]");
    header.objects << heading;
    page.bands.prepend(header);
    page.bands << plainBand("PageFooter1", BandKind::PageFooter, 500);
    const PreparedReport prepared = prepare(report, ReceiptSamples::dataSets(5));
    QCOMPARE(shape(prepared), QString("HTDDDDF|HDCCCSF"));
    for (const PreparedPage &sheet : prepared.pages) {
        QCOMPARE(sheet.bands.first().rect.top, 1000);
        QCOMPARE(sheet.bands.last().rect.top, 29700 - 1000 - 500);
        QCOMPARE(textOf(sheet, "HeaderText"), QString("SK20240305001"));
    }
}

void ReportLayoutTest::memosShowTheirRowsValues() {
    const Report report = ReceiptSamples::loadTemplate();
    QList<ReportDataSet> data = ReceiptSamples::dataSets(3);
    data[1].rows[1][17] = QStringLiteral("3.00"); // quantity of the second line
    data[1].rows[2][4] = QVariant();              // no unit price on the third line
    const PreparedPage page = prepare(report, data).pages.first();

    auto column = [&](const char *field) {
        QStringList values;
        const QString name = objectWithText(report, QStringLiteral("[frxDBDataset2.\"%1\"]").arg(field));
        for (const PreparedItem *item : itemsOf(page, name))
            values << item->text;
        return values;
    };
    QCOMPARE(column("名称"), QStringList({"商品1", "商品2", "商品3"}));
    QCOMPARE(column("数量"), QStringList({"2.5", "3", "2.5"}));
    QCOMPARE(column("单价"), QStringList({"12.50", "12.50"}));
    QCOMPARE(column("十万"), QStringList());
    QCOMPARE(column("十"), QStringList({"3", "3", "3"}));
    QCOMPARE(textOf(page, objectWithText(report, "[frxDBDataset1.\"总金额\"]")), QString("¥1,234.50"));
    QCOMPARE(textOf(page, objectWithText(report, "[frxDBDataset1.\"大写人民币\"]")),
             QString("壹仟贰佰叁拾肆元伍角整"));
    QCOMPARE(textOf(page, objectWithText(report, "[frxDBDataset1.\"收款日期\"]")), QString("2024-03-05"));
    QCOMPARE(textOf(page, "Title"), QString("收据"));
}

void ReportLayoutTest::missingDataSetPrintsNoRows() {
    Report report = ReceiptSamples::loadTemplate();
    MemoObject unknown;
    unknown.name = QStringLiteral("Unknown");
    unknown.rect = {0, 0, 5000, 500};
    unknown.text = QStringLiteral("a[frxDBDataset9.\"名称\"]b[frxDBDataset1.\"没有\"]c");
    report.pages[0].bands[0].objects << unknown;
    const PreparedReport prepared = prepare(report, {ReceiptSamples::dataSets(3).first()});
    QCOMPARE(shape(prepared), QString("TS"));
    QCOMPARE(textOf(prepared.pages.first(), "Unknown"), QString("abc"));
}

void ReportLayoutTest::invalidReportIsRefused() {
    Report report = ReceiptSamples::loadTemplate();
    report.pages[0].bands[2].height = -1;
    QVERIFY_THROWS_EXCEPTION(ReportError, prepare(report, ReceiptSamples::dataSets(1)));
}

QTEST_GUILESS_MAIN(ReportLayoutTest)
#include "ReportLayoutTest.moc"
