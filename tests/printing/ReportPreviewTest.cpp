// The preview window driven through its controls: pages, zoom, printing, page setup, export.
#include "ReceiptSamples.h"
#include "ScriptedUiServices.h"

#include "printing/ReportPreview.h"
#include "printing/report/FontSubstitutions.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QScrollArea>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

class ReportPreviewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void pagesAreStepped();
    void zoomStartsAtTheReportsZoom();
    void zoomFitsWidthAndPage();
    void printsThroughTheChosenPrinter();
    void pageSetupLaysTheReportOutAgain();
    void exportsPdfAndImages();
    void escapeCloses();

private:
    static std::unique_ptr<ReportPreview> open(int lines) {
        auto preview =
            std::make_unique<ReportPreview>(ReceiptSamples::loadTemplate(), ReceiptSamples::dataSets(lines));
        preview->show();
        if (!QTest::qWaitForWindowExposed(preview.get()))
            qWarning("preview not exposed");
        return preview;
    }
    template <typename T> static T *control(ReportPreview *preview, const char *name) {
        T *widget = preview->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    static QWidget *pageView(ReportPreview *preview) { return control<QWidget>(preview, "PageView"); }
};

void ReportPreviewTest::initTestCase() {
    InstallFontSubstitutions();
}

void ReportPreviewTest::pagesAreStepped() {
    auto preview = open(9);
    auto *box = control<QSpinBox>(preview.get(), "PageBox");
    QCOMPARE(preview->prepared().pages.size(), 3);
    QCOMPARE(box->minimum(), 1);
    QCOMPARE(box->maximum(), 3);
    QCOMPARE(box->value(), 1);
    QCOMPARE(control<QLabel>(preview.get(), "PageCountLabel")->text(), QString("/ 3"));
    QVERIFY(!control<QToolButton>(preview.get(), "PriorButton")->isEnabled());

    QTest::keyClick(preview.get(), Qt::Key_PageDown);
    QCOMPARE(preview->currentPage(), 1);
    QCOMPARE(box->value(), 2);
    QTest::mouseClick(control<QToolButton>(preview.get(), "NextButton"), Qt::LeftButton);
    QCOMPARE(preview->currentPage(), 2);
    QVERIFY(!control<QToolButton>(preview.get(), "NextButton")->isEnabled());
    QTest::keyClick(preview.get(), Qt::Key_PageDown); // stays on the last page
    QCOMPARE(preview->currentPage(), 2);
    QTest::keyClick(preview.get(), Qt::Key_PageUp);
    QCOMPARE(preview->currentPage(), 1);
    QTest::mouseClick(control<QToolButton>(preview.get(), "FirstButton"), Qt::LeftButton);
    QCOMPARE(preview->currentPage(), 0);
    box->setValue(3);
    QCOMPARE(preview->currentPage(), 2);
    QTest::mouseClick(control<QToolButton>(preview.get(), "FirstButton"), Qt::LeftButton);
    QTest::mouseClick(control<QToolButton>(preview.get(), "LastButton"), Qt::LeftButton);
    QCOMPARE(box->value(), 3);
}

void ReportPreviewTest::zoomStartsAtTheReportsZoom() {
    auto preview = open(1);
    auto *zoom = control<QComboBox>(preview.get(), "ZoomBox");
    QCOMPARE(zoom->currentText(), QString("100%"));
    QCOMPARE(preview->zoom(), 1.0);
    const int full = qRound(21000 * preview->logicalDpiX() / 2540.0);
    QCOMPARE(pageView(preview.get())->width(), full);

    zoom->lineEdit()->selectAll();
    QTest::keyClicks(zoom->lineEdit(), "150");
    QTest::keyClick(zoom->lineEdit(), Qt::Key_Return);
    QCOMPARE(preview->zoom(), 1.5);
    QCOMPARE(zoom->currentText(), QString("150%"));
    QCOMPARE(pageView(preview.get())->width(), qRound(21000 * 1.5 * preview->logicalDpiX() / 2540.0));

    zoom->lineEdit()->selectAll();
    QTest::keyClicks(zoom->lineEdit(), "abc"); // not a zoom: the last one stays
    QTest::keyClick(zoom->lineEdit(), Qt::Key_Return);
    QCOMPARE(preview->zoom(), 1.5);
    QCOMPARE(zoom->currentText(), QString("150%"));
}

