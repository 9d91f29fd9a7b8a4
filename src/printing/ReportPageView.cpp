#include "printing/ReportPageView.h"

#include "printing/report/ReportPainter.h"

#include <QPainter>

ReportPageView::ReportPageView(QWidget *parent)
    : QWidget(parent) {}

void ReportPageView::setPage(const PreparedPage *page, double pixelsPerUnit) {
    m_page = page;
    m_scale = pixelsPerUnit;
    if (page)
        setFixedSize(qMax(1, qRound(page->width * pixelsPerUnit)),
                     qMax(1, qRound(page->height * pixelsPerUnit)));
    update();
}

void ReportPageView::paintEvent(QPaintEvent *) {
    if (!m_page)
        return;
    QPainter painter(this);
    PaintPage(painter, *m_page, QRectF(rect()));
}
