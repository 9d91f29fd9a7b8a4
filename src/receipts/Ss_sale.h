#pragma once

#include "ui/ChildForm.h"

class QAction;
class QCheckBox;
class QComboBox;
class QMenu;
class QPushButton;
class QToolButton;
class ReceiptEntryPanel;

// "单据录入": the window in which receipts are typed, saved and printed, the first tab of the
// main window. It never closes from Esc or the tab strip.
class TForm_SS_Sale : public TChildForm {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm_SS_Sale)

public:
    explicit TForm_SS_Sale(QWidget *parent = nullptr);

    ReceiptEntryPanel *Bill; // title strip, header, line grid, barcode and totals
    QComboBox *BoxPrintStyle;
    QToolButton *SpeedButton1; // reload the pick lists
    QCheckBox *CheckBox1;      // preview right after saving
    QPushButton *BitBtn4;      // "新单(&N)"
    QPushButton *BitBtn1;      // "保存新增(&S)"
    QPushButton *BitBtn2;      // "打印预览(&O)"
    QMenu *PopupMenu1;         // shown by no control; the main window runs its "复制单据"
    QAction *N1;

    // The receipt saved from this form (0 while the shown receipt is not saved) and its number.
    int SavedSaleId = 0;
    QString SavedBillCode;

public slots:
    void FormShow();
    void LoadPickLists();
    void BitBtn4Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void N1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_shownOnce = false;
};
