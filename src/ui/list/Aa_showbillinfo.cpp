#include "ui/list/Aa_showbillinfo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TForm_AA_ShowBillInfo::TForm_AA_ShowBillInfo(const QString &failureText, QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("Form_AA_ShowBillInfo"));
    setWindowTitle(QStringLiteral("提示"));
    Label1 = new QLabel(QStringLiteral("以下为"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("失败"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    QPalette red = Label2->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label2->setPalette(red);
    Label3 = new QLabel(QStringLiteral("的记录："), this);
    Label3->setObjectName(QStringLiteral("Label3"));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The lines end in "\r\n"; the text box wants plain line feeds.
    QString text = failureText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Memo1->setPlainText(text);

    BitBtn1 = new QPushButton(QStringLiteral("退出(&C)"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);

    auto *heading = new QHBoxLayout;
    heading->setSpacing(0);
    heading->addWidget(Label1);
    heading->addWidget(Label2);
    heading->addWidget(Label3);
    heading->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(Memo1);
    layout->addLayout(buttons);
    resize(420, 320);
    BitBtn1->setFocus();
}

void ShowBillInfo(const QString &failureText, QWidget *parent) {
    TForm_AA_ShowBillInfo window(failureText, parent);
    window.exec();
}
