// The main window: commands, the administrator guard, the tab strip and the status bar.
#include "GuiFixture.h"

#include "app/AccountSettings.h"
#include "app/Main.h"
#include "app/PageControlEx.h"
#include "app/SingleInstance.h"
#include "data/Clock.h"
#include "data/Globals.h"
#include "ui/ChildForm.h"
#include "ui/Importprocess.h"
#include "ui/Xt_myhint.h"
#include "ui/Xt_sharecontrol.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>

namespace {
// A work window as the real ones behave.
class StandInForm : public TChildForm {
public:
    explicit StandInForm(const QString &caption)
        : TChildForm(caption) {}
};
} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void menusHoldEveryCommand_data();
    void menusHoldEveryCommand();
    void menuTitlesOpenTheirMenusOnAClick();
    void serviceWindowsStayHidden();
    void toolBarInOrder();
    void refusedCommands_data();
    void refusedCommands();
    void firstShowLoadsSettingsAndStatus();
    void accountSettings_data();
    void accountSettings();
    void entryTabHasNoBlanksAndNeverCloses();
    void oneWindowPerCommand();
    void closingAWindowRemovesItsTab();
    void draggingTheSelectedTabMovesIt();
    void statusPanelsFollowTheWidth();
    void minimumSize();
    void copyReceiptRunsTheEntryCopyCommand();
    void dialogCommandsOpenTheirDialogModally_data();
    void dialogCommandsOpenTheirDialogModally();
    void secondStartExitsAtOnce();

private:
    TForm_Main *mainWithForms();
    QStringList tabCaptions() const;

    std::unique_ptr<GuiFixture> m_fx;
    TForm_Main *m_main = nullptr;
};

void MainWindowTest::init() {
    Clock::setFixed(QDateTime(QDate(2014, 1, 31), QTime(9, 0)));
    m_fx = std::make_unique<GuiFixture>();
}

void MainWindowTest::cleanup() {
    m_fx.reset();
    m_main = nullptr;
}

TForm_Main *MainWindowTest::mainWithForms() {
    // Work windows stand in for the forms of the catalogues; the main window opens them as
    // it opens the real ones. The real receipt entry window is open from the first show.
    m_main = m_fx->mainWindow();
    for (const QString &caption : {QString("商品目录"), QString("交款单位"), QString("员工目录")})
        m_main->registerChildForm(caption, [caption] { return new StandInForm(caption); });
    m_main->runCommand("单据录入");
    return m_main;
}

QStringList MainWindowTest::tabCaptions() const {
    QStringList captions;
    for (int i = 0; i < m_main->PageControlEx->count(); ++i)
        captions << m_main->PageControlEx->tabText(i);
    return captions;
}

void MainWindowTest::menusHoldEveryCommand_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("system") << "系统(&S)"
                            << QStringList{"公司信息",   "系统设置",   "系统日志",   "数据导入",
                                           "备份数据库", "恢复数据库", "压缩数据库", "更改登陆密码",
                                           "更换操作员", "离开锁定",   "退出系统"};
    QTest::newRow("master data") << "基础数据(&J)"
                                 << QStringList{"商品单位", "商品分类", "商品目录", "收款方式",
                                                "收据备注", "交款单位", "员工目录"};
    QTest::newRow("business") << "业务(&Y)" << QStringList{"单据录入", "单据查询", "单据汇总", "单据明细"};
    QTest::newRow("tools") << "工具(&G)" << QStringList{"我的设置",     "打印配置", "表格列配置",
                                                        "同步标准时间", "安装目录", "计算器"};
    QTest::newRow("help") << "帮助(&H)" << QStringList{"在线升级", "常见问题", "最新功能", "官方网站",
                                                       "在线反馈", "自述文件", "关于..."};
}

