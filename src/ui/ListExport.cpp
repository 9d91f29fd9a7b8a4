#include "ui/ListExport.h"

#include "ui/UiServices.h"
#include "ui/XlsxWriterLibrary.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QHeaderView>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeView>

namespace {

const QString exportCaption = QStringLiteral("导出Excel");

// The directory of the last export in this run, offered again by the next one.
QString lastDirectory;

struct Column {
    int logical;
    QString heading;
    int width; // pixels
    bool right;
};

// What is visible of a list: its columns in shown order and its rows in current order.
struct ListShape {
    QAbstractItemModel *model = nullptr;
    QModelIndex root;
    QList<Column> columns;
    QList<int> rows;

    QVariant cell(int row, const Column &column, int role = Qt::DisplayRole) const {
        return model->data(model->index(row, column.logical, root), role);
    }
};

bool isRightAligned(const QVariant &alignment) {
    const int flags = alignment.toInt();
    return (flags & Qt::AlignRight) || (flags & Qt::AlignTrailing);
}

ListShape shapeOf(QAbstractItemView *list) {
    ListShape shape;
    shape.model = list->model();
    shape.root = list->rootIndex();
    QAbstractItemModel *model = shape.model;

    QHeaderView *header = nullptr;
    QHeaderView *rowHeader = nullptr;
    auto *tree = qobject_cast<QTreeView *>(list);
    auto *table = qobject_cast<QTableView *>(list);
    if (tree)
        header = tree->header();
    else if (table) {
        header = table->horizontalHeader();
        rowHeader = table->verticalHeader();
    }

    const int rowCount = model->rowCount(shape.root);
    for (int visual = 0; visual < rowCount; ++visual) {
        const int row = rowHeader ? rowHeader->logicalIndex(visual) : visual;
        const bool hidden = tree    ? tree->isRowHidden(row, shape.root)
                            : table ? table->isRowHidden(row)
                                    : false;
        if (!hidden)
            shape.rows.append(row);
    }

    const int columnCount = model->columnCount(shape.root);
    const int firstRow = shape.rows.isEmpty() ? -1 : shape.rows.first();
    for (int visual = 0; visual < columnCount; ++visual) {
        const int logical = header ? header->logicalIndex(visual) : visual;
        if (header && header->isSectionHidden(logical))
            continue;
        Column column;
        column.logical = logical;
        column.heading = model->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString();
        column.width = header ? header->sectionSize(logical) : list->viewport()->width();
        // A column is numeric when its cells are right-aligned (the first row tells), or, when
        // the cells say nothing, its heading is.
        const QVariant cellAlignment =
            firstRow >= 0 ? model->data(model->index(firstRow, logical, shape.root), Qt::TextAlignmentRole)
                          : QVariant();
        column.right =
            cellAlignment.isValid()
                ? isRightAligned(cellAlignment)
                : isRightAligned(model->headerData(logical, Qt::Horizontal, Qt::TextAlignmentRole));
        shape.columns.append(column);
    }
    return shape;
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// A plain decimal number as the lists show quantities and amounts (37.5, -12, 1234.50, 1E15):
// no leading zeros, no thousands separators, at most 15 significant digits, so that the
// number in the sheet shows the same digits. Codes such as 0000001 stay text.
bool plainNumber(const QString &text, double &value, int &decimals) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    if (i < n && text[i] == u'-')
        ++i;
    const qsizetype integerStart = i;
    while (i < n && isDigit(text[i]))
        ++i;
    const qsizetype integerDigits = i - integerStart;
    if (integerDigits == 0 || (integerDigits > 1 && text[integerStart] == u'0'))
        return false;
    qsizetype significant = text[integerStart] == u'0' ? 0 : integerDigits;
    decimals = 0;
    if (i < n && text[i] == u'.') {
        const qsizetype fractionStart = ++i;
        while (i < n && isDigit(text[i]))
            ++i;
        decimals = static_cast<int>(i - fractionStart);
        if (decimals == 0)
            return false;
        qsizetype k = fractionStart;
        if (significant == 0)
            while (k < i && text[k] == u'0')
                ++k;
        significant += i - k;
    }
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        if (i < n && (text[i] == u'-' || text[i] == u'+'))
            ++i;
        const qsizetype exponentStart = i;
        while (i < n && isDigit(text[i]))
            ++i;
        if (i == exponentStart)
            return false;
        decimals = 0;
    }
    if (i != n || significant > 15)
        return false;
    bool ok = false;
    value = text.toDouble(&ok);
    return ok;
}

