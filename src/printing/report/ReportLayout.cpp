#include "printing/report/ReportLayout.h"

#include "printing/report/DisplayFormat.h"
#include "printing/report/MemoText.h"

#include <QHash>
#include <QTextBoundaryFinder>
#include <cmath>
#include <optional>
#include <vector>

namespace {

// A memo's box, text lines and font after its text was filled in, measured, grown and fitted
// (band coordinates). The text is drawn inside the box and nowhere else.
struct MemoBox {
    ReportRect box;
    QStringList lines;
    ReportFont font;
};

// Measurements agree to a fraction of a unit; a text that fits by that much fits.
constexpr double FitTolerance = 0.5;

// An object's box with its extent made positive (a line may run up or to the left).
ReportRect normalized(const ReportRect &r) {
    return {qMin(r.left, r.right()), qMin(r.top, r.bottom()), qAbs(r.width), qAbs(r.height)};
}

// Places a box of its width across the band as its band alignment says.
void alignInBand(ReportRect &box, BandAlign align, int bandWidth) {
    if (align == BandAlign::Left)
        box.left = 0;
    else if (align == BandAlign::Center)
        box.left = (bandWidth - box.width) / 2;
    else if (align == BandAlign::Right)
        box.left = bandWidth - box.width;
}

class LayoutRun {
public:
    LayoutRun(const Report &report, const QList<ReportDataSet> &dataSets, const TextMeasurer &measurer,
              const QLocale &locale)
        : m_report(report)
        , m_measurer(measurer)
        , m_locale(locale) {
        for (const ReportDataSet &data : dataSets)
            m_data.insert(data.name.toCaseFolded(), &data);
    }

    PreparedReport run() {
        for (const ReportPage &page : m_report.pages)
            layoutPage(page);
        return std::move(m_out);
    }

private:
    void layoutPage(const ReportPage &page) {
        m_page = &page;
        startSheet();
        for (const ReportBand &band : page.bands)
            if (band.kind == BandKind::ReportTitle)
                place(band, -1);
        for (const ReportBand &band : page.bands)
            if (band.kind == BandKind::MasterData || band.kind == BandKind::DetailData)
                printDataBand(band);
        for (const ReportBand &band : page.bands)
            if (band.kind == BandKind::ReportSummary)
                place(band, -1);
        finishSheet();
    }

    void printDataBand(const ReportBand &band) {
        const ReportDataSet *data =
            band.dataSet.isEmpty() ? nullptr : m_data.value(band.dataSet.toCaseFolded());
        const qint64 n = band.dataSet.isEmpty() ? 1 : (data ? data->rows.size() : 0);
        const qint64 m = band.rowsPerPage;
        const ReportBand *filler =
            m > 0 && !band.fillerBand.isEmpty() ? m_report.findBand(band.fillerBand) : nullptr;
        const qint64 total = m > 0 && n > 0 ? (n + m - 1) / m * m : n;
        for (qint64 i = 0; i < total; ++i) {
            if (i < n) {
                if (data)
                    m_rows.insert(data->name.toCaseFolded(), int(i));
                place(band, int(i));
            } else if (filler) {
                place(*filler, -1);
            }
            if (m > 0 && (i + 1) % m == 0 && i + 1 < n)
                newSheet();
        }
    }

    void startSheet() {
        PreparedPage sheet;
        sheet.width = m_page->paperWidth;
        sheet.height = m_page->paperHeight;
        m_out.pages.append(sheet);
        int footers = 0;
        for (const ReportBand &band : m_page->bands)
            if (band.kind == BandKind::PageFooter && band.visible)
                footers += band.height;
        m_limit = m_page->paperHeight - m_page->bottomMargin - footers;
        m_y = m_page->topMargin;
        for (const ReportBand &band : m_page->bands)
            if (band.kind == BandKind::PageHeader && band.visible)
                m_y += put(band, -1, m_y);
        m_hasContent = false;
    }

