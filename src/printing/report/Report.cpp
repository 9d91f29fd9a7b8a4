#include "printing/report/Report.h"

#include "printing/report/ReportError.h"
#include "printing/report/ReportUnits.h"

#include <QSet>

namespace {

bool sameName(const QString &a, const QString &b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Control characters other than tab and line breaks cannot be kept in a report file.
bool hasControlCharacters(const QString &text) {
    for (const QChar ch : text)
        if (ch.unicode() < 0x20 && ch != u'\t' && ch != u'\n' && ch != u'\r')
            return true;
    return false;
}

void checkName(const QString &name, const QString &what, QSet<QString> &seen) {
    if (name.trimmed().isEmpty())
        throw ReportError(QStringLiteral("%1没有名称。").arg(what));
    const QString key = name.toCaseFolded();
    if (seen.contains(key))
        throw ReportError(QStringLiteral("名称“%1”重复。").arg(name));
    seen.insert(key);
}

bool lengthInRange(int units) {
    return units >= -MaxReportLength && units <= MaxReportLength;
}

bool rectInRange(const ReportRect &r) {
    return lengthInRange(r.left) && lengthInRange(r.top) && lengthInRange(r.width) && lengthInRange(r.height);
}

QString sizeText(double points) {
    return QString::number(points, 'g', 6);
}

// A font size is checked before anything converts it to a whole number of device units.
void checkFontSize(double points, const QString &owner) {
    if (!(points >= MinFontSize && points <= MaxFontSize))
        throw ReportError(QStringLiteral("%1的字号%2超出范围（%3～%4磅）。")
                              .arg(owner, sizeText(points), sizeText(MinFontSize), sizeText(MaxFontSize)));
}

int penWidth(const ReportObject &object) {
    if (const auto *memo = std::get_if<MemoObject>(&object))
        return memo->frame.width;
    if (const auto *line = std::get_if<LineObject>(&object))
        return line->pen.width;
    if (const auto *rectangle = std::get_if<RectangleObject>(&object))
        return rectangle->pen.width;
    return 0;
}

[[noreturn]] void tooLarge(const QString &owner) {
    throw ReportError(QStringLiteral("%1的位置或尺寸超出范围（不能超过%2米）。")
                          .arg(owner)
                          .arg(MaxReportLength / UnitsPerMm / 1000));
}

} // namespace

ReportObject *Report::findObject(const QString &name) {
    return const_cast<ReportObject *>(std::as_const(*this).findObject(name));
}

const ReportObject *Report::findObject(const QString &name) const {
    for (const ReportPage &page : pages)
        for (const ReportBand &band : page.bands)
            for (const ReportObject &object : band.objects)
                if (sameName(ObjectName(object), name))
                    return &object;
    return nullptr;
}

MemoObject *Report::findMemo(const QString &name) {
    ReportObject *object = findObject(name);
    return object ? std::get_if<MemoObject>(object) : nullptr;
}

const ReportBand *Report::findBand(const QString &name) const {
    for (const ReportPage &page : pages)
        for (const ReportBand &band : page.bands)
            if (sameName(band.name, name))
                return &band;
    return nullptr;
}

void ValidateReport(const Report &report) {
    if (report.pages.isEmpty())
        throw ReportError(QStringLiteral("报表没有页面。"));
    if (report.previewZoom < 10 || report.previewZoom > 1000)
        throw ReportError(QStringLiteral("预览比例%1%超出范围（10%～1000%）。").arg(report.previewZoom));
    QSet<QString> names;
    for (const ReportPage &page : report.pages) {
        checkName(page.name, QStringLiteral("页面"), names);
        const QString pageName = QStringLiteral("页面“%1”").arg(page.name);
        for (int length : {page.paperWidth, page.paperHeight, page.leftMargin, page.topMargin,
                           page.rightMargin, page.bottomMargin})
            if (!lengthInRange(length))
                tooLarge(pageName);
        if (page.leftMargin < 0 || page.rightMargin < 0 || page.topMargin < 0 || page.bottomMargin < 0 ||
            page.bandWidth() <= 0 || page.paperHeight - page.topMargin - page.bottomMargin <= 0)
            throw ReportError(QStringLiteral("页面“%1”的纸张尺寸或页边距无效。").arg(page.name));
        checkFontSize(page.font.pointSize, pageName);
        for (const ReportBand &band : page.bands) {
            checkName(band.name, QStringLiteral("带区"), names);
            if (!lengthInRange(band.height))
                tooLarge(QStringLiteral("带区“%1”").arg(band.name));
            if (band.height < 0)
                throw ReportError(QStringLiteral("带区“%1”的高度无效。").arg(band.name));
            if (band.rowsPerPage < 0 || band.rowsPerPage > MaxRowsPerPage)
                throw ReportError(QStringLiteral("带区“%1”的每页行数%2无效（0～%3）。")
                                      .arg(band.name)
                                      .arg(band.rowsPerPage)
                                      .arg(MaxRowsPerPage));
            for (const ReportObject &object : band.objects) {
                checkName(ObjectName(object), QStringLiteral("对象"), names);
                const ReportRect &r = ObjectRect(object);
                const QString objectName = QStringLiteral("对象“%1”").arg(ObjectName(object));
                if (!rectInRange(r) || !lengthInRange(penWidth(object)))
                    tooLarge(objectName);
                const bool isLine = std::holds_alternative<LineObject>(object);
                if (!isLine && (r.width < 0 || r.height < 0))
                    throw ReportError(QStringLiteral("对象“%1”的尺寸无效。").arg(ObjectName(object)));
                const auto *memo = std::get_if<MemoObject>(&object);
                if (memo) {
                    if (!lengthInRange(memo->gapX) || !lengthInRange(memo->gapY))
                        tooLarge(objectName);
                    checkFontSize(memo->font.pointSize, objectName);
                    checkFontSize(memo->minFontSize, objectName + QStringLiteral("缩小时最小"));
                }
                if (memo && (hasControlCharacters(memo->text) || hasControlCharacters(memo->displayFormat)))
                    throw ReportError(QStringLiteral("对象“%1”的文字含有控制字符。").arg(memo->name));
            }
        }
    }
    for (const ReportPage &page : report.pages)
        for (const ReportBand &band : page.bands) {
            if (band.fillerBand.isEmpty())
                continue;
            const ReportBand *filler = report.findBand(band.fillerBand);
            if (!filler)
                throw ReportError(
                    QStringLiteral("带区“%1”的填充带区“%2”不存在。").arg(band.name, band.fillerBand));
            if (filler->kind != BandKind::Child)
                throw ReportError(
                    QStringLiteral("带区“%1”的填充带区“%2”不是子带区。").arg(band.name, band.fillerBand));
        }
}