// Excel keeps at most 32,767 characters in a cell.
QByteArray cellText(const QString &text) {
    constexpr qsizetype limit = 32767;
    if (text.size() <= limit)
        return text.toUtf8();
    qsizetype cut = limit;
    if (text[cut - 1].isHighSurrogate())
        --cut;
    return text.left(cut).toUtf8();
}

QString failure(const QString &reason) {
    return QStringLiteral("导出失败！\r\n") + reason;
}

QString unwritable(const QString &path, const QString &reason) {
    return failure(QStringLiteral("无法写入文件：%1\r\n%2").arg(QDir::toNativeSeparators(path), reason));
}

// Writes the workbook into a temporary file; an empty result, or the reason it failed.
QString writeWorkbook(const ListShape &shape, const QString &xlsxPath, const QString &tempDir) {
    QString loadError;
    const XlsxWriterLibrary *library = XlsxWriterLibrary::get(loadError);
    if (!library)
        return failure(loadError);
    const XlsxWriterLibrary &x = *library;

    const QByteArray fileName = QFile::encodeName(xlsxPath);
    QByteArray tmpdir = QFile::encodeName(tempDir);
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE; // rows go straight to disk: memory stays flat
    options.tmpdir = tmpdir.data();
    lxw_workbook *workbook = x.workbookNew(fileName.constData(), &options);
    if (!workbook)
        return failure(QStringLiteral("无法创建工作簿。"));
    lxw_worksheet *sheet = x.addWorksheet(workbook, nullptr);

    lxw_format *heading = x.addFormat(workbook);
    x.setBold(heading);
    lxw_format *headingRight = x.addFormat(workbook);
    x.setBold(headingRight);
    x.setAlign(headingRight, LXW_ALIGN_RIGHT);
    lxw_format *textRight = x.addFormat(workbook);
    x.setAlign(textRight, LXW_ALIGN_RIGHT);
    QHash<int, lxw_format *> numberFormats; // by decimals; none for whole numbers
    auto numberFormat = [&](int decimals) -> lxw_format * {
        if (decimals == 0)
            return nullptr;
        lxw_format *&format = numberFormats[decimals];
        if (!format) {
            format = x.addFormat(workbook);
            const QByteArray pattern = "0." + QByteArray(decimals, '0');
            x.setNumFormat(format, pattern.constData());
        }
        return format;
    };

    lxw_error error = LXW_NO_ERROR;
    auto check = [&error](lxw_error result) {
        if (result != LXW_NO_ERROR && error == LXW_NO_ERROR)
            error = result;
    };
    for (qsizetype c = 0; c < shape.columns.size(); ++c) {
        const Column &column = shape.columns[c];
        const auto col = static_cast<lxw_col_t>(c);
        check(x.setColumnPixels(sheet, col, col, static_cast<uint32_t>(std::max(column.width, 0)), nullptr));
        check(x.writeString(sheet, 0, col, cellText(column.heading).constData(),
                            column.right ? headingRight : heading));
    }
    x.freezePanes(sheet, 1, 0);

    lxw_row_t sheetRow = 1;
    for (const int row : std::as_const(shape.rows)) {
        for (qsizetype c = 0; c < shape.columns.size() && error == LXW_NO_ERROR; ++c) {
            const Column &column = shape.columns[c];
            const auto col = static_cast<lxw_col_t>(c);
            const QString text = shape.cell(row, column).toString();
            if (text.isEmpty())
                continue;
            double value = 0;
            int decimals = 0;
            if (column.right && plainNumber(text, value, decimals))
                check(x.writeNumber(sheet, sheetRow, col, value, numberFormat(decimals)));
            else
                check(x.writeString(sheet, sheetRow, col, cellText(text).constData(),
                                    column.right ? textRight : nullptr));
        }
        if (error != LXW_NO_ERROR)
            break;
        ++sheetRow;
    }
    const lxw_error closed = x.workbookClose(workbook);
    if (error == LXW_NO_ERROR)
        error = closed;
    return error == LXW_NO_ERROR ? QString() : failure(QString::fromUtf8(x.errorText(error)));
}

