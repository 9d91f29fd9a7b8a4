#include "receipts/Ss_edit1.h"

#include "receipts/ReceiptEdit.h"
#include "receipts/ReceiptEntryPanel.h"
#include "receipts/ReceiptLoad.h"
#include "ui/CommandGuard.h"
#include "ui/UiServices.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

TForm_SS_Edit1::TForm_SS_Edit1(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form_SS_Edit1"));
    const QString caption = QStringLiteral("单据修改");
    setWindowTitle(caption);
    setMinimumSize(835, 500);
    Bill = new ReceiptEntryPanel(caption, this);

    BitBtn1 = ReceiptEntryPanel::commandButton(this, QStyle::SP_DialogSaveButton,
                                               QStringLiteral("保存修改(&S)"), QStringLiteral("BitBtn1"));
    BitBtn2 = ReceiptEntryPanel::commandButton(this, QStyle::SP_DialogCancelButton,
                                               QStringLiteral("取消(&C)"), QStringLiteral("BitBtn2"));

    auto *bar = new QHBoxLayout;
    bar->addStretch();
    bar->addWidget(BitBtn1);
    bar->addWidget(BitBtn2);
    Bill->layOutForm(this, bar);
    setTabOrder(Bill->Edit6, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);

    connect(BitBtn1, &QPushButton::clicked, this, &TForm_SS_Edit1::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    setWindowState(Qt::WindowMaximized);
}

bool TForm_SS_Edit1::loadReceipt(int saleId) {
    SaleId = saleId;
    Saved = false;
    Bill->loadPickLists();
    std::optional<ReceiptDraft> stored;
    if (!RunCommand([this, saleId, &stored] {
            Bill->PrepareGrid();
            stored = LoadReceipt(saleId);
        }))
        return false;
    if (!stored) {
        ShowInfo(QStringLiteral("要修改的单据不存在！"));
        return false;
    }
    m_stored = *stored;
    Bill->setHeader(m_stored);
    // A receipt longer than the grid gets the rows it needs: the save rewrites every line.
    Bill->setLines(m_stored.lines);
    Bill->GoToCell(1, 1);
    Bill->focusCompany();
    return true;
}

void TForm_SS_Edit1::BitBtn1Click() {
    if (Bill->Edit1->text().isEmpty()) {
        ShowInfo(QStringLiteral("单据编号不能为空！"));
        Bill->Edit1->setFocus(Qt::OtherFocusReason);
        return;
    }
    const std::optional<ReceiptDraft> edited = Bill->checkedDraft();
    if (!edited)
        return;
    try {
        SaveEditedReceipt(SaleId, m_stored, *edited);
    } catch (...) {
        // Nothing of the attempt stays; the window keeps the changes for another try.
        ShowInfo(QStringLiteral("保存失败！"));
        return;
    }
    Saved = true;
    accept();
}
