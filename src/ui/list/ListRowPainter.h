#pragma once

#include <QColor>
#include <QStyledItemDelegate>

// Paints the rows of a list: rows at odd positions (1, 3, 5, ...) in the window's stripe
// colour; a selected row, and in a checkable list a ticked row, in aqua RGB(0, 255, 255)
// with black text, or, in the DarkBlue look, a selected row in RGB(10, 36, 106) with white
// text. Thin grid lines separate the cells. A click on a row's check box is handed to the
// view (tickClicked) instead of toggling the box itself, so the view can apply its rule.
class ListRowPainter : public QStyledItemDelegate {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListRowPainter)

public:
    enum class Selection { Aqua, DarkBlue };

    static inline const QColor DefaultStripe{231, 242, 245};
    static inline const QColor Aqua{0, 255, 255};
    static inline const QColor DarkBlue{10, 36, 106};

    explicit ListRowPainter(QObject *parent = nullptr);

    void setStripe(const QColor &stripe) { m_stripe = stripe; }
    QColor stripe() const { return m_stripe; }
    void setSelection(Selection selection) { m_selection = selection; }
    Selection selection() const { return m_selection; }
    void setGridLines(bool on) { m_gridLines = on; }

    // The background a row gets: what the painting rule gives for its position and state.
    QColor background(int row, bool selected, bool ticked, const QColor &base) const;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

signals:
    void tickClicked(int row);

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

private:
    QColor m_stripe = DefaultStripe;
    Selection m_selection = Selection::Aqua;
    bool m_gridLines = true;
};