void MainWindowTest::menusHoldEveryCommand() {
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    m_main = m_fx->mainWindow();
    QMenu *found = nullptr;
    for (QAction *a : m_main->menuBar()->actions())
        if (a->text() == menu)
            found = a->menu();
    QVERIFY2(found, qPrintable(menu));
    QStringList captions;
    for (QAction *a : found->actions())
        if (!a->isSeparator())
            captions << a->text();
    QCOMPARE(captions, items);
    if (menu == "系统(&S)")
        QCOMPARE(m_main->commandAction("离开锁定")->shortcut(), QKeySequence(Qt::Key_F12));
}

void MainWindowTest::menuTitlesOpenTheirMenusOnAClick() {
    m_main = m_fx->mainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(m_main));
    QMenuBar *bar = m_main->menuBar();
    const QList<QAction *> titles = bar->actions();
    QCOMPARE(titles.size(), 5);
    for (QAction *title : titles) {
        // The click reaches the window as the mouse's would: whatever lies on top of the menu
        // bar at that point gets it.
        const QRect area = bar->actionGeometry(title);
        QVERIFY2(!area.isEmpty(), qPrintable(title->text()));
        for (const QPoint &at : {area.center(), area.topLeft() + QPoint(3, 3)}) {
            const QPoint inWindow = bar->mapTo(m_main, at);
            QCOMPARE(m_main->childAt(inWindow), static_cast<QWidget *>(bar));
            QTest::mouseClick(m_main->windowHandle(), Qt::LeftButton, {}, inWindow);
            QTRY_VERIFY2(title->menu()->isVisible(), qPrintable(title->text()));
            title->menu()->hide();
            QTRY_VERIFY(!QApplication::activePopupWidget());
        }
    }
}

void MainWindowTest::serviceWindowsStayHidden() {
    m_main = m_fx->mainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(m_main));
    const QList<QWidget *> services{Form_XT_ShareControl, Form_XT_MyHint, Form_Importprocess};
    for (QWidget *service : services) {
        QVERIFY(service);
        QVERIFY2(service->isWindow(), qPrintable(service->objectName()));
        QVERIFY2(!service->isVisible(), qPrintable(service->objectName()));
    }
    // The image holder would take no input even if it were shown by mistake.
    QVERIFY(Form_XT_ShareControl->windowFlags().testFlag(Qt::WindowTransparentForInput));
    QVERIFY(Form_XT_ShareControl->testAttribute(Qt::WA_DontShowOnScreen));
}

void MainWindowTest::toolBarInOrder() {
    m_main = m_fx->mainWindow();
    // The buttons in their groups, as the separators divide them.
    QList<QStringList> groups{{}};
    QStringList hints;
    for (QAction *a : m_main->ToolBar1->actions()) {
        if (a->isSeparator()) {
            groups.append(QStringList());
            continue;
        }
        groups.last() << a->text();
        hints << a->toolTip();
        auto *button = qobject_cast<QToolButton *>(m_main->ToolBar1->widgetForAction(a));
        QVERIFY(button && button->width() >= 79);
    }
    QCOMPARE(groups, (QList<QStringList>{{"   单据录入   ", "单据查询", "单据汇总", "单据明细"},
                                         {"打印配置", "表格列配置"},
                                         {"在线升级", "联系我们"},
                                         {"退出系统"}}));
    QCOMPARE(hints[1], QString("打印、修改、复制、删除单据"));
    QCOMPARE(hints[5], QString("自定义单据录入中表格显示明细，如列宽、列名、排序等等"));
    QCOMPARE(hints[7], QString("若需帮助，请联系我们"));
}

