#pragma once

#include "receipts/ReceiptDraft.h"

#include <QDialog>

class QPushButton;
class ReceiptEntryPanel;

// "单据修改": changes a stored receipt. The entry window's header, lookups and grid, in a modal
// window opened maximized; saving rewrites the changed header fields and all lines. Esc and
// "取消(&C)" close it without saving.
class TForm_SS_Edit1 : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm_SS_Edit1)

public:
    explicit TForm_SS_Edit1(QWidget *parent = nullptr);

    // Loads the pick lists and the receipt with this key. False, after telling the user, when
    // the receipt cannot be loaded. exec() then returns Accepted after a successful save.
    bool loadReceipt(int saleId);

    ReceiptEntryPanel *Bill; // title strip, header, line grid, barcode and totals
    QPushButton *BitBtn1;    // "保存修改(&S)"
    QPushButton *BitBtn2;    // "取消(&C)"

    int SaleId = 0;     // the receipt being changed
    bool Saved = false; // the save succeeded

public slots:
    void BitBtn1Click();

private:
    ReceiptDraft m_stored; // the receipt as loaded: the save compares against it
};
