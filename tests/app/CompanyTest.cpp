// Company information: the record in xt_userinfo, the loader of the company values, the
// first-run test of start-up, and the company form driven through its widgets.
#include "ScriptedUiServices.h"
#include "TestAppDir.h"

#include "app/Company.h"
#include "app/CompanyInfo.h"
#include "data/Globals.h"
#include "data/Sharedm2.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

const QString Columns = QStringLiteral("username,linkman,phone,fax,zip,adr,remark");
const QString DefaultRow = QStringLiteral("Quillo收据打印软件用户||||||");

QString NewestRow() {
    return TestAppDir::rows("select top 1 " + Columns + " from xt_userinfo order by userinfoid desc");
}

QStringList ShownTexts(const ScriptedUiServices &ui, UiServices::Kind kind) {
    QStringList texts;
    for (const ScriptedUiServices::Shown &s : ui.shown())
        if (s.kind == kind)
            texts.append(s.text);
    return texts;
}

// Types text into a widget one character at a time, as key events carrying the character
// (QTest::keyClicks takes Latin-1 only).
void Type(QWidget *widget, const QString &text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class CompanyTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loaderFillsTheCompanyValues();
    void loaderOnAnEmptyTable();
    void firstRunPromptDue_data();
    void firstRunPromptDue();

    void formLayout();
    void formShowsTheNewestRow();
    void enterMovesToTheNextField();
    void memoKeepsItsMaximumLength();
    void refusedNames_data();
    void refusedNames();
    void saveEditsTheNewestRow_data();
    void saveEditsTheNewestRow();
    void saveIntoAnEmptyTableAddsTheFirstRow();
    void closingDoesNotSave_data();
    void closingDoesNotSave();
    void firstRunVariant();
    void databaseErrorKeepsTheFormOpen();

private:
    std::unique_ptr<TestAppDir> m_app;
    std::unique_ptr<ScriptedUiServices> m_ui;
};

void CompanyTest::init() {
    m_app = std::make_unique<TestAppDir>();
    QVERIFY(m_app->isValid());
    m_ui = std::make_unique<ScriptedUiServices>();
}

void CompanyTest::cleanup() {
    m_ui.reset();
    m_app.reset();
}

void CompanyTest::loaderFillsTheCompanyValues() {
    TestAppDir::exec("insert into xt_userinfo(" + Columns +
                     ") values('新星商行','王五','010-1','010-2','100080','北京路1号','简介')");
    LoadCompanyInfo();
    QCOMPARE(CompanyName, QString("新星商行"));
    QCOMPARE(CompanyContact, QString("王五"));
    QCOMPARE(CompanyPhone, QString("010-1"));
    QCOMPARE(CompanyFax, QString("010-2"));
    QCOMPARE(CompanyZip, QString("100080"));
    QCOMPARE(CompanyAddress, QString("北京路1号"));
}

void CompanyTest::loaderOnAnEmptyTable() {
    TestAppDir::exec("delete from xt_userinfo");
    CompanyName = CompanyContact = CompanyPhone = CompanyFax = CompanyZip = CompanyAddress = "旧值";
    LoadCompanyInfo();
    for (const QString *value :
         {&CompanyName, &CompanyContact, &CompanyPhone, &CompanyFax, &CompanyZip, &CompanyAddress})
        QCOMPARE(*value, QString());
}

void CompanyTest::firstRunPromptDue_data() {
    QTest::addColumn<QString>("operatorType");
    QTest::addColumn<QStringList>("names"); // rows added after deleting the seed row, oldest first
    QTest::addColumn<bool>("due");

    const QStringList seed{"Quillo收据打印软件用户"};
    QTest::newRow("administrator, default name") << "管理员" << seed << true;
    QTest::newRow("administrator among other roles") << "会计,管理员" << seed << true;
    QTest::newRow("accountant, default name") << "会计" << seed << false;
    QTest::newRow("no operator type") << "" << seed << false;
    QTest::newRow("the single word") << "管理员" << QStringList{"Quillo"} << true;
    QTest::newRow("the word inside a name") << "管理员" << QStringList{"新Quillo商行"} << true;
    QTest::newRow("own name") << "管理员" << QStringList{"新星商行"} << false;
    QTest::newRow("newest row decides: own") << "管理员" << QStringList{"Quillo", "新星商行"} << false;
    QTest::newRow("newest row decides: default") << "管理员" << QStringList{"新星商行", "Quillo"} << true;
    QTest::newRow("empty table") << "管理员" << QStringList{} << false;
}