void MainWindowTest::refusedCommands_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("message");
    const QString refusal =
        "操作被阻止！\r\n原因：您没有此项权限！\r\n建议：请在基础数据->员工目录->员工资料中增加管理员权限！";
    const QString notYet = "此功能尚未提供，敬请期待！";
    QTest::newRow("supervisor: settings") << "主管"
                                          << "系统设置" << refusal;
    QTest::newRow("supervisor: system log") << "主管"
                                            << "系统日志" << refusal;
    QTest::newRow("supervisor: import") << "主管"
                                        << "数据导入" << refusal;
    QTest::newRow("supervisor: backup") << "主管"
                                        << "备份数据库" << refusal;
    QTest::newRow("supervisor: restore") << "主管"
                                         << "恢复数据库" << refusal;
    QTest::newRow("supervisor: company") << "主管"
                                         << "公司信息"
                                         << "操作被阻止！\r\n原因：您没有此项权限！\r\n建议：请联系管理员在基"
                                            "础数据->员工目录->员工资料中增加管理员权限！";
    QTest::newRow("administrator among other roles") << "会计,管理员"
                                                     << "系统设置" << notYet;
    QTest::newRow("everyone: compaction") << "主管"
                                          << "压缩数据库" << notYet;
}

void MainWindowTest::refusedCommands() {
    QFETCH(QString, type);
    QFETCH(QString, command);
    QFETCH(QString, message);
    TestAppDir::exec("insert into aa_staff(staffid,name,type,loginpwd)values(9,'测试员','" + type + "','')");
    m_fx->login("测试员");
    m_main = m_fx->mainWindow();
    m_fx->ui.clear();
    m_main->runCommand(command);
    QCOMPARE(m_fx->ui.texts(), QStringList{message});
    QCOMPARE(m_fx->ui.shown()[0].caption, QString("提示"));
    // Only the receipt entry window, opened at the first show, is there.
    QCOMPARE(m_main->childWindows().size(), 1);
    QCOMPARE(m_main->activeChild()->windowTitle(), QString("单据录入"));
}

void MainWindowTest::firstShowLoadsSettingsAndStatus() {
    TestAppDir::exec("update xt_accountset set cfgvalues='甲公司收据' where cfgkey='softname'");
    TestAppDir::exec("update xt_userinfo set username='甲公司'");
    m_main = m_fx->mainWindow();
    QCOMPARE(m_main->windowTitle(), QString("甲公司收据"));
    QCOMPARE(CompanyName, QString("甲公司"));
    QCOMPARE(RowCount, 5);
    QCOMPARE(AmountFormula, QString("数量*单价"));
    QVERIFY(MainShown);
    QCOMPARE(m_main->StatusPanels[0]->text(), QString("就绪"));
    QCOMPARE(m_main->StatusPanels[2]->text(), QString("今天是：2014-01-31 星期五 甲午(马)年正月初一"));
    QCOMPARE(m_main->StatusPanels[3]->text(), QString("姓名：管理员"));
    QCOMPARE(m_main->StatusPanels[4]->text(), QString("类型：管理员"));
}

void MainWindowTest::accountSettings_data() {
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("softname");
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<bool>("negative");
    QTest::addColumn<QString>("caption");
    QTest::newRow("4 rows") << "4"
                            << "我的收据" << 5 << false << "我的收据";
    QTest::newRow("not a number") << "abc"
                                  << "我的收据" << 5 << false << "我的收据";
    QTest::newRow("0 rows") << "0"
                            << "我的收据" << 1 << false << "我的收据";
    QTest::newRow("blank name") << "4"
                                << "   " << 5 << false << "Quillo收据打印软件8.0";
    QTest::newRow("name with blanks") << "4"
                                      << " 我的收据 " << 5 << false << " 我的收据 ";
}

void MainWindowTest::accountSettings() {
    QFETCH(QString, rows);
    QFETCH(QString, softname);
    QFETCH(int, rowCount);
    QFETCH(bool, negative);
    QFETCH(QString, caption);
    TestAppDir::exec("update xt_accountset set cfgvalues='" + rows + "' where cfgkey='rowcnt'");
    TestAppDir::exec("update xt_accountset set cfgvalues='" + softname + "' where cfgkey='softname'");
    QCOMPARE(LoadAccountSettings(), caption);
    QCOMPARE(RowCount, rowCount);
    QCOMPARE(AllowNegative, negative);
    TestAppDir::exec("update xt_accountset set cfgvalues='1' where cfgkey='editminus'");
    LoadAccountSettings();
    QVERIFY(AllowNegative);
}

