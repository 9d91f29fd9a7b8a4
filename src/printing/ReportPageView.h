#pragma once

#include "printing/report/PreparedPage.h"

#include <QWidget>

// One prepared page drawn at a scale, inside the preview's scroll area.
class ReportPageView : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReportPageView)

public:
    explicit ReportPageView(QWidget *parent = nullptr);

    // Shows page (kept by the caller) at pixelsPerUnit screen pixels per hundredth of a
    // millimetre, and takes the size that needs.
    void setPage(const PreparedPage *page, double pixelsPerUnit);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const PreparedPage *m_page = nullptr;
    double m_scale = 0;
};
