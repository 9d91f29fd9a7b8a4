// The login dialog in its three modes, the password change, and what a login loads.
#include "GuiFixture.h"
#include "ScriptedUiServices.h"
#include "TestAppDir.h"

#include "app/OperatorLogin.h"
#include "app/Xt_userchangepwd.h"
#include "app/Xt_userlogin.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/SchemaUpgrade.h"
#include "ui/ClickLabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>
#include <QToolButton>

class LoginTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void freshStartFocusesTheName();
    void rememberedLoginFillsAndFocusesOk();
    void clearedBoxForgetsTheLogin();
    void loginChecks_data();
    void loginChecks();
    void okRunsTheUpgradeFirst();
    void enterWalksFromNameToPasswordToOk();
    void cancelInModeOne();
    void onlyTheButtonsLeave();
    void lockModeKeepsTheOperator();
    void lockCancelAsksBeforeEnding();
    void administratorRule_data();
    void administratorRule();

    void passwordChange_data();
    void passwordChange();
    void passwordReset();
    void passwordBoxesShowStars_data();
    void passwordBoxesShowStars();

private:
    TForm_XT_UserLogin *showLogin(int mode);

    std::unique_ptr<TestAppDir> m_app;
    std::unique_ptr<ScriptedUiServices> m_ui;
    std::unique_ptr<TForm_XT_UserLogin> m_dialog;
};

void LoginTest::init() {
    m_app = std::make_unique<TestAppDir>();
    m_ui = std::make_unique<ScriptedUiServices>();
    // 张三 has a password; 李四 has none stored (null); 王五 has an empty one.
    TestAppDir::exec(
        "insert into aa_staff(staffid,tablecode,name,type,loginpwd,idlemin,printpreview,defaultprint)"
        "values(2,'002','张三','会计','123',5,0,-1)");
    TestAppDir::exec(
        "insert into aa_staff(staffid,tablecode,name,type,idlemin)values(3,'003','李四','主管',0)");
    TestAppDir::exec(
        "insert into aa_staff(staffid,tablecode,name,type,loginpwd)values(4,'004','王五','收款人','')");
    TestAppDir::exec(
        "insert into aa_staff(staffid,tablecode,name,type,loginpwd)values(5,'005','O''Brien','会计','x')");
}

void LoginTest::cleanup() {
    m_dialog.reset();
    m_ui.reset();
    m_app.reset();
}

TForm_XT_UserLogin *LoginTest::showLogin(int mode) {
    m_dialog = std::make_unique<TForm_XT_UserLogin>();
    m_dialog->LoginMode = mode;
    m_dialog->show();
    return m_dialog.get();
}

void LoginTest::freshStartFocusesTheName() {
    TForm_XT_UserLogin *d = showLogin(1);
    QCOMPARE(d->windowTitle(), QString("系统登陆"));
    QCOMPARE(d->BoxOp->count(), 6);
    QCOMPARE(d->BoxOp->itemText(0), QString());
    QVERIFY(d->BoxOp->currentText().isEmpty());
    QVERIFY(!d->CheckBox1->isChecked());
    QCOMPARE(d->focusWidget(), d->BoxOp);
}

void LoginTest::rememberedLoginFillsAndFocusesOk() {
    TestAppDir::exec("update xt_userloginpwd set name='张三',pwd='123'");
    TForm_XT_UserLogin *d = showLogin(1);
    QCOMPARE(d->BoxOp->currentText(), QString("张三"));
    QCOMPARE(d->MaskEdit1->text(), QString("123"));
    QVERIFY(d->CheckBox1->isChecked());
    QCOMPARE(d->focusWidget(), d->BitBtn1);
    // Enter on the focused OK button logs in at once.
    QTest::keyClick(d->BitBtn1, Qt::Key_Return);
    QVERIFY(LoginOk);
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QCOMPARE(OperatorName, QString("张三"));
    QCOMPARE(OperatorType, QString("会计"));
    QCOMPARE(IdleMinutes, 5);
    QVERIFY(!PrintPreview);
    QVERIFY(DefaultPrint);
    QCOMPARE(TestAppDir::rows("select name,pwd from xt_userloginpwd"), QString("张三|123"));
    QVERIFY(m_ui->shown().isEmpty());
}

void LoginTest::clearedBoxForgetsTheLogin() {
    TestAppDir::exec("update xt_userloginpwd set name='张三',pwd='123'");
    TForm_XT_UserLogin *d = showLogin(1);
    // The label toggles the box as a click on the box would.
    QTest::mouseClick(d->Label4, Qt::LeftButton);
    QVERIFY(!d->CheckBox1->isChecked());
    d->BitBtn1->click();
    QVERIFY(LoginOk);
    QCOMPARE(TestAppDir::rows("select name,pwd from xt_userloginpwd"), QString("|"));
}

