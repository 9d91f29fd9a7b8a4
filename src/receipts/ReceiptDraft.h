#pragma once

#include <QDate>
#include <QList>
#include <QString>

// One row of the line grid, by field; every cell is text as typed.
struct ReceiptLine {
    QString code;     // 编号; the row is a line of the receipt only when this is not empty
    QString name;     // 名称
    QString model;    // 规格型号
    QString unit;     // 单位
    QString quantity; // 数量
    QString price;    // 单价
    QString amount;   // 金额
    QString remark;   // 备注

    bool isLine() const { return !code.isEmpty(); }
};

// A receipt as the entry and edit forms hold it: the header boxes and the grid rows.
struct ReceiptDraft {
    QDate billDate;
    QString billCode;
    QString opName;
    QString companyName;
    QString linkman;
    QString phone;
    QString adr;
    QString zgName;
    QString kjName;
    QString skrName;
    QString skfsName;
    QString remark;
    QString total;    // 总金额 box
    QString capitals; // 大写金额 box
    // The grid rows from row 1 in order, rows without a code included (row r is lines[r - 1]).
    QList<ReceiptLine> lines;
};