void ReportPreviewTest::zoomFitsWidthAndPage() {
    auto preview = open(1);
    auto *zoom = control<QComboBox>(preview.get(), "ZoomBox");
    const QSize room = control<QScrollArea>(preview.get(), "ScrollArea")->viewport()->size();
    zoom->textActivated(QStringLiteral("页宽"));
    QVERIFY(qAbs(pageView(preview.get())->width() - (room.width() - 24)) <= 1);
    zoom->textActivated(QStringLiteral("整页"));
    const QSize page = pageView(preview.get())->size();
    QVERIFY(page.width() <= room.width() - 23 && page.height() <= room.height() - 23);
    QVERIFY(qAbs(page.width() - (room.width() - 24)) <= 1 || qAbs(page.height() - (room.height() - 24)) <= 1);
}

void ReportPreviewTest::printsThroughTheChosenPrinter() {
    QTemporaryDir dir;
    auto preview = open(9);
    int asked = 0;
    preview->askPrinter = [&](QPrinter &printer) {
        ++asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("printed.pdf"));
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        return asked == 1; // the second time the user cancels
    };
    QTest::keyClick(preview.get(), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(asked, 1);
    QFile printed(dir.filePath("printed.pdf"));
    QVERIFY(printed.open(QIODevice::ReadOnly));
    QCOMPARE(printed.readAll().count("/MediaBox"), 2); // pages 2 and 3
    printed.close();
    QFile::remove(dir.filePath("printed.pdf"));
    QTest::mouseClick(control<QToolButton>(preview.get(), "PrintButton"), Qt::LeftButton);
    QCOMPARE(asked, 2);
    QVERIFY(!QFile::exists(dir.filePath("printed.pdf")));
}

void ReportPreviewTest::pageSetupLaysTheReportOutAgain() {
    auto preview = open(9);
    QPageLayout offered;
    preview->askPageSetup = [&](QPrinter &printer) {
        offered = printer.pageLayout();
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(20, 15, 20, 15), QPageLayout::Millimeter));
        return true;
    };
    QTest::mouseClick(control<QToolButton>(preview.get(), "PageSetupButton"), Qt::LeftButton);
    QCOMPARE(offered.fullRect(QPageLayout::Millimeter).size().toSize(), QSize(210, 100));
    QCOMPARE(offered.margins(QPageLayout::Millimeter).toMargins(), QMargins(10, 10, 10, 10));
    const PreparedReport &prepared = preview->prepared();
    QCOMPARE(prepared.pages.size(), 3); // still four rows to a page
    QCOMPARE(prepared.pages.first().height, 29700);
    QCOMPARE(prepared.pages.first().bands.first().rect.top, 1500);
    QCOMPARE(prepared.pages.first().bands.first().rect.width, 17000);
}

void ReportPreviewTest::exportsPdfAndImages() {
    QTemporaryDir dir;
    ScriptedUiServices ui;
    auto preview = open(9);
    ui.answerFileName(dir.filePath("收据"));
    QTest::mouseClick(control<QToolButton>(preview.get(), "ExportPdfButton"), Qt::LeftButton);
    QVERIFY(QFile::exists(dir.filePath("收据.pdf")));
    QCOMPARE(ui.lastText(), QString("导出成功！"));

    ui.clear();
    ui.answerFileName(dir.filePath("收据.jpg"));
    QTest::mouseClick(control<QToolButton>(preview.get(), "ExportImageButton"), Qt::LeftButton);
    for (const char *name : {"收据.jpg", "收据_2.jpg", "收据_3.jpg"})
        QVERIFY2(!QImage(dir.filePath(QString::fromUtf8(name))).isNull(), name);
    QCOMPARE(ui.lastText(), QString("导出成功！"));

    ui.clear();
    ui.answerFileName(QString()); // cancelled
    QTest::mouseClick(control<QToolButton>(preview.get(), "ExportPdfButton"), Qt::LeftButton);
    QCOMPARE(ui.texts(), QStringList({QString()}));

    ui.clear();
    ui.answerFileName("/nonexistent/folder/收据.pdf");
    QTest::mouseClick(control<QToolButton>(preview.get(), "ExportPdfButton"), Qt::LeftButton);
    QVERIFY(ui.lastText().startsWith("无法写入文件"));
}

void ReportPreviewTest::escapeCloses() {
    auto preview = open(1);
    QTest::keyClick(preview.get(), Qt::Key_Escape);
    QVERIFY(!preview->isVisible());
    QCOMPARE(preview->result(), int(QDialog::Rejected));
}

QTEST_MAIN(ReportPreviewTest)
#include "ReportPreviewTest.moc"