void MainWindowTest::entryTabHasNoBlanksAndNeverCloses() {
    mainWithForms();
    QCOMPARE(tabCaptions(), QStringList{"单据录入"});
    QVERIFY(m_main->PageControlEx->SpdClose->isHidden());
    QTest::mouseDClick(m_main->PageControlEx, Qt::LeftButton, {}, m_main->PageControlEx->tabRect(0).center());
    m_main->closeActiveChild();
    QCOMPARE(tabCaptions(), QStringList{"单据录入"});
    QCOMPARE(m_main->childWindows().size(), 1);
}

void MainWindowTest::oneWindowPerCommand() {
    mainWithForms();
    m_main->runCommand("商品目录");
    m_main->runCommand("交款单位");
    QCOMPARE(tabCaptions(), QStringList({"单据录入", "商品目录      ", "交款单位      "}));
    QCOMPARE(m_main->activeChild()->windowTitle(), QString("交款单位"));
    m_main->runCommand("商品目录");
    QCOMPARE(m_main->childWindows().size(), 3);
    QCOMPARE(m_main->activeChild()->windowTitle(), QString("商品目录"));
    QCOMPARE(m_main->PageControlEx->currentIndex(), 1);
    QVERIFY(!m_main->PageControlEx->SpdClose->isHidden());
    const QRect selected = m_main->PageControlEx->tabRect(1);
    QCOMPARE(m_main->PageControlEx->SpdClose->geometry().topLeft(),
             QPoint(selected.right() + 1 - 19, selected.top() + 2));
}

void MainWindowTest::closingAWindowRemovesItsTab() {
    mainWithForms();
    m_main->runCommand("商品目录");
    m_main->runCommand("交款单位");
    QTest::keyClick(m_main->activeChild(), Qt::Key_Escape);
    QCOMPARE(tabCaptions(), QStringList({"单据录入", "商品目录      "}));
    // Clicking the neighbouring tab shows its window.
    QTest::mouseClick(m_main->PageControlEx, Qt::LeftButton, {}, m_main->PageControlEx->tabRect(0).center());
    QCOMPARE(m_main->activeChild()->windowTitle(), QString("单据录入"));
    QTest::mouseClick(m_main->PageControlEx, Qt::LeftButton, {}, m_main->PageControlEx->tabRect(1).center());
    QCOMPARE(m_main->activeChild()->windowTitle(), QString("商品目录"));
    // The close button and a double click close the active window.
    m_main->PageControlEx->SpdClose->click();
    QCOMPARE(tabCaptions(), QStringList{"单据录入"});
    QCOMPARE(m_main->childWindows().size(), 1);
    m_main->runCommand("员工目录");
    QTest::mouseDClick(m_main->PageControlEx, Qt::LeftButton, {}, m_main->PageControlEx->tabRect(1).center());
    QCOMPARE(tabCaptions(), QStringList{"单据录入"});
    // A closed window is gone: the command opens a new one.
    m_main->runCommand("员工目录");
    QCOMPARE(tabCaptions(), QStringList({"单据录入", "员工目录      "}));
}