    void finishSheet() {
        int y = m_limit;
        for (const ReportBand &band : m_page->bands)
            if (band.kind == BandKind::PageFooter && band.visible)
                y += put(band, -1, y);
    }

    void newSheet() {
        finishSheet();
        startSheet();
    }

    // Places a band below the last one, on a new sheet when it does not fit.
    void place(const ReportBand &band, int row) {
        if (!band.visible)
            return;
        int height = 0;
        QList<PreparedItem> items = build(band, height);
        if (m_y + height > m_limit && m_hasContent)
            newSheet();
        emitBand(band, row, items, height, m_y);
        m_y += height;
        m_hasContent = true;
    }

    // Places a band at a fixed position; returns its height.
    int put(const ReportBand &band, int row, int top) {
        int height = 0;
        QList<PreparedItem> items = build(band, height);
        emitBand(band, row, items, height, top);
        return height;
    }

    void emitBand(const ReportBand &band, int row, QList<PreparedItem> &items, int height, int top) {
        PreparedPage &sheet = m_out.pages.last();
        const int left = m_page->leftMargin;
        sheet.bands.append({band.name, band.kind, {left, top, m_page->bandWidth(), height}, row});
        for (PreparedItem &item : items) {
            item.rect.left += left;
            item.rect.top += top;
            item.clip.left += left;
            item.clip.top += top;
            item.baseline += top;
            sheet.items.append(std::move(item));
        }
    }

    // The band's objects in band coordinates, and its height after growing.
    QList<PreparedItem> build(const ReportBand &band, int &height) {
        std::vector<std::optional<MemoBox>> memos(band.objects.size());
        height = band.height;
        for (qsizetype i = 0; i < band.objects.size(); ++i) {
            const auto *memo = std::get_if<MemoObject>(&band.objects.at(i));
            if (!memo || !memo->visible)
                continue;
            memos[i] = layoutMemo(band, i, *memo);
            if (band.canGrow && memo->canGrow)
                height = qMax(height, memos[i]->box.bottom());
        }
        const int growth = height - band.height;
        QList<PreparedItem> items;
        for (qsizetype i = 0; i < band.objects.size(); ++i) {
            const ReportObject &object = band.objects.at(i);
            std::visit(
                [&](const auto &o) {
                    if (!o.visible)
                        return;
                    ReportRect r = memos[i] ? memos[i]->box : o.rect;
                    if (o.bandGrowth == BandGrowth::Stretch)
                        r.height += growth;
                    else if (o.bandGrowth == BandGrowth::Shift)
                        r.top += growth;
                    emitObject(band, o, r, memos[i], items);
                },
                object);
        }
        return items;
    }

    void emitObject(const ReportBand &band, const MemoObject &memo, const ReportRect &r,
                    const std::optional<MemoBox> &box, QList<PreparedItem> &items) {
        if (memo.fill.isValid())
            items.append(rectangleItem(band, memo.name, r, ReportPen{0, {}, LineStyle::Solid}, memo.fill));
        if (memo.frameTop)
            items.append(lineItem(band, memo.name, {r.left, r.top, r.width, 0}, memo.frame));
        if (memo.frameBottom)
            items.append(lineItem(band, memo.name, {r.left, r.bottom(), r.width, 0}, memo.frame));
        if (memo.frameLeft)
            items.append(lineItem(band, memo.name, {r.left, r.top, 0, r.height}, memo.frame));
        if (memo.frameRight)
            items.append(lineItem(band, memo.name, {r.right(), r.top, 0, r.height}, memo.frame));

        const ReportFont &font = box->font;
        const double lineHeight = m_measurer.lineHeight(font);
        const double ascent = m_measurer.ascent(font);
        const double block = lineHeight * box->lines.size();
        double y = r.top + memo.gapY;
        if (memo.vAlign == VAlign::Center)
            y = r.top + (r.height - block) / 2;
        else if (memo.vAlign == VAlign::Bottom)
            y = r.bottom() - memo.gapY - block;
        for (const QString &line : box->lines) {
            if (!line.isEmpty()) {
                const double width = m_measurer.width(line, font);
                double x = r.left + memo.gapX;
                if (memo.hAlign == HAlign::Center)
                    x = r.left + (r.width - width) / 2;
                else if (memo.hAlign == HAlign::Right)
                    x = r.right() - memo.gapX - width;
                PreparedItem item;
                item.kind = PreparedItem::Kind::Text;
                item.band = band.name;
                item.object = memo.name;
                item.rect = {qRound(x), qRound(y), qRound(width), qRound(lineHeight)};
                item.baseline = qRound(y + ascent);
                item.text = line;
                item.font = font;
                item.clip = r;
                items.append(std::move(item));
            }
            y += lineHeight;
        }
    }

