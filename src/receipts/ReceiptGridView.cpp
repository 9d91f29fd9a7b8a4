#include "receipts/ReceiptGridView.h"

#include <QHeaderView>

ReceiptGridView::ReceiptGridView(QWidget *parent)
    : QTableView(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setTabKeyNavigation(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(16);
    verticalHeader()->setDefaultSectionSize(22);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setFixedHeight(24);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &ReceiptGridView::cellsMoved);
}

void ReceiptGridView::focusInEvent(QFocusEvent *event) {
    QTableView::focusInEvent(event);
    emit focusEntered();
}

void ReceiptGridView::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    emit cellsMoved();
}

void ReceiptGridView::resizeEvent(QResizeEvent *event) {
    QTableView::resizeEvent(event);
    emit cellsMoved();
}