void MainWindowTest::draggingTheSelectedTabMovesIt() {
    mainWithForms();
    m_main->runCommand("商品目录");
    m_main->runCommand("交款单位");
    m_main->runCommand("员工目录");
    TPageControlEx *strip = m_main->PageControlEx;
    const QPoint from = strip->tabRect(1).center();
    const QPoint to = strip->tabRect(2).center();
    QTest::mousePress(strip, Qt::LeftButton, {}, from);
    QCOMPARE(strip->currentIndex(), 1);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), strip->mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(strip, &move);
    QTest::mouseRelease(strip, Qt::LeftButton, {}, to);
    QCOMPARE(tabCaptions(), QStringList({"单据录入", "交款单位      ", "商品目录      ", "员工目录      "}));
    QCOMPARE(strip->currentIndex(), 2);
    // Dropping onto the selected tab itself changes nothing.
    const QPoint same = strip->tabRect(2).center();
    QTest::mousePress(strip, Qt::LeftButton, {}, same);
    QMouseEvent wiggle(QEvent::MouseMove, QPointF(same + QPoint(0, 8)), strip->mapToGlobal(QPointF(same)),
                       Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(strip, &wiggle);
    QTest::mouseRelease(strip, Qt::LeftButton, {}, same);
    QCOMPARE(tabCaptions(), QStringList({"单据录入", "交款单位      ", "商品目录      ", "员工目录      "}));
}

void MainWindowTest::statusPanelsFollowTheWidth() {
    m_main = m_fx->mainWindow();
    m_main->resize(1000, 600);
    QList<int> widths;
    for (QLabel *panel : m_main->StatusPanels)
        widths << panel->width();
    QCOMPARE(widths, QList<int>({100, 300, 300, 150, 150}));
    m_main->resize(1013, 600);
    QCOMPARE(m_main->StatusPanels[1]->width(), 303);
    QCOMPARE(ChildWidth, m_main->findChild<QStackedWidget *>("ClientArea")->width());
}

void MainWindowTest::minimumSize() {
    m_main = m_fx->mainWindow();
    m_main->resize(600, 300);
    QCOMPARE(m_main->size(), QSize(835, 500));
}

void MainWindowTest::copyReceiptRunsTheEntryCopyCommand() {
    mainWithForms();
    TestAppDir::exec("insert into ss_sale(saleid,billdate,billcode,opname,companyname,totalamt)"
                     "values(42,'2013-12-30','SK42','管理员','甲公司',0)");
    m_main->runCommand("商品目录");
    CopySaleId = 42;
    CopyReceiptToEntry();
    QWidget *entry = m_main->activeChild();
    QCOMPARE(entry->windowTitle(), QString("单据录入"));
    QCOMPARE(GuiFixture::find<QLineEdit>(entry, "Edit1")->text(), QString("SK42"));
    QCOMPARE(GuiFixture::find<QComboBox>(entry, "BoxCompany")->currentText(), QString("甲公司"));
}

void MainWindowTest::dialogCommandsOpenTheirDialogModally_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("caption");
    QTest::newRow("about") << "关于..."
                           << "关于...";
    QTest::newRow("company") << "公司信息"
                             << "公司信息";
}

void MainWindowTest::dialogCommandsOpenTheirDialogModally() {
    QFETCH(QString, command);
    QFETCH(QString, caption);
    m_main = m_fx->mainWindow();
    QString seen;
    bool wasModal = false;
    m_fx->onNextModal([&](QDialog *dialog) {
        seen = dialog->windowTitle();
        wasModal = dialog->isModal();
    });
    m_main->commandAction(command)->trigger();
    m_fx->expectModalHandled();
    QCOMPARE(seen, caption);
    QVERIFY(wasModal);
    QVERIFY(!QApplication::activeModalWidget());
}

void MainWindowTest::secondStartExitsAtOnce() {
    // This test holds the program's single-instance lock; the real program must then end at
    // once, with exit code 0, before it touches any database.
    SingleInstance first(AppTitle);
    if (!first.acquire())
        QSKIP("a copy of the program is running on this machine");
    QProcess second;
    second.setProcessEnvironment([] {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        return env;
    }());
    second.start(QStringLiteral(QUILLO_EXECUTABLE));
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    // A lock held by nobody is free again.
    first.release();
    SingleInstance third(AppTitle);
    QVERIFY(third.acquire());
    SingleInstance fourth(AppTitle);
    QVERIFY(!fourth.acquire());
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