    void emitObject(const ReportBand &band, const LineObject &line, const ReportRect &r,
                    const std::optional<MemoBox> &, QList<PreparedItem> &items) {
        items.append(lineItem(band, line.name, r, line.pen));
    }

    void emitObject(const ReportBand &band, const RectangleObject &rectangle, const ReportRect &r,
                    const std::optional<MemoBox> &, QList<PreparedItem> &items) {
        items.append(rectangleItem(band, rectangle.name, r, rectangle.pen, rectangle.fill));
    }

    void emitObject(const ReportBand &band, const PictureObject &picture, const ReportRect &r,
                    const std::optional<MemoBox> &, QList<PreparedItem> &items) {
        if (picture.imageData.isEmpty())
            return;
        auto it = m_images.find(picture.name);
        if (it == m_images.end())
            it = m_images.insert(picture.name, QImage::fromData(picture.imageData));
        if (it->isNull())
            return;
        PreparedItem item;
        item.kind = PreparedItem::Kind::Picture;
        item.band = band.name;
        item.object = picture.name;
        item.rect = r;
        item.image = *it;
        item.keepAspect = picture.keepAspect;
        items.append(std::move(item));
    }

    static PreparedItem lineItem(const ReportBand &band, const QString &object, const ReportRect &r,
                                 const ReportPen &pen) {
        PreparedItem item;
        item.kind = PreparedItem::Kind::Line;
        item.band = band.name;
        item.object = object;
        item.rect = r;
        item.pen = pen;
        return item;
    }

    static PreparedItem rectangleItem(const ReportBand &band, const QString &object, const ReportRect &r,
                                      const ReportPen &pen, const QColor &fill) {
        PreparedItem item = lineItem(band, object, r, pen);
        item.kind = PreparedItem::Kind::Rectangle;
        item.fill = fill;
        return item;
    }

    MemoBox layoutMemo(const ReportBand &band, qsizetype index, const MemoObject &memo) {
        const int bandWidth = m_page->bandWidth();
        QString text = memo.allowExpressions ? expand(memo) : memo.text;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        const QStringList lines = text.split(u'\n');
        MemoBox result{memo.rect, {}, memo.font};
        ReportRect &box = result.box;
        alignInBand(box, memo.bandAlign, bandWidth);
        if (memo.autoWidth) {
            double widest = 0;
            for (const QString &line : lines)
                widest = qMax(widest, m_measurer.width(line, memo.font));
            const int wanted = int(std::ceil(widest)) + 2 * memo.gapX;
            box.width = qMin(wanted, qMax(widthRoom(band, index, box, memo.bandAlign), 0));
            alignInBand(box, memo.bandAlign, bandWidth);
        }
        const auto layOut = [&](const ReportFont &font) {
            if (!memo.wordWrap)
                return lines;
            QStringList wrapped;
            for (const QString &line : lines)
                wrapped += wrap(line, font, box.width - 2 * memo.gapX);
            return wrapped;
        };
        result.lines = layOut(memo.font);
        if (memo.canGrow) {
            const double block = m_measurer.lineHeight(memo.font) * result.lines.size();
            const int wanted = int(std::ceil(block)) + 2 * memo.gapY;
            box.height = qMax(box.height, qMin(wanted, heightRoom(band, index, box)));
        }
        if (memo.shrinkToFit) {
            while (!fits(result, memo) && result.font.pointSize > memo.minFontSize) {
                result.font.pointSize = qMax(memo.minFontSize, result.font.pointSize - MemoShrinkStep);
                result.lines = layOut(result.font);
            }
        }
        cutToBox(result, memo);
        return result;
    }

