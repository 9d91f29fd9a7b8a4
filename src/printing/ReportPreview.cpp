#include "printing/ReportPreview.h"

#include "printing/ReportPageView.h"
#include "printing/report/ReportError.h"
#include "printing/report/ReportLayout.h"
#include "printing/report/ReportOutput.h"
#include "ui/UiServices.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString FitWidthText = QStringLiteral("页宽");
const QString FitPageText = QStringLiteral("整页");
constexpr int ImageDpi = 200;
constexpr int ViewMargin = 12; // pixels around the page inside the scroll area

QToolButton *button(QWidget *parent, const char *name, const QString &text) {
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(text);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setAutoRaise(true);
    return b;
}

QPageLayout pageLayoutOf(const ReportPage &page) {
    const QPageSize size(QSizeF(page.paperWidth / 100.0, page.paperHeight / 100.0), QPageSize::Millimeter,
                         QString(), QPageSize::ExactMatch);
    return QPageLayout(size, QPageLayout::Portrait,
                       QMarginsF(page.leftMargin / 100.0, page.topMargin / 100.0, page.rightMargin / 100.0,
                                 page.bottomMargin / 100.0),
                       QPageLayout::Millimeter);
}

} // namespace

ReportPreview::ReportPreview(const Report &report, const QList<ReportDataSet> &dataSets, QWidget *parent)
    : QDialog(parent)
    , m_report(report)
    , m_dataSets(dataSets)
    , m_prepared(PrepareReport(report, dataSets, m_measurer))
    , m_zoom(report.previewZoom / 100.0) {
    setWindowTitle(QStringLiteral("打印预览"));
    setMinimumSize(600, 400);
    resize(1000, 650);

    askPrinter = [this](QPrinter &printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    askPageSetup = [this](QPrinter &printer) {
        QPageSetupDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };

    FirstButton = button(this, "FirstButton", QStringLiteral("首页"));
    PriorButton = button(this, "PriorButton", QStringLiteral("上一页"));
    PageBox = new QSpinBox(this);
    PageBox->setObjectName(QStringLiteral("PageBox"));
    PageCountLabel = new QLabel(this);
    PageCountLabel->setObjectName(QStringLiteral("PageCountLabel"));
    NextButton = button(this, "NextButton", QStringLiteral("下一页"));
    LastButton = button(this, "LastButton", QStringLiteral("末页"));
    ZoomBox = new QComboBox(this);
    ZoomBox->setObjectName(QStringLiteral("ZoomBox"));
    ZoomBox->setEditable(true);
    ZoomBox->setInsertPolicy(QComboBox::NoInsert);
    ZoomBox->addItems({FitWidthText, FitPageText, QStringLiteral("25%"), QStringLiteral("50%"),
                       QStringLiteral("75%"), QStringLiteral("100%"), QStringLiteral("150%"),
                       QStringLiteral("200%"), QStringLiteral("400%")});
    PrintButton = button(this, "PrintButton", QStringLiteral("打印"));
    PageSetupButton = button(this, "PageSetupButton", QStringLiteral("页面设置"));
    ExportPdfButton = button(this, "ExportPdfButton", QStringLiteral("导出PDF"));
    ExportImageButton = button(this, "ExportImageButton", QStringLiteral("导出图片"));
    CloseButton = button(this, "CloseButton", QStringLiteral("关闭"));

    ScrollArea = new QScrollArea(this);
    ScrollArea->setObjectName(QStringLiteral("ScrollArea"));
    ScrollArea->setAlignment(Qt::AlignCenter);
    ScrollArea->setBackgroundRole(QPalette::Dark);
    PageView = new ReportPageView;
    PageView->setObjectName(QStringLiteral("PageView"));
    ScrollArea->setWidget(PageView);

    auto *tools = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{PrintButton, PageSetupButton, ExportPdfButton,
                                                       ExportImageButton, ZoomBox, FirstButton, PriorButton,
                                                       PageBox, PageCountLabel, NextButton, LastButton})
        tools->addWidget(w);
    tools->addStretch();
    tools->addWidget(CloseButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(tools);
    layout->addWidget(ScrollArea, 1);

    connect(FirstButton, &QToolButton::clicked, this, [this] { showPage(0); });
    connect(PriorButton, &QToolButton::clicked, this, [this] { showPage(m_current - 1); });
    connect(NextButton, &QToolButton::clicked, this, [this] { showPage(m_current + 1); });
    connect(LastButton, &QToolButton::clicked, this, [this] { showPage(int(m_prepared.pages.size()) - 1); });
    connect(PageBox, &QSpinBox::valueChanged, this, [this](int page) { showPage(page - 1); });
    connect(ZoomBox, &QComboBox::textActivated, this, &ReportPreview::zoomChosen);
    // A typed percentage is no item of the list and activates nothing: take it on Enter.
    connect(ZoomBox->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { zoomChosen(ZoomBox->currentText()); });
    connect(PrintButton, &QToolButton::clicked, this, &ReportPreview::printReport);
    connect(PageSetupButton, &QToolButton::clicked, this, &ReportPreview::pageSetup);
    connect(ExportPdfButton, &QToolButton::clicked, this, &ReportPreview::exportPdf);
    connect(ExportImageButton, &QToolButton::clicked, this, &ReportPreview::exportImages);
    connect(CloseButton, &QToolButton::clicked, this, &ReportPreview::reject);

    auto shortcut = [this](const QKeySequence &keys, auto slot) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::Key_PageDown), [this] { showPage(m_current + 1); });
    shortcut(QKeySequence(Qt::Key_PageUp), [this] { showPage(m_current - 1); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { showPage(0); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_End), [this] { showPage(int(m_prepared.pages.size()) - 1); });
    shortcut(QKeySequence::Print, [this] { printReport(); });

    ZoomBox->setCurrentText(QString::number(report.previewZoom) + u'%');
    showPage(0);
    ScrollArea->setFocus();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::showPage(int index) {
    const int count = int(m_prepared.pages.size());
    m_current = qBound(0, index, qMax(0, count - 1));
    {
        const QSignalBlocker block(PageBox);
        PageBox->setRange(count > 0 ? 1 : 0, count);
        PageBox->setValue(m_current + 1);
    }
    PageCountLabel->setText(QStringLiteral("/ %1").arg(count));
    FirstButton->setEnabled(m_current > 0);
    PriorButton->setEnabled(m_current > 0);
    NextButton->setEnabled(m_current + 1 < count);
    LastButton->setEnabled(m_current + 1 < count);
    applyZoom();
}

void ReportPreview::zoomChosen(const QString &text) {
    if (text == FitWidthText) {
        m_fit = Fit::Width;
    } else if (text == FitPageText) {
        m_fit = Fit::Page;
    } else {
        QString digits = text.trimmed();
        if (digits.endsWith(u'%'))
            digits.chop(1);
        bool ok = false;
        const int percent = digits.trimmed().toInt(&ok);
        if (ok && percent >= 10 && percent <= 1000) {
            m_fit = Fit::None;
            m_zoom = percent / 100.0;
        }
        ZoomBox->setEditText(QString::number(qRound(m_zoom * 100)) + u'%');
    }
    applyZoom();
}

void ReportPreview::applyZoom() {
    if (m_prepared.pages.isEmpty()) {
        PageView->setPage(nullptr, 0);
        return;
    }
    const PreparedPage &page = m_prepared.pages.at(m_current);
    const double atFull = logicalDpiX() / 2540.0; // screen pixels per unit at 100 %
    const QSize room = ScrollArea->viewport()->size() - QSize(2 * ViewMargin, 2 * ViewMargin);
    if (m_fit != Fit::None) {
        const double byWidth = room.width() / (page.width * atFull);
        const double byHeight = room.height() / (page.height * atFull);
        m_zoom = qMax(0.1, m_fit == Fit::Width ? byWidth : qMin(byWidth, byHeight));
    }
    PageView->setPage(&page, atFull * m_zoom);
}

void ReportPreview::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    if (m_fit != Fit::None)
        applyZoom();
}

