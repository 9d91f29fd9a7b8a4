#include "app/Xt_userlogin.h"

#include "app/OperatorLogin.h"
#include "data/Globals.h"
#include "data/SchemaUpgrade.h"
#include "ui/ClickLabel.h"
#include "ui/CommandGuard.h"
#include "ui/EnterWalk.h"
#include "ui/PasswordBox.h"
#include "ui/UiServices.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {
// The banner across the top of the dialog.
QPixmap bannerPixmap() {
    QPixmap pixmap(380, 80);
    QPainter p(&pixmap);
    QLinearGradient gradient(0, 0, 380, 80);
    gradient.setColorAt(0, QColor(46, 92, 150));
    gradient.setColorAt(1, QColor(96, 150, 206));
    p.fillRect(pixmap.rect(), gradient);
    p.setPen(Qt::white);
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(24);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(20, 8, 340, 44), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quillo 收据打印"));
    font.setPixelSize(13);
    font.setBold(false);
    p.setFont(font);
    p.drawText(QRect(22, 48, 340, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("开收据、存收据、打收据"));
    return pixmap;
}

} // namespace

TForm_XT_UserLogin::TForm_XT_UserLogin(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("Form_XT_UserLogin"));
    setWindowTitle(QStringLiteral("系统登陆"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(bannerPixmap());

    BoxOp = new QComboBox(this);
    BoxOp->setObjectName(QStringLiteral("BoxOp"));
    BoxOp->setEditable(true);
    BoxOp->setCompleter(nullptr);
    BoxOp->setMaxVisibleItems(20);
    BoxOp->setInsertPolicy(QComboBox::NoInsert);

    MaskEdit1 = NewPasswordBox(this, QStringLiteral("MaskEdit1"));

    CheckBox1 = new QCheckBox(this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Label4 = new ClickLabel(QStringLiteral("<<记住"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setToolTip(QStringLiteral("记住登陆密码"));
    connect(Label4, &ClickLabel::clicked, CheckBox1, &QCheckBox::toggle);

    BitBtn1 =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("确定(&O)"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                              QStringLiteral("取消(&C)"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    connect(BitBtn1, &QPushButton::clicked, this, &TForm_XT_UserLogin::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm_XT_UserLogin::BitBtn2Click);

    Label5 = new ClickLabel(QStringLiteral("<a href=\"#\">使用帮助</a>"), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    connect(Label5, &ClickLabel::clicked, this,
            [] { OpenWithSystem(AppDir + QStringLiteral("/help/index.html")); });

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("姓   名："), this), 0, 0);
    fields->addWidget(BoxOp, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("密   码："), this), 1, 0);
    fields->addWidget(MaskEdit1, 1, 1);
    auto *remember = new QHBoxLayout;
    remember->setSpacing(2);
    remember->addWidget(CheckBox1);
    remember->addWidget(Label4);
    fields->addLayout(remember, 1, 2);
    fields->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Label5);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(24, 16, 24, 16);
    body->setSpacing(12);
    body->addLayout(fields);
    body->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Image1);
    layout->addLayout(body);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto *walk = new EnterWalk({BoxOp, MaskEdit1}, this);
    walk->setStep(MaskEdit1, [this] {
        BitBtn1Click();
        return true;
    });
    // Tab order: name, password, remember, OK, cancel.
    setTabOrder(BoxOp, MaskEdit1);
    setTabOrder(MaskEdit1, CheckBox1);
    setTabOrder(CheckBox1, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
}

void TForm_XT_UserLogin::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TForm_XT_UserLogin::FormShow() {
    if (LoginMode == 3) {
        setWindowTitle(QStringLiteral("离开锁定"));
        BoxOp->clear();
        BoxOp->addItem(OperatorName);
        BoxOp->setCurrentIndex(0);
        BoxOp->setEnabled(false);
        CheckBox1->hide();
        Label4->hide();
        MaskEdit1->setFocus();
        return;
    }
    RunCommand([this] {
        BoxOp->clear();
        BoxOp->addItems(LoadOperatorNames());
        const RememberedLogin remembered = ReadRememberedLogin();
        if (!remembered.name.isEmpty()) {
            BoxOp->setEditText(remembered.name);
            MaskEdit1->setText(remembered.password);
            CheckBox1->setChecked(true);
            BitBtn1->setFocus();
        } else {
            BoxOp->setEditText(QString());
            BoxOp->setFocus();
        }
    });
}

void TForm_XT_UserLogin::BitBtn1Click() {
    RunCommand([this] {
        UpgradeSchema();
        const QString name = BoxOp->currentText();
        switch (CheckLogin(name, MaskEdit1->text())) {
        case LoginCheck::EmptyName:
            ShowInfo(QStringLiteral("姓名不能为空，请重新选择！"));
            BoxOp->setFocus();
            return;
        case LoginCheck::Wrong:
            ShowInfo(QStringLiteral("姓名或密码有误，请重新输入！"));
            if (BoxOp->isEnabled())
                BoxOp->setFocus();
            else
                MaskEdit1->setFocus();
            return;
        case LoginCheck::Ok:
            break;
        }
        if (LoginMode != 3)
            RememberLogin(CheckBox1->isChecked(), name, MaskEdit1->text());
        LoginOk = true;
        m_leaving = true;
        accept();
    });
}

void TForm_XT_UserLogin::BitBtn2Click() {
    if (LoginMode == 3) {
        if (AskYesNo(QStringLiteral("是否确定退出？")))
            TerminateProgram(0);
        return;
    }
    LoginOk = false;
    m_leaving = true;
    QDialog::reject();
}

void TForm_XT_UserLogin::closeEvent(QCloseEvent *event) {
    // The window's close command is ignored: only the two buttons leave the dialog.
    if (m_leaving)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void TForm_XT_UserLogin::reject() {
    // Esc does not leave the dialog either.
}

void RunLoginDialog(int mode, QWidget *owner) {
    TForm_XT_UserLogin dialog(MainShown ? owner : nullptr);
    dialog.LoginMode = mode;
    dialog.exec();
}
