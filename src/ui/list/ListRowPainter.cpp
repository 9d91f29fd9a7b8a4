#include "ui/list/ListRowPainter.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

ListRowPainter::ListRowPainter(QObject *parent)
    : QStyledItemDelegate(parent) {}

QColor ListRowPainter::background(int row, bool selected, bool ticked, const QColor &base) const {
    if (m_selection == Selection::DarkBlue && selected)
        return DarkBlue;
    if (selected || ticked)
        return Aqua;
    return row % 2 == 1 ? m_stripe : base;
}

void ListRowPainter::paint(QPainter *painter, const QStyleOptionViewItem &option,
                           const QModelIndex &index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const bool selected = opt.state & QStyle::State_Selected;
    const bool ticked = index.siblingAtColumn(0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
    const QColor back = background(index.row(), selected, ticked, opt.palette.color(QPalette::Base));
    const QColor text =
        m_selection == Selection::DarkBlue && selected ? QColor(Qt::white) : QColor(Qt::black);
    // The style paints our colours, never its own highlight.
    opt.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    opt.backgroundBrush = back;
    opt.palette.setColor(QPalette::Text, text);
    opt.palette.setColor(QPalette::WindowText, text);
    painter->fillRect(option.rect, back);
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    if (m_gridLines) {
        painter->save();
        painter->setPen(QColor(192, 192, 192));
        const QRect r = option.rect;
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->restore();
    }
}

bool ListRowPainter::editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) {
    Q_UNUSED(model);
    if (!(index.flags() & Qt::ItemIsUserCheckable))
        return false;
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return false; // Space is the view's
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    const QRect box = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, widget);
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton || !box.contains(mouse->position().toPoint()))
        return false;
    // Press and double click on the box are taken so that they neither select nor open the row.
    if (type == QEvent::MouseButtonRelease)
        emit tickClicked(index.row());
    return true;
}