    // How wide a memo that grows with its text may become: up to the nearest object beside it
    // (objects that overlap its box as the file has it are its own business) or the band's edge,
    // growing away from the side it is anchored to.
    int widthRoom(const ReportBand &band, qsizetype index, const ReportRect &box, BandAlign align) const {
        const int bandWidth = m_page->bandWidth();
        int leftLimit = 0;
        int rightLimit = bandWidth;
        for (qsizetype j = 0; j < band.objects.size(); ++j) {
            if (j == index || !isVisible(band.objects.at(j)))
                continue;
            const ReportRect r = normalized(ObjectRect(band.objects.at(j)));
            if (r.top >= box.bottom() || r.bottom() <= box.top)
                continue;
            if (r.right() <= box.left)
                leftLimit = qMax(leftLimit, r.right());
            else if (r.left >= box.right())
                rightLimit = qMin(rightLimit, r.left);
        }
        switch (align) {
        case BandAlign::None:
        case BandAlign::Left:
            return rightLimit - box.left;
        case BandAlign::Right:
            return bandWidth - leftLimit;
        case BandAlign::Center:
            return 2 * qMin(bandWidth / 2 - leftLimit, rightLimit - bandWidth / 2);
        }
        return 0;
    }

    // How tall a memo that grows with its text may become: down to the nearest object below it,
    // else the band's bottom, or the printable height of the paper when the band grows too
    // (objects that move down with a growing band are no obstacle).
    int heightRoom(const ReportBand &band, qsizetype index, const ReportRect &box) const {
        int limit =
            band.canGrow ? m_page->paperHeight - m_page->topMargin - m_page->bottomMargin : band.height;
        for (qsizetype j = 0; j < band.objects.size(); ++j) {
            const ReportObject &object = band.objects.at(j);
            if (j == index || !isVisible(object) || (band.canGrow && growthOf(object) == BandGrowth::Shift))
                continue;
            const ReportRect r = normalized(ObjectRect(object));
            if (r.left < box.right() && r.right() > box.left && r.top >= box.bottom())
                limit = qMin(limit, r.top);
        }
        return limit - box.top;
    }

    static bool isVisible(const ReportObject &object) {
        return std::visit([](const auto &o) { return o.visible; }, object);
    }

    static BandGrowth growthOf(const ReportObject &object) {
        return std::visit([](const auto &o) { return o.bandGrowth; }, object);
    }

    bool fits(const MemoBox &memoBox, const MemoObject &memo) const {
        bool empty = true;
        for (const QString &line : memoBox.lines) {
            if (m_measurer.width(line, memoBox.font) > memoBox.box.width - 2 * memo.gapX + FitTolerance)
                return false;
            empty = empty && line.isEmpty();
        }
        return empty || m_measurer.lineHeight(memoBox.font) * memoBox.lines.size() <=
                            memoBox.box.height - 2 * memo.gapY + FitTolerance;
    }

