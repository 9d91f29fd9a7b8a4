#include "ui/LookupGrid.h"

#include "data/DbQuery.h"

#include <QHeaderView>
#include <QStyle>

#include <algorithm>

LookupGrid::LookupGrid(const QList<LookupColumn> &columns, const QStringList &keptFields, QWidget *parent)
    : QTableWidget(parent)
    , m_columns(columns) {
    for (const LookupColumn &column : columns)
        m_fields.append(column.field);
    for (const QString &field : keptFields)
        if (!m_fields.contains(field))
            m_fields.append(field);

    setFocusPolicy(Qt::NoFocus);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setFrameShape(QFrame::Box);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(20);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    QPalette look = palette();
    look.setColor(QPalette::Highlight, QColor(10, 36, 106));
    look.setColor(QPalette::HighlightedText, Qt::white);
    look.setColor(QPalette::Inactive, QPalette::Highlight, QColor(10, 36, 106));
    look.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::white);
    setPalette(look);

    setColumnCount(static_cast<int>(columns.size()));
    applyCaptions();
    hide();
}

void LookupGrid::setCaptions(const QStringList &captions) {
    for (int i = 0; i < m_columns.size() && i < captions.size(); ++i)
        m_columns[i].caption = captions[i];
    applyCaptions();
}

void LookupGrid::applyCaptions() {
    // The widths are meant for a font whose digits are 6 pixels wide; a larger font widens them
    // alike, so that a code still fits its column. A heading always fits its column.
    const double scale = std::max(1.0, fontMetrics().horizontalAdvance(u'0') / 6.0);
    const QFontMetrics heading = horizontalHeader()->fontMetrics();
    const int padding = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader()) + 8;
    int width = 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int i = 0; i < m_columns.size(); ++i) {
        const LookupColumn &column = m_columns[i];
        auto *title = new QTableWidgetItem(column.caption);
        title->setTextAlignment(column.centredTitle ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        setHorizontalHeaderItem(i, title);
        setColumnWidth(i, std::max(static_cast<int>(column.width * scale),
                                   heading.horizontalAdvance(column.caption) + padding));
        width += columnWidth(i);
    }
    resize(width, height());
}

void LookupGrid::fill(DbQuery &query) {
    m_records.clear();
    for (; !query.eof(); query.next()) {
        QHash<QString, QString> record;
        for (const QString &field : std::as_const(m_fields))
            record.insert(field, query.fieldIndex(field) >= 0 ? query.asText(field) : QString());
        m_records.append(record);
    }
    setUpdatesEnabled(false);
    clearContents();
    setRowCount(static_cast<int>(m_records.size()));
    const QBrush tint(QColor(255, 240, 244));
    for (int row = 0; row < m_records.size(); ++row) {
        for (int col = 0; col < m_columns.size(); ++col) {
            auto *item = new QTableWidgetItem(m_records[row].value(m_columns[col].field));
            // Record numbers count from 1: the even ones are tinted.
            if (row % 2 == 1)
                item->setBackground(tint);
            setItem(row, col, item);
        }
    }
    if (!m_records.isEmpty())
        setCurrentCell(0, 0);
    setUpdatesEnabled(true);
}

QString LookupGrid::value(const QString &field) const {
    const int row = currentRow();
    if (row < 0 || row >= m_records.size())
        return QString();
    return m_records[row].value(field);
}

void LookupGrid::moveNext() {
    if (currentRow() + 1 < rowCount())
        setCurrentCell(currentRow() + 1, 0);
}

void LookupGrid::movePrior() {
    if (currentRow() > 0)
        setCurrentCell(currentRow() - 1, 0);
}