void CompanyTest::firstRunPromptDue() {
    QFETCH(QString, operatorType);
    QFETCH(QStringList, names);
    QFETCH(bool, due);

    TestAppDir::exec("delete from xt_userinfo");
    for (const QString &name : names)
        TestAppDir::exec("insert into xt_userinfo(username) values('" + name + "')");
    OperatorType = operatorType;
    QCOMPARE(FirstRunPromptDue(), due);
    // The statement runs on the shared read query for every operator.
    QCOMPARE(ShareDM1->ShareQuery1.text(),
             QString("select username from xt_userinfo order by userinfoid desc"));
}

void CompanyTest::formLayout() {
    TFrm_Company form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QCOMPARE(form.windowTitle(), QString("公司信息"));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(form.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

    const QList<std::pair<const char *, QString>> fields = {
        {"Edit3", "公司名称："}, {"Edit1", "联系人："}, {"Edit2", "联系电话："}, {"Edit4", "传真："},
        {"Edit5", "邮编："},     {"Edit6", "地址："},   {"Memo1", "公司简介："}};
    const QList<QLabel *> labels = form.findChildren<QLabel *>();
    for (const auto &[name, text] : fields) {
        QWidget *field = form.findChild<QWidget *>(name);
        QVERIFY2(field, name);
        const auto label =
            std::find_if(labels.begin(), labels.end(), [field](QLabel *l) { return l->buddy() == field; });
        QVERIFY2(label != labels.end(), name);
        QCOMPARE((*label)->text(), text);
        QCOMPARE((*label)->palette().color(QPalette::WindowText) == Qt::red, QByteArray(name) == "Edit3");
    }
    const QList<std::pair<const char *, int>> maxLengths = {{"Edit3", 200}, {"Edit1", 50}, {"Edit2", 100},
                                                            {"Edit4", 50},  {"Edit5", 10}, {"Edit6", 100}};
    for (const auto &[name, length] : maxLengths)
        QCOMPARE(form.findChild<QLineEdit *>(name)->maxLength(), length);

    auto *memo = form.findChild<QPlainTextEdit *>("Memo1");
    QVERIFY(memo);
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(form.findChild<QPushButton *>("BitBtn2")->text(), QString("保存(&S)"));
    QCOMPARE(form.findChild<QPushButton *>("BitBtn1")->text(), QString("退出(&C)"));
}

void CompanyTest::formShowsTheNewestRow() {
    TestAppDir::exec("insert into xt_userinfo(" + Columns +
                     ") values('新星商行','王五','010-1','010-2','100080','北京路1号','第一行\r\n第二行')");
    TFrm_Company form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.Edit3->text(), QString("新星商行"));
    QCOMPARE(form.Edit1->text(), QString("王五"));
    QCOMPARE(form.Edit2->text(), QString("010-1"));
    QCOMPARE(form.Edit4->text(), QString("010-2"));
    QCOMPARE(form.Edit5->text(), QString("100080"));
    QCOMPARE(form.Edit6->text(), QString("北京路1号"));
    QCOMPARE(form.Memo1->toPlainText(), QString("第一行\n第二行"));
    QCOMPARE(form.focusWidget(), form.Edit3);
}

