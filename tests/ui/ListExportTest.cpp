// The list export: what a list shows, written to .xlsx or .csv and read back.
#include "ScriptedUiServices.h"

#include "ui/ListExport.h"

#include <QDir>
#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <QXmlStreamReader>

#include <quazip.h>
#include <quazipfile.h>

namespace {

// A list as the list windows show it: the name column dragged in front of the code column, an
// internal column hidden, a hidden row, quantities and amounts right-aligned, and a totals row.
// Logical columns: 编号, 名称, 内部 (hidden, the row's place), 数量, 金额, 备注.
const QStringList headings = {"编号", "名称", "内部", "数量", "金额", "备注"};
const QList<QStringList> rowsInOrder = {
    {"0000001", "纸,\"A4\"", "1", "3", "37.5", "含\"引号\""},
    {"0000002", "笔", "2", "10", "1234.50", "多行\n备注"},
    {"0000003", "墨", "3", "007", "-0.3", ""},
    {"0000004", "隐藏", "4", "1", "1", "不导出"},
    {"合计", "", "5", "14", "1271.7", ""},
};
constexpr int hiddenRow = 3;
const QList<int> widths = {90, 180, 40, 70, 100, 200};

bool rightColumn(int column) {
    return column == 3 || column == 4;
}

// The view's columns as they appear, and the widths the sheet must get, in shown order.
const QStringList shownHeadings = {"名称", "编号", "数量", "金额", "备注"};
const QList<int> shownWidths = {180, 90, 70, 100, 200};

// The cells read back: numbers as "=value", text as it is.
const QList<QStringList> expectedSheet = {
    shownHeadings,
    {"纸,\"A4\"", "0000001", "=3", "=37.5", "含\"引号\""},
    {"笔", "0000002", "=10", "=1234.5", "多行\n备注"},
    {"墨", "0000003", "007", "=-0.3", ""},
    {"", "合计", "=14", "=1271.7", ""},
};

void shapeHeader(QHeaderView *header) {
    header->setStretchLastSection(false);
    for (int c = 0; c < widths.size(); ++c)
        header->resizeSection(c, widths[c]);
    header->moveSection(header->visualIndex(1), 0);
    header->hideSection(2);
}

enum class ListKind { TreeWidget, TableWidget, ModelView };

// Builds the list in a window (the window's title suggests the file name).
QAbstractItemView *buildList(ListKind kind, QWidget *window) {
    if (kind == ListKind::TreeWidget) {
        auto *tree = new QTreeWidget(window);
        tree->setHeaderLabels(headings);
        for (int r = 0; r < rowsInOrder.size(); ++r) {
            auto *item = new QTreeWidgetItem(tree, rowsInOrder[r]);
            for (int c = 0; c < headings.size(); ++c)
                if (rightColumn(c))
                    item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
            item->setHidden(r == hiddenRow);
        }
        shapeHeader(tree->header());
        return tree;
    }
    if (kind == ListKind::TableWidget) {
        // Only the headings say which columns are right-aligned; the rows are stored with the
        // first two swapped and put back in order by moving the row header.
        auto *table =
            new QTableWidget(static_cast<int>(rowsInOrder.size()), static_cast<int>(headings.size()), window);
        for (int c = 0; c < headings.size(); ++c) {
            auto *heading = new QTableWidgetItem(headings[c]);
            heading->setTextAlignment(rightColumn(c) ? Qt::AlignRight | Qt::AlignVCenter
                                                     : Qt::AlignLeft | Qt::AlignVCenter);
            table->setHorizontalHeaderItem(c, heading);
        }
        QList<QStringList> stored = rowsInOrder;
        stored.swapItemsAt(0, 1);
        for (int r = 0; r < stored.size(); ++r)
            for (int c = 0; c < headings.size(); ++c)
                table->setItem(r, c, new QTableWidgetItem(stored[r][c]));
        table->verticalHeader()->moveSection(1, 0);
        table->setRowHidden(hiddenRow, true);
        shapeHeader(table->horizontalHeader());
        return table;
    }
    // A model stored in reverse, shown sorted by the hidden place column through a proxy.
    auto *model = new QStandardItemModel(0, static_cast<int>(headings.size()), window);
    model->setHorizontalHeaderLabels(headings);
    for (qsizetype r = rowsInOrder.size() - 1; r >= 0; --r) {
        QList<QStandardItem *> items;
        for (int c = 0; c < headings.size(); ++c) {
            auto *item = new QStandardItem(rowsInOrder[r][c]);
            if (rightColumn(c))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            items.append(item);
        }
        model->appendRow(items);
    }
    auto *proxy = new QSortFilterProxyModel(window);
    proxy->setSourceModel(model);
    proxy->sort(2, Qt::AscendingOrder);
    auto *view = new QTreeView(window);
    view->setModel(proxy);
    view->setRowHidden(hiddenRow, QModelIndex(), true);
    shapeHeader(view->header());
    return view;
}

QByteArray zipEntry(const QString &zipPath, const QString &entry) {
    QuaZip zip(zipPath);
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile(entry))
        return {};
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

int columnOfReference(const QString &reference) {
    int column = 0;
    for (const QChar c : reference) {
        if (!c.isLetter())
            break;
        column = column * 26 + (c.unicode() - 'A' + 1);
    }
    return column - 1;
}

// What a spreadsheet reader sees in the first sheet of a workbook.
struct Sheet {
    QList<QStringList> cells;   // numbers as "=value"
    QList<QList<int>> styles;   // the style index of each cell
    QList<double> columnWidths; // in characters, as stored
    bool frozenHeading = false;
    QList<bool> boldStyles;       // by style index
    QList<QString> numberFormats; // by style index; empty for the general format
    bool valid = false;
};

Sheet readXlsx(const QString &path) {
    Sheet sheet;
    const QByteArray sheetXml = zipEntry(path, "xl/worksheets/sheet1.xml");
    const QByteArray stylesXml = zipEntry(path, "xl/styles.xml");
    if (sheetXml.isEmpty() || stylesXml.isEmpty())
        return sheet;

    QStringList shared;
    const QByteArray sharedXml = zipEntry(path, "xl/sharedStrings.xml");
    for (QXmlStreamReader xml(sharedXml); !xml.atEnd();)
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"t")
            shared.append(xml.readElementText());

