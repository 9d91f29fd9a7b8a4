#include "receipts/Ss_sale.h"

#include "data/BillNumbering.h"
#include "data/Clock.h"
#include "data/DbFailureReason.h"
#include "data/Globals.h"
#include "printing/PrintBill.h"
#include "printing/ReceiptReport.h"
#include "receipts/ReceiptEntryPanel.h"
#include "receipts/ReceiptGridModel.h"
#include "receipts/ReceiptLoad.h"
#include "receipts/ReceiptLookups.h"
#include "receipts/ReceiptSave.h"
#include "ui/ButtonAccessKeys.h"
#include "ui/ChildTabHost.h"
#include "ui/CommandGuard.h"
#include "ui/UiServices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

TForm_SS_Sale::TForm_SS_Sale(QWidget *parent)
    : TChildForm(EntryCaption, parent) {
    setObjectName(QStringLiteral("Form_SS_Sale"));
    Bill = new ReceiptEntryPanel(EntryCaption, this);

    BoxPrintStyle = new QComboBox(this);
    BoxPrintStyle->setObjectName(QStringLiteral("BoxPrintStyle"));
    BoxPrintStyle->setMaxVisibleItems(12);
    BoxPrintStyle->setMinimumWidth(140);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("..."));
    SpeedButton1->setToolTip(QStringLiteral("刷新加载项"));
    SpeedButton1->setAutoRaise(true);
    CheckBox1 = new QCheckBox(QStringLiteral("保存单据后直接打印预览"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setToolTip(QStringLiteral("请在工具->我的设置中默认设置"));
    BitBtn4 = ReceiptEntryPanel::commandButton(this, QStyle::SP_FileIcon, QStringLiteral("新单(&N)"),
                                               QStringLiteral("BitBtn4"));
    BitBtn1 = ReceiptEntryPanel::commandButton(this, QStyle::SP_DialogSaveButton,
                                               QStringLiteral("保存新增(&S)"), QStringLiteral("BitBtn1"));
    BitBtn2 = ReceiptEntryPanel::commandButton(this, QStyle::SP_FileDialogContentsView,
                                               QStringLiteral("打印预览(&O)"), QStringLiteral("BitBtn2"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = PopupMenu1->addAction(QStringLiteral("复制单据"));
    N1->setObjectName(QStringLiteral("N1"));

    auto *bar = new QHBoxLayout;
    auto *styleLabel = new QLabel(QStringLiteral("打印样式："), this);
    styleLabel->setBuddy(BoxPrintStyle);
    bar->addWidget(styleLabel);
    bar->addWidget(BoxPrintStyle);
    bar->addWidget(SpeedButton1);
    bar->addSpacing(12);
    bar->addWidget(CheckBox1);
    bar->addStretch();
    bar->addWidget(BitBtn4);
    bar->addWidget(BitBtn1);
    bar->addWidget(BitBtn2);
    Bill->layOutForm(this, bar);

    setTabOrder(Bill->Edit6, BoxPrintStyle);
    setTabOrder(BoxPrintStyle, SpeedButton1);
    setTabOrder(SpeedButton1, CheckBox1);
    setTabOrder(CheckBox1, BitBtn4);
    setTabOrder(BitBtn4, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);

    new ButtonAccessKeys(this, {BitBtn4, BitBtn1, BitBtn2});

    connect(SpeedButton1, &QToolButton::clicked, this, &TForm_SS_Sale::LoadPickLists);
    connect(BitBtn4, &QPushButton::clicked, this, &TForm_SS_Sale::BitBtn4Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm_SS_Sale::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm_SS_Sale::BitBtn2Click);
    connect(N1, &QAction::triggered, this, &TForm_SS_Sale::N1Click);
}

void TForm_SS_Sale::showEvent(QShowEvent *event) {
    TChildForm::showEvent(event);
    // Shown again whenever its tab is chosen: only the first showing starts a receipt.
    if (!m_shownOnce) {
        m_shownOnce = true;
        FormShow();
    }
}

void TForm_SS_Sale::keyPressEvent(QKeyEvent *event) {
    // The entry window stays open: Esc closes nothing here.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm_SS_Sale::FormShow() {
    LoadPickLists();
    BitBtn4Click();
}

void TForm_SS_Sale::LoadPickLists() {
    Bill->loadPickLists();
    const QSignalBlocker blocker(BoxPrintStyle);
    BoxPrintStyle->clear();
    for (const QStringList &row : ReadPickList(PickLists::PrintStyles))
        BoxPrintStyle->addItem(row.value(1), row.value(0).toInt());
    BoxPrintStyle->setCurrentIndex(BoxPrintStyle->count() > 0 ? 0 : -1);
}

void TForm_SS_Sale::BitBtn4Click() {
    RunCommand([this] { Bill->PrepareGrid(); });
    SavedSaleId = 0;
    SavedBillCode.clear();
    ReceiptDraft fresh;
    fresh.billDate = Clock::today();
    fresh.opName = OperatorName;
    fresh.skrName = OperatorName;
    // A number that cannot be worked out is reported; the box stays empty and the save tries again.
    RunCommand([&fresh] { fresh.billCode = MakeBillCode(4); });
    Bill->setHeader(fresh);
    Bill->Edit6->clear();
    BitBtn1->setEnabled(true);
    if (DefaultPrint)
        CheckBox1->setChecked(true);
    Bill->focusCompany();
}

void TForm_SS_Sale::BitBtn1Click() {
    const std::optional<ReceiptDraft> receipt = Bill->checkedDraft();
    if (!receipt)
        return;
    QString failure = QStringLiteral("保存新增失败！");
    try {
        const SavedReceipt saved = SaveNewReceipt(*receipt);
        SavedSaleId = saved.saleId;
        SavedBillCode = saved.billCode;
    } catch (const std::exception &error) {
        SavedSaleId = 0;
        failure += QStringLiteral("\r\n原因：") + FailureReason(error);
    } catch (...) {
        SavedSaleId = 0;
    }
    if (SavedSaleId < 1) {
        ShowInfo(failure);
        return;
    }
    // An emptied number box got its number from the rule: it shows what the receipt is stored under.
    Bill->Edit1->setText(SavedBillCode);
    BitBtn1->setEnabled(false);
    if (CheckBox1->isChecked())
        BitBtn2Click();
}

void TForm_SS_Sale::BitBtn2Click() {
    if (SavedSaleId == 0) {
        ShowInfo(QStringLiteral("请先保存新增后再打印预览！"));
        return;
    }
    if (BoxPrintStyle->currentIndex() < 0) {
        ShowInfo(NoPrintStyleText);
        return;
    }
    const int styleId = BoxPrintStyle->currentData().toInt();
    RunCommand([this, styleId] { PrintBill(false, SavedSaleId, SavedBillCode, styleId); });
}

void TForm_SS_Sale::N1Click() {
    BitBtn4Click();
    std::optional<ReceiptDraft> copied;
    if (!RunCommand([&copied] { copied = LoadReceipt(CopySaleId); }))
        return;
    if (!copied) {
        ShowInfo(QStringLiteral("要复制的单据不存在！"));
        return;
    }
    Bill->setHeader(*copied);
    Bill->setLines(copied->lines);
    Bill->GoToCell(1, 1);
    Bill->focusCompany();
}