void CompanyTest::enterMovesToTheNextField() {
    TFrm_Company form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QList<QWidget *> order = {form.Edit3, form.Edit1, form.Edit2, form.Edit4,
                                    form.Edit5, form.Edit6, form.Memo1};
    for (qsizetype i = 0; i + 1 < order.size(); ++i) {
        QTest::keyClick(order[i], Qt::Key_Return);
        QCOMPARE(form.focusWidget(), order[i + 1]);
    }
    QTest::keyClick(form.Edit5, Qt::Key_Enter);
    QCOMPARE(form.focusWidget(), form.Edit6);
    // Enter never pressed a button: nothing saved, nothing shown, the form still open.
    QVERIFY(form.isVisible());
    QVERIFY(m_ui->shown().isEmpty());
    QCOMPARE(NewestRow(), DefaultRow);
}

void CompanyTest::memoKeepsItsMaximumLength() {
    TFrm_Company form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    form.Memo1->setFocus();
    form.Memo1->insertPlainText(QString(520, u'甲'));
    QCOMPARE(form.Memo1->toPlainText(), QString(500, u'甲'));

    // Typing in the middle of a full memo takes nothing and keeps the text after the cursor.
    form.Memo1->setPlainText(QString(495, u'乙') + "XYZ");
    QTextCursor cursor = form.Memo1->textCursor();
    cursor.setPosition(10);
    form.Memo1->setTextCursor(cursor);
    Type(form.Memo1, "abcdef");
    QCOMPARE(form.Memo1->toPlainText(), QString(10, u'乙') + "ab" + QString(485, u'乙') + "XYZ");
}

void CompanyTest::refusedNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << ""
                           << "公司名称不能为空，请重新输入！";
    QTest::newRow("blanks only") << "   "
                                 << "公司名称不能为空，请重新输入！";
    QTest::newRow("default name") << "Quillo收据打印软件用户"
                                  << "请正确填写您的公司或个人信息！";
    QTest::newRow("the word alone") << "Quillo"
                                    << "请正确填写您的公司或个人信息！";
    QTest::newRow("the word inside") << "新Quillo商行"
                                     << "请正确填写您的公司或个人信息！";
}

void CompanyTest::refusedNames() {
    QFETCH(QString, name);
    QFETCH(QString, message);

    TFrm_Company form;
    form.setShowSavedMessage(true);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Edit3->clear();
    Type(form.Edit3, name);
    form.Edit1->setFocus();
    QTest::mouseClick(form.BitBtn2, Qt::LeftButton);

    QCOMPARE(m_ui->shown().size(), 1);
    QCOMPARE(m_ui->shown()[0].kind, UiServices::Kind::Info);
    QCOMPARE(m_ui->shown()[0].caption, QString("提示"));
    QCOMPARE(m_ui->shown()[0].text, message);
    QCOMPARE(form.focusWidget(), form.Edit3);
    QVERIFY(form.isVisible());
    QVERIFY(!form.saved());
    QCOMPARE(NewestRow(), DefaultRow);
}

void CompanyTest::saveEditsTheNewestRow_data() {
    QTest::addColumn<bool>("savedMessage");
    QTest::newRow("from the menu") << true;
    QTest::newRow("without the message") << false;
}

void CompanyTest::saveEditsTheNewestRow() {
    QFETCH(bool, savedMessage);

    TestAppDir::exec("insert into xt_userinfo(" + Columns + ") values('新星商行','','','','','','')");
    const QString older = TestAppDir::rows("select " + Columns + " from xt_userinfo order by userinfoid");
    const QString rowsBefore = TestAppDir::value("select count(*) from xt_userinfo");

    TFrm_Company form;
    form.setShowSavedMessage(savedMessage);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!form.saved());
    form.Edit3->clear();
    Type(form.Edit3, "O'Neil 贸易'); delete from xt_userinfo; --");
    Type(form.Edit1, "李四");
    Type(form.Edit2, "021-6666'");
    Type(form.Edit4, "021-7777");
    Type(form.Edit5, "200000");
    Type(form.Edit6, "上海市'南京路");
    Type(form.Memo1, "经营文具");
    QTest::keyClick(form.Memo1, Qt::Key_Return);
    Type(form.Memo1, "办公用品");
    QTest::mouseClick(form.BitBtn2, Qt::LeftButton);

    QCOMPARE(m_ui->texts(), savedMessage ? QStringList{"保存成功！"} : QStringList{});
    if (savedMessage)
        QCOMPARE(m_ui->shown()[0].caption, QString("提示"));
    QVERIFY(form.saved());
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Accepted));

    QCOMPARE(TestAppDir::value("select count(*) from xt_userinfo"), rowsBefore);
    QCOMPARE(NewestRow(), QString("O'Neil 贸易'); delete from xt_userinfo; "
                                  "--|李四|021-6666'|021-7777|200000|上海市'南京路|经营文具\n办公用品"));
    // Only the newest row changed.
    QCOMPARE(
        TestAppDir::rows("select " + Columns + " from xt_userinfo order by userinfoid").section(u';', 0, 0),
        older.section(u';', 0, 0));
}

