#pragma once

#include "printing/report/FontTextMeasurer.h"
#include "printing/report/PreparedReport.h"
#include "printing/report/Report.h"
#include "printing/report/ReportDataSet.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QPrinter;
class QScrollArea;
class QSpinBox;
class QToolButton;
class ReportPageView;

// The print preview: one page at a time with page navigation, zoom (page width, whole page or
// a percentage, starting at the report's preview zoom), printing through the print dialog,
// page setup, and export to PDF and to PNG/JPEG images. Keys: PgUp/PgDn page, Ctrl+P print,
// Esc close. Shown modally.
class ReportPreview : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReportPreview)

public:
    ReportPreview(const Report &report, const QList<ReportDataSet> &dataSets, QWidget *parent = nullptr);
    ~ReportPreview() override;

    // The print dialog and the page setup dialog; false when the user cancels. Replaceable, so
    // that tests print to a PDF file instead of waiting for a dialog.
    std::function<bool(QPrinter &)> askPrinter;
    std::function<bool(QPrinter &)> askPageSetup;

    const PreparedReport &prepared() const { return m_prepared; }
    int currentPage() const { return m_current; } // from 0
    double zoom() const { return m_zoom; }        // 1.0 is 100 %

    void showPage(int index);
    void printReport();
    void pageSetup();
    void exportPdf();
    void exportImages();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    enum class Fit { None, Width, Page };

    void zoomChosen(const QString &text);
    void applyZoom();

    Report m_report;
    QList<ReportDataSet> m_dataSets;
    FontTextMeasurer m_measurer;
    PreparedReport m_prepared;
    int m_current = 0;
    double m_zoom = 1;
    Fit m_fit = Fit::None;

    QToolButton *FirstButton;
    QToolButton *PriorButton;
    QSpinBox *PageBox;
    QLabel *PageCountLabel;
    QToolButton *NextButton;
    QToolButton *LastButton;
    QComboBox *ZoomBox;
    QToolButton *PrintButton;
    QToolButton *PageSetupButton;
    QToolButton *ExportPdfButton;
    QToolButton *ExportImageButton;
    QToolButton *CloseButton;
    QScrollArea *ScrollArea;
    ReportPageView *PageView;
};