    // Cuts what does not fit the box: lines below it (the first line always stays; the painter
    // clips what of it stands out) and, of every line, the characters beyond its right edge.
    void cutToBox(MemoBox &memoBox, const MemoObject &memo) const {
        const double room = memoBox.box.width - 2 * memo.gapX + FitTolerance;
        const double lineHeight = m_measurer.lineHeight(memoBox.font);
        const double height = memoBox.box.height - 2 * memo.gapY + FitTolerance;
        const qsizetype most = lineHeight > 0 ? qMax<qsizetype>(1, qsizetype(height / lineHeight)) : 1;
        if (memoBox.lines.size() > most)
            memoBox.lines.resize(most);
        for (QString &line : memoBox.lines)
            if (m_measurer.width(line, memoBox.font) > room)
                line.truncate(fittingCharacters(line, memoBox.font, room, 0));
    }

    // Greedy line breaking at the places Unicode allows, by characters where a piece alone is
    // too wide. Every line holds at least one character, so it always ends.
    QStringList wrap(const QString &line, const ReportFont &font, double room) const {
        if (line.isEmpty() || m_measurer.width(line, font) <= room)
            return {line};
        QList<qsizetype> breaks;
        QTextBoundaryFinder finder(QTextBoundaryFinder::Line, line);
        for (qsizetype b = finder.toNextBoundary(); b > 0; b = finder.toNextBoundary())
            breaks.append(b);
        QStringList out;
        qsizetype start = 0;
        while (start < line.size()) {
            qsizetype end = -1;
            for (qsizetype b : std::as_const(breaks)) {
                if (b <= start)
                    continue;
                if (m_measurer.width(line.mid(start, b - start).trimmed(), font) > room)
                    break;
                end = b;
            }
            if (end < 0)
                end = start + fittingCharacters(line.mid(start), font, room, 1);
            out.append(line.mid(start, end - start).trimmed());
            start = end;
            while (start < line.size() && line.at(start).isSpace())
                ++start;
        }
        return out;
    }

    // The length of the longest start of text, in whole characters, that is at most room wide;
    // at least `least` characters (0 or 1).
    qsizetype fittingCharacters(const QString &text, const ReportFont &font, double room, int least) const {
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
        qsizetype fit = 0;
        for (qsizetype b = finder.toNextBoundary(); b > 0; b = finder.toNextBoundary()) {
            if (fit == 0 && least > 0) {
                fit = b;
                continue;
            }
            if (m_measurer.width(text.left(b), font) > room)
                break;
            fit = b;
        }
        return fit;
    }

    QString expand(const MemoObject &memo) {
        auto parsed = m_parsed.find(memo.text);
        if (parsed == m_parsed.end())
            parsed = m_parsed.insert(memo.text, ParseMemoText(memo.text));
        QString text;
        for (const MemoTextPart &part : std::as_const(*parsed))
            text += part.isField()
                        ? FormatDisplayValue(value(part.dataSet, part.field), memo.displayFormat, m_locale)
                        : part.text;
        return text;
    }

    QVariant value(const QString &dataSetName, const QString &field) const {
        const QString key = dataSetName.toCaseFolded();
        const ReportDataSet *data = m_data.value(key);
        if (!data)
            return {};
        const int row = m_rows.value(key, 0);
        const int column = data->fieldIndex(field);
        if (row >= data->rows.size() || column < 0)
            return {};
        return data->rows.at(row).value(column);
    }

    const Report &m_report;
    const TextMeasurer &m_measurer;
    const QLocale m_locale;
    QHash<QString, const ReportDataSet *> m_data;
    QHash<QString, int> m_rows;
    QHash<QString, QList<MemoTextPart>> m_parsed;
    QHash<QString, QImage> m_images;
    PreparedReport m_out;
    const ReportPage *m_page = nullptr;
    int m_y = 0;
    int m_limit = 0;
    bool m_hasContent = false;
};

} // namespace

PreparedReport PrepareReport(const Report &report, const QList<ReportDataSet> &dataSets,
                             const TextMeasurer &measurer, const QLocale &locale) {
    ValidateReport(report);
    return LayoutRun(report, dataSets, measurer, locale).run();
}