    QXmlStreamReader xml(sheetXml);
    int row = -1;
    int column = 0;
    QString type;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto attributes = xml.attributes();
        if (xml.name() == u"row") {
            row = attributes.value("r").toInt() - 1;
            while (sheet.cells.size() <= row) {
                sheet.cells.append(QStringList());
                sheet.styles.append(QList<int>());
            }
        } else if (xml.name() == u"c") {
            column = columnOfReference(attributes.value("r").toString());
            type = attributes.value("t").toString();
            while (sheet.cells[row].size() <= column) {
                sheet.cells[row].append(QString());
                sheet.styles[row].append(0);
            }
            sheet.styles[row][column] = attributes.value("s").toInt();
        } else if (xml.name() == u"v") {
            const QString value = xml.readElementText();
            sheet.cells[row][column] = type == u"s"                     ? shared.value(value.toInt())
                                       : type.isEmpty() || type == u"n" ? "=" + value
                                                                        : value;
        } else if (xml.name() == u"t") {
            sheet.cells[row][column] = xml.readElementText();
        } else if (xml.name() == u"col") {
            const int min = attributes.value("min").toInt();
            const int max = attributes.value("max").toInt();
            for (int c = min; c <= max; ++c) {
                while (sheet.columnWidths.size() < c)
                    sheet.columnWidths.append(0);
                sheet.columnWidths[c - 1] = attributes.value("width").toDouble();
            }
        } else if (xml.name() == u"pane") {
            sheet.frozenHeading = attributes.value("state") == u"frozen" &&
                                  attributes.value("ySplit") == u"1" && attributes.value("xSplit").isEmpty();
        }
    }

    QList<bool> boldFonts;
    QHash<int, QString> formatCodes;
    bool inFonts = false;
    bool inCellStyles = false;
    QList<std::pair<int, int>> cellStyles; // font, number format
    for (QXmlStreamReader styles(stylesXml); !styles.atEnd();) {
        const auto token = styles.readNext();
        const auto name = styles.name();
        if (token == QXmlStreamReader::EndElement) {
            if (name == u"fonts")
                inFonts = false;
            else if (name == u"cellXfs")
                inCellStyles = false;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const auto attributes = styles.attributes();
        if (name == u"fonts")
            inFonts = true;
        else if (name == u"cellXfs")
            inCellStyles = true;
        else if (name == u"numFmt")
            formatCodes.insert(attributes.value("numFmtId").toInt(),
                               attributes.value("formatCode").toString());
        else if (inFonts && name == u"font")
            boldFonts.append(false);
        else if (inFonts && name == u"b")
            boldFonts.last() = true;
        else if (inCellStyles && name == u"xf")
            cellStyles.append({attributes.value("fontId").toInt(), attributes.value("numFmtId").toInt()});
    }
    formatCodes.insert(1, "0"); // the built-in formats a workbook does not list
    formatCodes.insert(2, "0.00");
    for (const auto &[font, format] : cellStyles) {
        sheet.boldStyles.append(boldFonts.value(font));
        sheet.numberFormats.append(formatCodes.value(format));
    }
    sheet.valid = true;
    return sheet;
}