void CompanyTest::saveIntoAnEmptyTableAddsTheFirstRow() {
    TestAppDir::exec("delete from xt_userinfo");
    {
        TFrm_Company form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        for (QLineEdit *edit : {form.Edit3, form.Edit1, form.Edit2, form.Edit4, form.Edit5, form.Edit6})
            QVERIFY(edit->text().isEmpty());
        QVERIFY(form.Memo1->toPlainText().isEmpty());
        Type(form.Edit3, "新星商行");
        Type(form.Edit5, "100080");
        QTest::mouseClick(form.BitBtn2, Qt::LeftButton);
        QVERIFY(form.saved());
    }
    QCOMPARE(TestAppDir::rows("select " + Columns + " from xt_userinfo"), QString("新星商行||||100080||"));

    TFrm_Company again;
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QCOMPARE(again.Edit3->text(), QString("新星商行"));
    QCOMPARE(again.Edit5->text(), QString("100080"));
}

void CompanyTest::closingDoesNotSave_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("exit button") << false;
    QTest::newRow("Esc") << true;
}

void CompanyTest::closingDoesNotSave() {
    QFETCH(bool, escape);

    TFrm_Company form;
    form.setShowSavedMessage(true);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Edit3->setText("新星商行");
    if (escape)
        QTest::keyClick(form.Edit3, Qt::Key_Escape);
    else
        QTest::mouseClick(form.BitBtn1, Qt::LeftButton);

    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QVERIFY(!form.saved());
    QVERIFY(m_ui->shown().isEmpty());
    QCOMPARE(NewestRow(), DefaultRow);
}

void CompanyTest::firstRunVariant() {
    TFrm_Company form(nullptr);
    form.setShowSavedMessage(false);
    form.makeFirstRunPrompt();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QCOMPARE(form.windowTitle(), QString("请填写您的公司或个人信息"));
    QCOMPARE(form.BitBtn1->text(), QString("下次再说(&C)"));
    QVERIFY(!(form.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint |
                                    Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(form.Edit3->text(), QString("Quillo收据打印软件用户"));

    // Saved unchanged, the default name is refused; a real name is saved without a message.
    QTest::mouseClick(form.BitBtn2, Qt::LeftButton);
    QCOMPARE(m_ui->texts(), QStringList{"请正确填写您的公司或个人信息！"});
    m_ui->clear();
    form.Edit3->setText("新星商行");
    QTest::mouseClick(form.BitBtn2, Qt::LeftButton);
    QVERIFY(m_ui->shown().isEmpty());
    QVERIFY(form.saved());
    OperatorType = "管理员";
    QVERIFY(!FirstRunPromptDue());
}

void CompanyTest::databaseErrorKeepsTheFormOpen() {
    TFrm_Company form;
    form.setShowSavedMessage(true);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    TestAppDir::exec("drop table xt_userinfo");
    form.Edit3->setText("新星商行");
    QTest::mouseClick(form.BitBtn2, Qt::LeftButton);

    QCOMPARE(ShownTexts(*m_ui, UiServices::Kind::Error).size(), 1);
    QVERIFY(ShownTexts(*m_ui, UiServices::Kind::Info).isEmpty());
    QVERIFY(form.isVisible());
    QVERIFY(!form.saved());
}

QTEST_MAIN(CompanyTest)
#include "CompanyTest.moc"