void LoginTest::loginChecks_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message"); // empty: logged in
    QTest::newRow("empty name") << ""
                                << "123"
                                << "姓名不能为空，请重新选择！";
    QTest::newRow("wrong password") << "张三"
                                    << "124"
                                    << "姓名或密码有误，请重新输入！";
    QTest::newRow("unknown name") << "赵六"
                                  << ""
                                  << "姓名或密码有误，请重新输入！";
    QTest::newRow("right password") << "张三"
                                    << "123"
                                    << "";
    QTest::newRow("no stored password: any one") << "李四"
                                                 << "whatever"
                                                 << "";
    QTest::newRow("no stored password: empty one") << "李四"
                                                   << ""
                                                   << "";
    QTest::newRow("empty stored password: empty one") << "王五"
                                                      << ""
                                                      << "";
    QTest::newRow("empty stored password: another") << "王五"
                                                    << "1"
                                                    << "姓名或密码有误，请重新输入！";
    QTest::newRow("quote in the name") << "O'Brien"
                                       << "x"
                                       << "";
    QTest::newRow("quote in the password") << "张三"
                                           << "' or '1'='1"
                                           << "姓名或密码有误，请重新输入！";
}

void LoginTest::loginChecks() {
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, message);
    TForm_XT_UserLogin *d = showLogin(1);
    d->BoxOp->setEditText(name);
    d->MaskEdit1->setText(password);
    d->BitBtn1->click();
    if (message.isEmpty()) {
        QVERIFY(m_ui->shown().isEmpty());
        QVERIFY(LoginOk);
        QCOMPARE(OperatorName, name);
        QVERIFY(!d->isVisible());
    } else {
        QCOMPARE(m_ui->texts(), QStringList{message});
        QCOMPARE(m_ui->shown()[0].caption, QString("提示"));
        QVERIFY(!LoginOk);
        QVERIFY(d->isVisible());
        QCOMPARE(d->focusWidget(), d->BoxOp);
    }
}

void LoginTest::okRunsTheUpgradeFirst() {
    QVERIFY_THROWS_EXCEPTION(DbError, TestAppDir::rows("select count(*) from g_config"));
    TForm_XT_UserLogin *d = showLogin(1);
    d->BitBtn1->click(); // an empty name: refused, but only after the upgrade
    QCOMPARE(m_ui->texts(), QStringList{"姓名不能为空，请重新选择！"});
    QCOMPARE(TestAppDir::value("select count(*) from g_config"), QString("9"));
}

void LoginTest::enterWalksFromNameToPasswordToOk() {
    TForm_XT_UserLogin *d = showLogin(1);
    d->activateWindow();
    QWidget *nameEdit = d->BoxOp->lineEdit();
    GuiFixture::type(nameEdit, "张三");
    QTest::keyClick(nameEdit, Qt::Key_Return);
    QCOMPARE(d->focusWidget(), d->MaskEdit1);
    QTest::keyClicks(d->MaskEdit1, "123");
    QTest::keyClick(d->MaskEdit1, Qt::Key_Return);
    QVERIFY(LoginOk);
    QCOMPARE(OperatorName, QString("张三"));
}

void LoginTest::cancelInModeOne() {
    LoginOk = true;
    TForm_XT_UserLogin *d = showLogin(1);
    d->BitBtn2->click();
    QVERIFY(!LoginOk);
    QCOMPARE(d->result(), int(QDialog::Rejected));
    QVERIFY(!d->isVisible());
}

void LoginTest::onlyTheButtonsLeave() {
    TForm_XT_UserLogin *d = showLogin(1);
    QTest::keyClick(d->BoxOp, Qt::Key_Escape);
    QVERIFY(d->isVisible());
    QVERIFY(!d->close());
    QVERIFY(d->isVisible());
}

void LoginTest::lockModeKeepsTheOperator() {
    QCOMPARE(CheckLogin("张三", "123"), LoginCheck::Ok);
    TestAppDir::exec("update xt_userloginpwd set name='李四',pwd=''");
    TForm_XT_UserLogin *d = showLogin(3);
    QCOMPARE(d->windowTitle(), QString("离开锁定"));
    QCOMPARE(d->BoxOp->count(), 1);
    QCOMPARE(d->BoxOp->currentText(), QString("张三"));
    QVERIFY(!d->BoxOp->isEnabled());
    QVERIFY(d->CheckBox1->isHidden());
    QVERIFY(d->Label4->isHidden());
    QCOMPARE(d->focusWidget(), d->MaskEdit1);

    d->MaskEdit1->setText("999");
    d->BitBtn1->click();
    QCOMPARE(m_ui->texts(), QStringList{"姓名或密码有误，请重新输入！"});
    QVERIFY(d->isVisible());
    QCOMPARE(d->focusWidget(), d->MaskEdit1);

    d->MaskEdit1->setText("123");
    d->BitBtn1->click();
    QVERIFY(LoginOk);
    QVERIFY(!d->isVisible());
    // The lock never touches the remembered login.
    QCOMPARE(TestAppDir::rows("select name,pwd from xt_userloginpwd"), QString("李四|"));
}