QStringList fileNames(const QString &dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

} // namespace

Q_DECLARE_METATYPE(ListKind)

class ListExportTest : public QObject {
    Q_OBJECT

private slots:
    void xlsxHoldsWhatTheListShows_data();
    void xlsxHoldsWhatTheListShows();
    void csvIsUtf8WithByteOrderMark();
    void fileTypeFollowsTheName_data();
    void fileTypeFollowsTheName();
    void cancelledDialogDoesNothing();
    void unwritableFileIsReported_data();
    void unwritableFileIsReported();
};

void ListExportTest::xlsxHoldsWhatTheListShows_data() {
    QTest::addColumn<ListKind>("kind");
    QTest::newRow("tree widget") << ListKind::TreeWidget;
    QTest::newRow("table widget") << ListKind::TableWidget;
    QTest::newRow("model and view, sorted by a proxy") << ListKind::ModelView;
}

void ListExportTest::xlsxHoldsWhatTheListShows() {
    QFETCH(ListKind, kind);
    QTemporaryDir dir;
    QWidget window;
    window.setWindowTitle("交款单位");
    QAbstractItemView *list = buildList(kind, &window);
    const QString path = dir.filePath("交款单位.xlsx");

    ScriptedUiServices ui;
    ui.answerFileName(path);
    ExportList(list);

    QCOMPARE(ui.shown().size(), 1); // the save dialog, and no message
    QCOMPARE(ui.shown()[0].kind, UiServices::Kind::SaveFile);
    QCOMPARE(ui.shown()[0].caption, QString("导出Excel"));

    const Sheet sheet = readXlsx(path);
    QVERIFY(sheet.valid);
    QCOMPARE(sheet.cells.size(), expectedSheet.size());
    for (int r = 0; r < expectedSheet.size(); ++r) {
        QStringList row = sheet.cells[r];
        while (row.size() < expectedSheet[r].size())
            row.append(QString());
        QCOMPARE(row, expectedSheet[r]);
    }
    for (int c = 0; c < shownHeadings.size(); ++c)
        QVERIFY2(sheet.boldStyles.value(sheet.styles[0][c]), qPrintable(shownHeadings[c]));
    QVERIFY(!sheet.boldStyles.value(sheet.styles[1][0]));
    QVERIFY(sheet.frozenHeading);
    // 1234.50 keeps its two decimals on screen.
    QCOMPARE(sheet.numberFormats.value(sheet.styles[2][3]), QString("0.00"));
    QCOMPARE(sheet.columnWidths.size(), shownWidths.size());
    for (int c = 0; c < shownWidths.size(); ++c)
        QCOMPARE(qRound(sheet.columnWidths[c] * 7), shownWidths[c]); // 7 pixels per character
}

