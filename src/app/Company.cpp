#include "app/Company.h"

#include "app/CompanyInfo.h"
#include "ui/CommandGuard.h"
#include "ui/EnterWalk.h"
#include "ui/ServiceWindowLook.h"
#include "ui/UiServices.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

QLineEdit *LineEdit(QWidget *parent, const char *name, int maxLength) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    return edit;
}

QLabel *FieldLabel(QWidget *parent, const char *name, const QString &text, QWidget *buddy) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

TFrm_Company::TFrm_Company(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("Frm_Company"));
    setWindowTitle(QStringLiteral("公司信息"));

    Edit3 = LineEdit(this, "Edit3", 200);
    Edit1 = LineEdit(this, "Edit1", 50);
    Edit2 = LineEdit(this, "Edit2", 100);
    Edit4 = LineEdit(this, "Edit4", 50);
    Edit5 = LineEdit(this, "Edit5", 10);
    Edit6 = LineEdit(this, "Edit6", 100);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(true);
    Memo1->setFixedHeight(110);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TFrm_Company::limitMemo);

    Label3 = FieldLabel(this, "Label3", QStringLiteral("公司名称："), Edit3);
    QPalette red = Label3->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label3->setPalette(red);

    BitBtn2 =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("保存(&S)"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("退出(&C)"),
                              this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    // Enter in the fields moves on; it never presses a button by default.
    BitBtn2->setAutoDefault(false);
    BitBtn1->setAutoDefault(false);
    connect(BitBtn2, &QPushButton::clicked, this, &TFrm_Company::BitBtn2Click);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(10);
    grid->addWidget(Label3, 0, 0);
    grid->addWidget(Edit3, 0, 1, 1, 3);
    grid->addWidget(FieldLabel(this, "Label1", QStringLiteral("联系人："), Edit1), 1, 0);
    grid->addWidget(Edit1, 1, 1);
    grid->addWidget(FieldLabel(this, "Label2", QStringLiteral("联系电话："), Edit2), 1, 2);
    grid->addWidget(Edit2, 1, 3);
    grid->addWidget(FieldLabel(this, "Label4", QStringLiteral("传真："), Edit4), 2, 0);
    grid->addWidget(Edit4, 2, 1);
    grid->addWidget(FieldLabel(this, "Label5", QStringLiteral("邮编："), Edit5), 2, 2);
    grid->addWidget(Edit5, 2, 3);
    grid->addWidget(FieldLabel(this, "Label6", QStringLiteral("地址："), Edit6), 3, 0);
    grid->addWidget(Edit6, 3, 1, 1, 3);
    QLabel *memoLabel = FieldLabel(this, "Label7", QStringLiteral("公司简介："), Memo1);
    memoLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(memoLabel, 4, 0);
    grid->addWidget(Memo1, 4, 1, 1, 3);
    grid->setColumnMinimumWidth(1, 160);
    grid->setColumnMinimumWidth(3, 160);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 16);
    layout->setSpacing(16);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    new EnterWalk({Edit3, Edit1, Edit2, Edit4, Edit5, Edit6, Memo1}, this);
    setTabOrder(Edit3, Edit1);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit4);
    setTabOrder(Edit4, Edit5);
    setTabOrder(Edit5, Edit6);
    setTabOrder(Edit6, Memo1);
    setTabOrder(Memo1, BitBtn2);
    setTabOrder(BitBtn2, BitBtn1);
}

void TFrm_Company::makeFirstRunPrompt() {
    setWindowTitle(QStringLiteral("请填写您的公司或个人信息"));
    BitBtn1->setText(QStringLiteral("下次再说(&C)"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    m_firstRun = true;
}

void TFrm_Company::closeEvent(QCloseEvent *event) {
    // Without a system menu there is no close command; a window manager that offers one
    // anyway is not obeyed.
    if (m_firstRun)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void TFrm_Company::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    // Centred on the desktop, whoever owns the form.
    CentreOnScreen(this);
    FormShow();
}

void TFrm_Company::FormShow() {
    RunCommand([this] { fill(ReadCompanyInfo()); });
    Edit3->setFocus();
}

void TFrm_Company::fill(const CompanyInfo &info) {
    Edit3->setText(info.name);
    Edit1->setText(info.contact);
    Edit2->setText(info.phone);
    Edit4->setText(info.fax);
    Edit5->setText(info.zip);
    Edit6->setText(info.address);
    Memo1->setPlainText(info.remark);
}

void TFrm_Company::limitMemo() {
    // Like the one-line fields' maximum length: what was just typed or pasted beyond it is
    // dropped (the cursor stands at its end).
    const int excess = Memo1->document()->characterCount() - 1 - Memo1MaxLength;
    if (excess <= 0)
        return;
    QTextCursor cursor = Memo1->textCursor();
    const int end = cursor.position() >= excess ? cursor.position() : Memo1->document()->characterCount() - 1;
    cursor.setPosition(end - excess);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

void TFrm_Company::BitBtn2Click() {
    const QString name = Edit3->text();
    if (name.trimmed().isEmpty()) {
        ShowInfo(QStringLiteral("公司名称不能为空，请重新输入！"));
        Edit3->setFocus();
        return;
    }
    if (name.contains(QStringLiteral("Quillo"))) {
        ShowInfo(QStringLiteral("请正确填写您的公司或个人信息！"));
        Edit3->setFocus();
        return;
    }
    const CompanyInfo info{name,          Edit1->text(), Edit2->text(),       Edit4->text(),
                           Edit5->text(), Edit6->text(), Memo1->toPlainText()};
    if (!RunCommand([&info] { SaveCompanyInfo(info); }))
        return; // the error has been shown; the form stays open
    if (m_showSavedMessage)
        ShowInfo(QStringLiteral("保存成功！"));
    m_saved = true;
    accept();
}
