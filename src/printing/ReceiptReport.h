#pragma once

#include "printing/report/Report.h"
#include "printing/report/ReportDataSet.h"

#include <QList>
#include <QString>

// The pieces every road of a saved receipt onto a report shares: the print style's file and
// custom title, the receipt's two data sets under their Chinese field names, and the two memos
// the program fills with the company's details.

// The names under which a report file finds the receipt's header row and its lines.
inline const QString ReceiptHeaderDataSet = QStringLiteral("frxDBDataset1");
inline const QString ReceiptLineDataSet = QStringLiteral("frxDBDataset2");

struct ReceiptStyle {
    QString fileName;     // AppDir/Print/PrintFile
    QString customTitle;  // MydefineName
    bool hasFile = false; // the style row exists and its report file is there
};

// Reads the style row of pr_printcfg on ShareQuery1 (empty when there is none).
ReceiptStyle LoadReceiptStyle(int styleId);

// The header data set frxDBDataset1 (from PrintQuery1) and the line data set frxDBDataset2
// (from PrintQuery2) of one receipt; empty data sets when there is no such receipt.
QList<ReportDataSet> ReadReceiptData(int receiptId);

// Sets the memos Title (company name + custom title) and Myinfo (the contact line) where the
// report has them; the texts are never read as expressions.
void SetCompanyMemos(Report &report, const QString &customTitle);

inline const QString MissingReportFileText = QStringLiteral("报表文件不存在或丢失！");
inline const QString NoPrintStyleText =
    QStringLiteral("没有可用的打印样式，请先在工具->打印配置中增加打印样式！");