void ReportPreview::printReport() {
    if (m_prepared.pages.isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (!m_report.printerName.isEmpty())
        printer.setPrinterName(m_report.printerName);
    printer.setPageLayout(PageLayoutFor(m_prepared.pages.first()));
    printer.setFromTo(1, int(m_prepared.pages.size()));
    if (!askPrinter(printer))
        return;
    PreparedReport chosen = m_prepared;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        const int from = printer.fromPage() - 1;
        const int to = qMin(printer.toPage(), int(m_prepared.pages.size()));
        chosen.pages = m_prepared.pages.mid(from, qMax(0, to - from));
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        chosen.pages = {m_prepared.pages.at(m_current)};
    }
    try {
        PrintPages(chosen, printer);
    } catch (const ReportError &error) {
        ShowInfo(error.message());
    }
}

void ReportPreview::pageSetup() {
    if (m_report.pages.isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageLayoutOf(m_report.pages.first()));
    if (!askPageSetup(printer))
        return;
    const QPageLayout chosen = printer.pageLayout();
    const QRectF paper = chosen.fullRect(QPageLayout::Millimeter);
    const QMarginsF margins = chosen.margins(QPageLayout::Millimeter);
    const Report before = m_report;
    for (ReportPage &page : m_report.pages) {
        page.paperWidth = qRound(paper.width() * 100);
        page.paperHeight = qRound(paper.height() * 100);
        page.leftMargin = qRound(margins.left() * 100);
        page.topMargin = qRound(margins.top() * 100);
        page.rightMargin = qRound(margins.right() * 100);
        page.bottomMargin = qRound(margins.bottom() * 100);
    }
    try {
        m_prepared = PrepareReport(m_report, m_dataSets, m_measurer);
    } catch (const ReportError &error) {
        m_report = before;
        ShowInfo(error.message());
        return;
    }
    showPage(m_current);
}

void ReportPreview::exportPdf() {
    QString fileName = SaveFileName(QStringLiteral("导出PDF"), QString(), QStringLiteral("PDF文件 (*.pdf)"));
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".pdf");
    try {
        WritePdf(m_prepared, fileName);
    } catch (const ReportError &error) {
        ShowInfo(error.message());
        return;
    }
    ShowInfo(QStringLiteral("导出成功！"));
}

void ReportPreview::exportImages() {
    QString fileName = SaveFileName(QStringLiteral("导出图片"), QString(),
                                    QStringLiteral("PNG图片 (*.png);;JPEG图片 (*.jpg *.jpeg)"));
    if (fileName.isEmpty())
        return;
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("jpg") && suffix != QLatin1String("jpeg"))
        fileName += QStringLiteral(".png");
    try {
        WriteImages(m_prepared, fileName, ImageDpi);
    } catch (const ReportError &error) {
        ShowInfo(error.message());
        return;
    }
    ShowInfo(QStringLiteral("导出成功！"));
}
