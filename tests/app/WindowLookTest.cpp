// What the platform is told about the program's windows: their captions and border icons.
#include "GuiFixture.h"

#include "app/About.h"
#include "app/Company.h"
#include "app/Main.h"
#include "app/Startup.h"
#include "app/Xt_userchangepwd.h"
#include "app/Xt_userlogin.h"
#include "data/Globals.h"
#include "ui/UiServices.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>
#include <qpa/qplatformwindow.h>

namespace {
// The caption a desktop's title bar shows for a window: the platform's own formatting of the
// window's title (the X11 platform, for one, appends an application display name if the
// program has set one).
struct PlatformTitle : QPlatformWindow {
    using QPlatformWindow::formatWindowTitle;
};

QString titleBarText(const QWidget *window) {
    return PlatformTitle::formatWindowTitle(window->windowHandle()->title(), QStringLiteral(" \u2014 "));
}
} // namespace

class WindowLookTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowCaptions_data();
    void windowCaptions();
    void messageBoxCaptions_data();
    void messageBoxCaptions();
    void borderIcons_data();
    void borderIcons();
    void firstRunPromptIgnoresTheCloseCommand();

private:
    QWidget *showWindow(const QString &which);

    std::unique_ptr<GuiFixture> m_fx;
    std::unique_ptr<QWidget> m_window;
};

void WindowLookTest::initTestCase() {
    // As the program names itself at start-up.
    NameApplication();
}

void WindowLookTest::init() {
    m_fx = std::make_unique<GuiFixture>();
}

void WindowLookTest::cleanup() {
    m_window.reset();
    m_fx.reset();
}

QWidget *WindowLookTest::showWindow(const QString &which) {
    QWidget *window = nullptr;
    if (which == "main") {
        TestAppDir::exec("update xt_accountset set cfgvalues='甲公司收据' where cfgkey='softname'");
        window = m_fx->mainWindow();
    } else if (which == "login" || which == "lock") {
        auto *login = new TForm_XT_UserLogin;
        login->LoginMode = which == "login" ? 1 : 3;
        m_window.reset(login);
    } else if (which == "company" || which == "first run") {
        auto *company = new TFrm_Company;
        if (which == "first run")
            company->makeFirstRunPrompt();
        m_window.reset(company);
    } else if (which == "about") {
        m_window.reset(new TFrm_About);
    } else if (which == "password") {
        m_window.reset(new TForm_XT_UserChangePWD);
    }
    if (!window)
        window = m_window.get();
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return nullptr;
    return window;
}

void WindowLookTest::windowCaptions_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::newRow("main") << "main"
                          << "甲公司收据";
    QTest::newRow("login") << "login"
                           << "系统登陆";
    QTest::newRow("lock") << "lock"
                          << "离开锁定";
    QTest::newRow("company") << "company"
                             << "公司信息";
    QTest::newRow("first run") << "first run"
                               << "请填写您的公司或个人信息";
    QTest::newRow("about") << "about"
                           << "关于...";
    QTest::newRow("password") << "password"
                              << "更改登陆密码";
}

void WindowLookTest::windowCaptions() {
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QWidget *shown = showWindow(window);
    QVERIFY(shown);
    QCOMPARE(shown->windowHandle()->title(), caption);
    QCOMPARE(titleBarText(shown), caption);
}

void WindowLookTest::messageBoxCaptions_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("caption");
    QTest::newRow("information") << 0 << "提示";
    QTest::newRow("question") << 1 << "询问";
    QTest::newRow("error") << 2 << "Quillo收据打印软件8.0";
}

void WindowLookTest::messageBoxCaptions() {
    QFETCH(int, kind);
    QFETCH(QString, caption);
    // The real message boxes, as the program shows them.
    UiServices::install(nullptr);
    QString title;
    QString titleBar;
    m_fx->onNextModal([&](QDialog *box) {
        title = box->windowHandle()->title();
        titleBar = titleBarText(box);
    });
    if (kind == 0)
        ShowInfo(QStringLiteral("保存成功！"));
    else if (kind == 1)
        AskYesNo(QStringLiteral("是否确定退出？"));
    else
        ShowError(QStringLiteral("no such table: aa_goods"));
    UiServices::install(&m_fx->ui);
    m_fx->expectModalHandled();
    QCOMPARE(title, caption);
    QCOMPARE(titleBar, caption);
}

void WindowLookTest::borderIcons_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<Qt::WindowFlags>("present");
    QTest::addColumn<Qt::WindowFlags>("absent");
    const Qt::WindowFlags minMax = Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
    const Qt::WindowFlags noIcons = minMax | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    const Qt::WindowFlags systemMenuOnly = Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    // A title bar without any icon: no system menu, so no close box either.
    QTest::newRow("login") << "login" << Qt::WindowFlags(Qt::WindowTitleHint) << noIcons;
    QTest::newRow("lock") << "lock" << Qt::WindowFlags(Qt::WindowTitleHint) << noIcons;
    QTest::newRow("first run") << "first run" << Qt::WindowFlags(Qt::WindowTitleHint) << noIcons;
    // The system menu with its close box, and nothing to minimise or maximise.
    QTest::newRow("company") << "company" << systemMenuOnly << minMax;
    QTest::newRow("about") << "about" << systemMenuOnly << minMax;
}

void WindowLookTest::borderIcons() {
    QFETCH(QString, window);
    QFETCH(Qt::WindowFlags, present);
    QFETCH(Qt::WindowFlags, absent);
    QWidget *shown = showWindow(window);
    QVERIFY(shown);
    // The flags the platform window was given, which decide the window manager's hints.
    const Qt::WindowFlags flags = shown->windowHandle()->flags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QCOMPARE(flags & present, present);
    QCOMPARE(flags & absent, Qt::WindowFlags());
}

void WindowLookTest::firstRunPromptIgnoresTheCloseCommand() {
    auto *prompt = static_cast<TFrm_Company *>(showWindow("first run"));
    QVERIFY(prompt);
    // A window manager's close command changes nothing; the form's own buttons and Esc leave.
    QVERIFY(!prompt->close());
    QVERIFY(prompt->isVisible());
    QCOMPARE(prompt->BitBtn1->text(), QString("下次再说(&C)"));
    QTest::keyClick(prompt->Edit3, Qt::Key_Escape);
    QVERIFY(!prompt->isVisible());
    QVERIFY(!prompt->saved());
    // The form from the menu still closes with its window.
    auto *company = static_cast<TFrm_Company *>(showWindow("company"));
    QVERIFY(company);
    QVERIFY(company->close());
    QVERIFY(!company->isVisible());
}

QTEST_MAIN(WindowLookTest)
#include "WindowLookTest.moc"