// Copies a finished file into the target; an empty result, or the message to show.
QString commitCopy(const QString &source, QSaveFile &target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return failure(in.errorString());
    QByteArray buffer;
    while (!(buffer = in.read(1 << 20)).isEmpty()) {
        if (target.write(buffer) != buffer.size())
            return unwritable(target.fileName(), target.errorString());
    }
    if (!target.commit())
        return unwritable(target.fileName(), target.errorString());
    return QString();
}

QString exportXlsx(const ListShape &shape, QSaveFile &target) {
    // Excel takes at most 1,048,576 rows, the heading row included.
    if (shape.rows.size() + 1 > static_cast<qsizetype>(LXW_ROW_MAX))
        return failure(QStringLiteral("列表有%1行，超过了Excel工作表的上限%2行，请导出为CSV文件。")
                           .arg(shape.rows.size())
                           .arg(LXW_ROW_MAX - 1));
    QTemporaryDir work;
    if (!work.isValid())
        return failure(QStringLiteral("无法创建临时文件：%1").arg(work.errorString()));
    const QString xlsxPath = work.filePath(QStringLiteral("export.xlsx"));
    const QString message = writeWorkbook(shape, xlsxPath, work.path());
    if (!message.isEmpty())
        return message;
    return commitCopy(xlsxPath, target);
}

// One CSV field: quoted when it holds a comma, a quote or a line break.
void appendCsvField(QString &line, const QString &text) {
    if (text.contains(u',') || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r')) {
        QString quoted = text;
        quoted.replace(u'"', QStringLiteral("\"\""));
        line += u'"' + quoted + u'"';
    } else {
        line += text;
    }
}

QString exportCsv(const ListShape &shape, QSaveFile &target) {
    QByteArray out("\xEF\xBB\xBF");
    auto flush = [&](bool force) {
        if (out.size() < (1 << 20) && !force)
            return true;
        const bool ok = target.write(out) == out.size();
        out.clear();
        return ok;
    };
    QString line;
    for (qsizetype c = 0; c < shape.columns.size(); ++c) {
        if (c > 0)
            line += u',';
        appendCsvField(line, shape.columns[c].heading);
    }
    line += QStringLiteral("\r\n");
    out += line.toUtf8();
    for (const int row : std::as_const(shape.rows)) {
        line.clear();
        for (qsizetype c = 0; c < shape.columns.size(); ++c) {
            if (c > 0)
                line += u',';
            appendCsvField(line, shape.cell(row, shape.columns[c]).toString());
        }
        line += QStringLiteral("\r\n");
        out += line.toUtf8();
        if (!flush(false))
            return unwritable(target.fileName(), target.errorString());
    }
    if (!flush(true) || !target.commit())
        return unwritable(target.fileName(), target.errorString());
    return QString();
}

QString suggestedFileName(QAbstractItemView *list) {
    QString name = list->window()->windowTitle().trimmed();
    for (const QChar c : QStringLiteral("/\\:*?\"<>|"))
        name.replace(c, u'_');
    if (name.isEmpty())
        name = QStringLiteral("导出");
    if (lastDirectory.isEmpty())
        lastDirectory = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(lastDirectory).filePath(name + QStringLiteral(".xlsx"));
}

// Shows the wait cursor for as long as the export runs.
class WaitCursor {
public:
    WaitCursor() {
        if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor() {
        if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
            QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

void ExportList(QAbstractItemView *list) {
    if (!list || !list->model())
        return;
    QString path = SaveFileName(exportCaption, suggestedFileName(list),
                                QStringLiteral("Excel 工作簿 (*.xlsx);;CSV 文件（UTF-8，逗号分隔） (*.csv)"));
    if (path.isEmpty())
        return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool csv = suffix == u"csv";
    if (!csv && suffix != u"xlsx")
        path += QStringLiteral(".xlsx");

    QString message;
    {
        WaitCursor wait;
        // The target is written through a temporary file beside it and replaced only when
        // everything was written, so a failure leaves an existing file as it was.
        QSaveFile target(path);
        if (!target.open(QIODevice::WriteOnly)) {
            message = unwritable(path, target.errorString());
        } else {
            const ListShape shape = shapeOf(list);
            message = csv ? exportCsv(shape, target) : exportXlsx(shape, target);
        }
    }
    if (!message.isEmpty()) {
        ShowInfo(message);
        return;
    }
    lastDirectory = QFileInfo(path).absolutePath();
}