void ListExportTest::csvIsUtf8WithByteOrderMark() {
    QTemporaryDir dir;
    QWidget window;
    QAbstractItemView *list = buildList(ListKind::TreeWidget, &window);
    const QString path = dir.filePath("清单.csv");

    ScriptedUiServices ui;
    ui.answerFileName(path);
    ExportList(list);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray expected =
        "\xEF\xBB\xBF" + QString("名称,编号,数量,金额,备注\r\n"
                                 "\"纸,\"\"A4\"\"\",0000001,3,37.5,\"含\"\"引号\"\"\"\r\n"
                                 "笔,0000002,10,1234.50,\"多行\n备注\"\r\n"
                                 "墨,0000003,007,-0.3,\r\n"
                                 ",合计,14,1271.7,\r\n")
                             .toUtf8();
    QCOMPARE(file.readAll(), expected);
    QCOMPARE(ui.shown().size(), 1);
}

void ListExportTest::fileTypeFollowsTheName_data() {
    QTest::addColumn<QString>("answered");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("csv");

    QTest::newRow("no suffix: xlsx") << "清单"
                                     << "清单.xlsx" << false;
    QTest::newRow("xlsx") << "清单.xlsx"
                          << "清单.xlsx" << false;
    QTest::newRow("csv in capitals") << "清单.CSV"
                                     << "清单.CSV" << true;
    QTest::newRow("other suffix: xlsx added") << "清单.txt"
                                              << "清单.txt.xlsx" << false;
}

void ListExportTest::fileTypeFollowsTheName() {
    QFETCH(QString, answered);
    QFETCH(QString, written);
    QFETCH(bool, csv);

    QTemporaryDir dir;
    QWidget window;
    QAbstractItemView *list = buildList(ListKind::ModelView, &window);
    ScriptedUiServices ui;
    ui.answerFileName(dir.filePath(answered));
    ExportList(list);

    QCOMPARE(fileNames(dir.path()), QStringList{written});
    if (csv) {
        QFile file(dir.filePath(written));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("\xEF\xBB\xBF名称,编号"));
    } else {
        QCOMPARE(readXlsx(dir.filePath(written)).cells.value(0), shownHeadings);
    }
}

void ListExportTest::cancelledDialogDoesNothing() {
    QTemporaryDir dir;
    QWidget window;
    QAbstractItemView *list = buildList(ListKind::TreeWidget, &window);
    ScriptedUiServices ui;
    ui.answerFileName(QString());
    ExportList(list);

    QCOMPARE(ui.shown().size(), 1); // only the dialog
    QVERIFY(fileNames(dir.path()).isEmpty());
}

void ListExportTest::unwritableFileIsReported_data() {
    QTest::addColumn<QString>("target");   // relative to a fresh directory
    QTest::addColumn<QString>("existing"); // what the directory holds before: a file or a folder
    QTest::addColumn<bool>("readOnly");

    QTest::newRow("missing folder") << "无此目录/清单.xlsx"
                                    << "" << false;
    QTest::newRow("name of a folder") << "清单.xlsx"
                                      << "folder" << false;
    QTest::newRow("read-only file, csv") << "清单.csv"
                                         << "file" << true;
    QTest::newRow("read-only file, xlsx") << "清单.xlsx"
                                          << "file" << true;
}

void ListExportTest::unwritableFileIsReported() {
    QFETCH(QString, target);
    QFETCH(QString, existing);
    QFETCH(bool, readOnly);

    QTemporaryDir dir;
    const QString path = dir.filePath(target);
    if (existing == "folder") {
        QVERIFY(QDir(dir.path()).mkdir(target));
    } else if (existing == "file") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old content");
        file.close();
    }
    if (readOnly) {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        if (QFileInfo(path).isWritable())
            QSKIP("running with rights that ignore file permissions");
    }
    const QStringList before = fileNames(dir.path());

    QWidget window;
    QAbstractItemView *list = buildList(ListKind::TreeWidget, &window);
    ScriptedUiServices ui;
    ui.answerFileName(path);
    ExportList(list);

    QCOMPARE(ui.shown().size(), 2); // the dialog, then one message
    const ScriptedUiServices::Shown &message = ui.shown()[1];
    QCOMPARE(message.kind, UiServices::Kind::Info);
    QCOMPARE(message.caption, QString("提示"));
    QVERIFY2(message.text.startsWith("导出失败！\r\n无法写入文件：" + QDir::toNativeSeparators(path)),
             qPrintable(message.text));

    QCOMPARE(fileNames(dir.path()), before);
    if (existing == "file") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("old content"));
    }
}

QTEST_MAIN(ListExportTest)
#include "ListExportTest.moc"
