#include "app/Xt_userchangepwd.h"

#include "app/OperatorLogin.h"
#include "data/Globals.h"
#include "ui/CommandGuard.h"
#include "ui/PasswordBox.h"
#include "ui/UiServices.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

TForm_XT_UserChangePWD::TForm_XT_UserChangePWD(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("Form_XT_UserChangePWD"));
    setWindowTitle(QStringLiteral("更改登陆密码"));

    ComboBox1 = new QLineEdit(OperatorName, this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setReadOnly(true);
    MaskEdit1 = NewPasswordBox(this, QStringLiteral("MaskEdit1"));
    MaskEdit2 = NewPasswordBox(this, QStringLiteral("MaskEdit2"));
    MaskEdit3 = NewPasswordBox(this, QStringLiteral("MaskEdit3"));

    BitBtn1 =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("保存(&S)"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("退出(&C)"),
                              this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("重置密码为空"));
    SpeedButton1->setAutoRaise(true);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm_XT_UserChangePWD::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm_XT_UserChangePWD::SpeedButton1Click);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("姓名："), ComboBox1);
    form->addRow(QStringLiteral("旧密码："), MaskEdit1);
    form->addRow(QStringLiteral("新密码："), MaskEdit2);
    form->addRow(QStringLiteral("重复新密码："), MaskEdit3);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(SpeedButton1);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    BitBtn1->setDefault(false);
    BitBtn1->setAutoDefault(false);
    BitBtn2->setAutoDefault(false);
    MaskEdit1->setFocus();
}

void TForm_XT_UserChangePWD::BitBtn1Click() {
    RunCommand([this] {
        switch (ChangePassword(MaskEdit1->text(), MaskEdit2->text(), MaskEdit3->text())) {
        case PasswordChange::Mismatch:
            ShowInfo(QStringLiteral("两次新密码不一致，请重新输入！"));
            MaskEdit2->setFocus();
            break;
        case PasswordChange::TooLong:
            ShowInfo(QStringLiteral("新密码内容太长，请重新输入！"));
            MaskEdit2->setFocus();
            break;
        case PasswordChange::WrongOld:
            ShowInfo(QStringLiteral("旧密码错误！"));
            MaskEdit1->setFocus();
            break;
        case PasswordChange::Failed:
            ShowInfo(QStringLiteral("修改密码失败！"));
            break;
        case PasswordChange::Done:
            ShowInfo(QStringLiteral("修改密码成功！"));
            accept();
            break;
        }
    });
}

void TForm_XT_UserChangePWD::SpeedButton1Click() {
    if (!AskYesNo(QStringLiteral("是否确定重置登陆密码为空？")))
        return;
    ShowInfo(ResetPassword() ? QStringLiteral("重置密码成功！") : QStringLiteral("重置密码失败！"));
}