void LoginTest::lockCancelAsksBeforeEnding() {
    QCOMPARE(CheckLogin("张三", "123"), LoginCheck::Ok);
    TForm_XT_UserLogin *d = showLogin(3);
    m_ui->answer(UiServices::Answer::No);
    d->BitBtn2->click();
    QVERIFY(d->isVisible());
    QCOMPARE(m_ui->terminatedWith(), -1);
    QCOMPARE(m_ui->shown().last().text, QString("是否确定退出？"));
    QCOMPARE(m_ui->shown().last().caption, QString("询问"));

    m_ui->answer(UiServices::Answer::Yes);
    d->BitBtn2->click();
    QCOMPARE(m_ui->terminatedWith(), 0);
}

void LoginTest::administratorRule_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("administrator");
    QTest::newRow("administrator") << "管理员" << true;
    QTest::newRow("among other roles") << "会计,管理员,主管" << true;
    QTest::newRow("supervisor") << "主管" << false;
    QTest::newRow("empty") << "" << false;
}

void LoginTest::administratorRule() {
    QFETCH(QString, type);
    QFETCH(bool, administrator);
    OperatorType = type;
    QCOMPARE(IsAdministrator(), administrator);
}

void LoginTest::passwordChange_data() {
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("repeated");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored"); // both rows named 张三 afterwards
    const QString fifty(50, 'a');
    QTest::newRow("mismatch") << "123"
                              << "abc"
                              << "abd"
                              << "两次新密码不一致，请重新输入！"
                              << "123|123";
    QTest::newRow("51 characters") << "123" << fifty + "b" << fifty + "b"
                                   << "新密码内容太长，请重新输入！"
                                   << "123|123";
    QTest::newRow("wrong old") << "000"
                               << "abc"
                               << "abc"
                               << "旧密码错误！"
                               << "123|123";
    QTest::newRow("50 characters") << "123" << fifty << fifty << "修改密码成功！" << fifty + "|" + fifty;
    QTest::newRow("quote") << "123"
                           << "a'b"
                           << "a'b"
                           << "修改密码成功！"
                           << "a'b|a'b";
}

void LoginTest::passwordChange() {
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(QString, repeated);
    QFETCH(QString, message);
    QFETCH(QString, stored);
    TestAppDir::exec("insert into aa_staff(staffid,name,type,loginpwd)values(6,'张三','主管','123')");
    QCOMPARE(CheckLogin("张三", "123"), LoginCheck::Ok);
    TForm_XT_UserChangePWD form;
    form.show();
    QCOMPARE(form.ComboBox1->text(), QString("张三"));
    QVERIFY(form.ComboBox1->isReadOnly());
    form.MaskEdit1->setText(oldPassword);
    form.MaskEdit2->setText(newPassword);
    form.MaskEdit3->setText(repeated);
    form.BitBtn1->click();
    QCOMPARE(m_ui->texts(), QStringList{message});
    QCOMPARE(TestAppDir::rows("select loginpwd from aa_staff where name='张三' order by staffid"),
             stored.replace('|', ';'));
    QCOMPARE(form.isVisible(), message != "修改密码成功！");
}

void LoginTest::passwordReset() {
    QCOMPARE(CheckLogin("张三", "123"), LoginCheck::Ok);
    TForm_XT_UserChangePWD form;
    form.show();
    m_ui->answer(UiServices::Answer::No);
    form.SpeedButton1->click();
    QCOMPARE(TestAppDir::value("select loginpwd from aa_staff where staffid=2"), QString("123"));
    m_ui->answer(UiServices::Answer::Yes);
    form.SpeedButton1->click();
    QCOMPARE(m_ui->texts(),
             QStringList({"是否确定重置登陆密码为空？", "是否确定重置登陆密码为空？", "重置密码成功！"}));
    QCOMPARE(TestAppDir::value("select loginpwd from aa_staff where staffid=2"), QString());
    QVERIFY(form.isVisible());
}

void LoginTest::passwordBoxesShowStars_data() {
    QTest::addColumn<bool>("login");
    QTest::addColumn<QString>("box");
    QTest::newRow("login") << true << "MaskEdit1";
    QTest::newRow("old password") << false << "MaskEdit1";
    QTest::newRow("new password") << false << "MaskEdit2";
    QTest::newRow("repeated") << false << "MaskEdit3";
}

void LoginTest::passwordBoxesShowStars() {
    QFETCH(bool, login);
    QFETCH(QString, box);
    TForm_XT_UserChangePWD change;
    QDialog *dialog = login ? static_cast<QDialog *>(showLogin(1)) : &change;
    dialog->show();
    auto *edit = GuiFixture::find<QLineEdit>(dialog, box);
    QVERIFY(edit);
    edit->setFocus();
    GuiFixture::type(edit, "a1 中");
    QCOMPARE(edit->text(), QString("a1 中"));
    // What the operator sees: one "*" for every character.
    QCOMPARE(edit->displayText(), QString("****"));
    QStyleOptionFrame option;
    option.initFrom(edit);
    QCOMPARE(edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, &option, edit), int('*'));
}

QTEST_MAIN(LoginTest)
#include "LoginTest.moc"
