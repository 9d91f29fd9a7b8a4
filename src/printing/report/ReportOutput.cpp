#include "printing/report/ReportOutput.h"

#include "printing/report/ReportError.h"
#include "printing/report/ReportPainter.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace {

// Paints every page onto a paged device whose layout is already set for the first page. The
// page is drawn at its true size: the device keeps paper sizes in whole points (210 mm becomes
// 595 pt, not 595.28), and stretching the drawing onto that would move every row a little.
void paintPages(const PreparedReport &report, QPagedPaintDevice &device, QPainter &painter, int resolution) {
    for (qsizetype i = 0; i < report.pages.size(); ++i) {
        const PreparedPage &page = report.pages.at(i);
        if (i > 0) {
            device.setPageLayout(PageLayoutFor(page));
            device.newPage();
        }
        const double pixelsPerUnit = resolution / 2540.0;
        PaintPage(painter, page, QRectF(0, 0, page.width * pixelsPerUnit, page.height * pixelsPerUnit));
    }
}

} // namespace

QPageLayout PageLayoutFor(const PreparedPage &page) {
    const QPageSize size(QSizeF(page.width / 100.0, page.height / 100.0), QPageSize::Millimeter, QString(),
                         QPageSize::ExactMatch);
    QPageLayout layout(size, QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

void PrintPages(const PreparedReport &report, QPrinter &printer) {
    if (report.pages.isEmpty())
        return;
    printer.setFullPage(true);
    printer.setPageLayout(PageLayoutFor(report.pages.first()));
    QPainter painter;
    if (!painter.begin(&printer))
        throw ReportError(QStringLiteral("无法打开打印机“%1”。").arg(printer.printerName()));
    paintPages(report, printer, painter, printer.resolution());
    painter.end();
}

void WritePdf(const PreparedReport &report, const QString &fileName) {
    QPdfWriter writer(fileName);
    writer.setResolution(1200);
    writer.setCreator(QStringLiteral("Quillo"));
    if (!report.pages.isEmpty())
        writer.setPageLayout(PageLayoutFor(report.pages.first()));
    QPainter painter;
    if (!painter.begin(&writer))
        throw ReportError(QStringLiteral("无法写入文件“%1”。").arg(fileName));
    paintPages(report, writer, painter, writer.resolution());
    painter.end();
}

QImage RenderPage(const PreparedPage &page, double dpi) {
    const QSize size(qRound(page.width / 2540.0 * dpi), qRound(page.height / 2540.0 * dpi));
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintPage(painter, page, QRectF(QPointF(0, 0), size));
    painter.end();
    return image;
}

QStringList WriteImages(const PreparedReport &report, const QString &fileName, double dpi) {
    const QFileInfo info(fileName);
    QStringList written;
    for (qsizetype i = 0; i < report.pages.size(); ++i) {
        const QString name = i == 0 ? fileName
                                    : info.path() + u'/' + info.completeBaseName() + u'_' +
                                          QString::number(i + 1) +
                                          (info.suffix().isEmpty() ? QString() : u'.' + info.suffix());
        if (!RenderPage(report.pages.at(i), dpi).save(name, nullptr, 95))
            throw ReportError(QStringLiteral("无法写入文件“%1”。").arg(name));
        written.append(name);
    }
    return written;
}
