#include "app/Main.h"

#include "app/About.h"
#include "app/AccountSettings.h"
#include "app/Company.h"
#include "app/CompanyInfo.h"
#include "app/LunarDate.h"
#include "app/OnlineUpdate.h"
#include "app/OperatorLogin.h"
#include "app/PageControlEx.h"
#include "app/Xt_userchangepwd.h"
#include "app/Xt_userlogin.h"
#include "data/Clock.h"
#include "data/Globals.h"
#include "receipts/Ss_sale.h"
#include "ui/ChildForm.h"
#include "ui/CommandGuard.h"
#include "ui/Importprocess.h"
#include "ui/UiServices.h"
#include "ui/Xt_myhint.h"
#include "ui/Xt_sharecontrol.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// Commands that only administrators may run, and the refusal each one shows.
const QHash<QString, QString> &guardedCommands() {
    static const QHash<QString, QString> guarded = {
        {QStringLiteral("公司信息"), CompanyRefusalText}, {QStringLiteral("系统设置"), RefusalText},
        {QStringLiteral("系统日志"), RefusalText},        {QStringLiteral("数据导入"), RefusalText},
        {QStringLiteral("备份数据库"), RefusalText},      {QStringLiteral("恢复数据库"), RefusalText},
    };
    return guarded;
}

// Status bar panels as shares of the window width, in percent.
constexpr int PanelPercent[] = {10, 30, 30, 15, 15};
} // namespace

TForm_Main::TForm_Main(QWidget *parent)
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form_Main"));
    setWindowTitle(AppTitle);
    setMinimumSize(835, 500);

    buildMenus();
    buildToolBar();

    PageControlEx = new TPageControlEx(this);
    connect(PageControlEx, &QTabBar::currentChanged, this, &TForm_Main::PageControlExChange);
    connect(PageControlEx, &TPageControlEx::closeRequested, this, &TForm_Main::closeActiveChild);

    // Child windows fill the area below the tab strip; one smaller than a child's minimum size
    // scrolls instead of squeezing it.
    m_children = new QStackedWidget(this);
    m_children->setObjectName(QStringLiteral("ClientArea"));
    m_childArea = new QScrollArea(this);
    m_childArea->setWidgetResizable(true);
    m_childArea->setFrameShape(QFrame::NoFrame);
    m_childArea->setWidget(m_children);

    StatusBar1 = new QWidget(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    auto *statusLayout = new QHBoxLayout(StatusBar1);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    statusLayout->setSpacing(0);
    for (int i = 0; i < 5; ++i) {
        auto *panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setAlignment(i == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        panel->setMinimumWidth(0);
        statusLayout->addWidget(panel);
        StatusPanels.append(panel);
    }
    statusLayout->addStretch();
    StatusPanels[0]->setText(QStringLiteral("就绪"));

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PageControlEx);
    layout->addWidget(m_childArea, 1);
    layout->addWidget(StatusBar1);
    setCentralWidget(central);

    ChildTabHost::install(this);
}

TForm_Main::~TForm_Main() {
    if (ChildTabHost::current() == this)
        ChildTabHost::install(nullptr);
    // The service windows are children of this window and go with it.
    Form_XT_ShareControl = nullptr;
    Form_XT_MyHint = nullptr;
    Form_Importprocess = nullptr;
}

QAction *TForm_Main::addCommand(QMenu *menu, const QString &caption, const std::function<void()> &run) {
    auto *action = menu->addAction(caption);
    action->setObjectName(caption);
    connect(action, &QAction::triggered, this, [caption, run] {
        const auto refusal = guardedCommands().constFind(caption);
        if (refusal != guardedCommands().cend() && !IsAdministrator()) {
            ShowInfo(*refusal);
            return;
        }
        RunCommand(run);
    });
    m_actions.insert(caption, action);
    return action;
}

QAction *TForm_Main::addChildCommand(QMenu *menu, const QString &caption) {
    return addCommand(menu, caption, [this, caption] { openChild(caption); });
}

QAction *TForm_Main::addDialogCommand(QMenu *menu, const QString &caption) {
    return addCommand(menu, caption, [this, caption] { openDialog(caption); });
}

void TForm_Main::buildMenus() {
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu *system = bar->addMenu(QStringLiteral("系统(&S)"));
    addCommand(system, QStringLiteral("公司信息"), [this] {
        TFrm_Company form(this);
        form.setShowSavedMessage(true);
        form.exec();
        if (form.saved())
            LoadCompanyInfo();
    });
    addDialogCommand(system, QStringLiteral("系统设置"));
    addChildCommand(system, QStringLiteral("系统日志"));
    addDialogCommand(system, QStringLiteral("数据导入"));
    system->addSeparator();
    addDialogCommand(system, QStringLiteral("备份数据库"));
    addDialogCommand(system, QStringLiteral("恢复数据库"));
    addDialogCommand(system, QStringLiteral("压缩数据库"));
    system->addSeparator();
    addCommand(system, QStringLiteral("更改登陆密码"), [this] {
        TForm_XT_UserChangePWD form(this);
        form.exec();
    });
    addCommand(system, QStringLiteral("更换操作员"), [this] { changeOperator(); });
    addCommand(system, QStringLiteral("离开锁定"), [this] { lockProgram(); })->setShortcut(Qt::Key_F12);
    system->addSeparator();
    addCommand(system, QStringLiteral("退出系统"), [this] { close(); });

    QMenu *basic = bar->addMenu(QStringLiteral("基础数据(&J)"));
    addDialogCommand(basic, QStringLiteral("商品单位"));
    addDialogCommand(basic, QStringLiteral("商品分类"));
    addChildCommand(basic, QStringLiteral("商品目录"));
    basic->addSeparator();
    addDialogCommand(basic, QStringLiteral("收款方式"));
    addDialogCommand(basic, QStringLiteral("收据备注"));
    basic->addSeparator();
    addChildCommand(basic, QStringLiteral("交款单位"));
    addChildCommand(basic, QStringLiteral("员工目录"));

    QMenu *business = bar->addMenu(QStringLiteral("业务(&Y)"));
    addChildCommand(business, EntryCaption);
    addChildCommand(business, QStringLiteral("单据查询"));
    business->addSeparator();
    addChildCommand(business, QStringLiteral("单据汇总"));
    addChildCommand(business, QStringLiteral("单据明细"));

    QMenu *tools = bar->addMenu(QStringLiteral("工具(&G)"));
    addDialogCommand(tools, QStringLiteral("我的设置"));
    addDialogCommand(tools, QStringLiteral("打印配置"));
    addDialogCommand(tools, QStringLiteral("表格列配置"));
    tools->addSeparator();
    addDialogCommand(tools, QStringLiteral("同步标准时间"))
        ->setToolTip(QStringLiteral("此功能需连接上互联网"));
    tools->setToolTipsVisible(true);
    addCommand(tools, QStringLiteral("安装目录"), [] { OpenWithSystem(AppDir); });
    addCommand(tools, QStringLiteral("计算器"), [this] { startCalculator(); });

    QMenu *help = bar->addMenu(QStringLiteral("帮助(&H)"));
    addCommand(help, QStringLiteral("在线升级"),
               [] { CheckForUpdate(QStringLiteral(QUILLO_UPDATE_URL), QStringLiteral(QUILLO_VERSION)); });
    help->addSeparator();
    addCommand(help, QStringLiteral("常见问题"), [this] { openHelpPage(QStringLiteral("faq.html")); });
    addCommand(help, QStringLiteral("最新功能"), [this] { openHelpPage(QStringLiteral("news.html")); });
    addCommand(help, QStringLiteral("官方网站"), [this] { openHelpPage(QStringLiteral("index.html")); });
    addCommand(help, QStringLiteral("在线反馈"), [this] { openHelpPage(QStringLiteral("feedback.html")); });
    addCommand(help, QStringLiteral("自述文件"),
               [] { OpenWithSystem(AppDir + QStringLiteral("/自述文件.txt")); });
    help->addSeparator();
    addCommand(help, QStringLiteral("关于..."), [this] {
        TFrm_About about(this);
        about.exec();
    });
}

void TForm_Main::buildToolBar() {
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ToolBar1->setIconSize(QSize(24, 24));
    QStyle *s = style();
    struct Button {
        QString caption;
        QString command;
        QString hint;
        QStyle::StandardPixmap icon;
    };
    const QList<QList<Button>> groups = {
        {{QStringLiteral("   单据录入   "), EntryCaption, QString(), QStyle::SP_FileIcon},
         {QStringLiteral("单据查询"), QStringLiteral("单据查询"),
          QStringLiteral("打印、修改、复制、删除单据"), QStyle::SP_FileDialogContentsView},
         {QStringLiteral("单据汇总"), QStringLiteral("单据汇总"), QStringLiteral("对账汇总"),
          QStyle::SP_FileDialogListView},
         {QStringLiteral("单据明细"), QStringLiteral("单据明细"), QStringLiteral("对账明细"),
          QStyle::SP_FileDialogDetailedView}},
        {{QStringLiteral("打印配置"), QStringLiteral("打印配置"), QString(), QStyle::SP_DesktopIcon},
         {QStringLiteral("表格列配置"), QStringLiteral("表格列配置"),
          QStringLiteral("自定义单据录入中表格显示明细，如列宽、列名、排序等等"),
          QStyle::SP_FileDialogInfoView}},
        {{QStringLiteral("在线升级"), QStringLiteral("在线升级"), QStringLiteral("免费升级到最新版本"),
          QStyle::SP_BrowserReload},
         {QStringLiteral("联系我们"), QString(), QStringLiteral("若需帮助，请联系我们"),
          QStyle::SP_DialogHelpButton}},
        {{QStringLiteral("退出系统"), QStringLiteral("退出系统"), QString(), QStyle::SP_DialogCloseButton}},
    };
    for (const QList<Button> &group : groups) {
        if (!ToolBar1->actions().isEmpty())
            ToolBar1->addSeparator();
        for (const Button &b : group) {
            QAction *action = ToolBar1->addAction(s->standardIcon(b.icon), b.caption);
            action->setObjectName(QStringLiteral("ToolButton_") + b.caption.trimmed());
            action->setToolTip(b.hint.isEmpty() ? b.caption.trimmed() : b.hint);
            if (b.command.isEmpty())
                connect(action, &QAction::triggered, this,
                        [this] { RunCommand([this] { openHelpPage(QStringLiteral("feedback.html")); }); });
            else
                connect(action, &QAction::triggered, this,
                        [this, command = b.command] { runCommand(command); });
            if (auto *button = qobject_cast<QToolButton *>(ToolBar1->widgetForAction(action)))
                button->setMinimumWidth(79);
        }
    }
}

void TForm_Main::registerChildForm(const QString &caption, ChildFactory factory) {
    m_childFactories.insert(caption, std::move(factory));
}

void TForm_Main::registerDialog(const QString &caption, DialogRunner runner) {
    m_dialogs.insert(caption, std::move(runner));
}

void TForm_Main::runCommand(const QString &caption) {
    if (QAction *action = m_actions.value(caption))
        action->trigger();
}

void TForm_Main::notYetAvailable() {
    ShowInfo(QStringLiteral("此功能尚未提供，敬请期待！"));
}

void TForm_Main::openChild(const QString &caption) {
    if (activateChild(caption))
        return;
    const ChildFactory factory = m_childFactories.value(caption);
    if (!factory) {
        notYetAvailable();
        return;
    }
    QWidget *child = factory();
    child->setWindowTitle(caption);
    // A closed window leaves the frame at once, so that it is never found again.
    if (auto *form = qobject_cast<TChildForm *>(child))
        connect(form, &TChildForm::formClosed, this, [this, child] { m_children->removeWidget(child); });
    m_children->addWidget(child);
    showChild(child);
    addChildTab();
}

void TForm_Main::openDialog(const QString &caption) {
    const DialogRunner runner = m_dialogs.value(caption);
    if (!runner) {
        notYetAvailable();
        return;
    }
    runner(this);
}

QList<QWidget *> TForm_Main::childWindows() const {
    QList<QWidget *> children;
    for (int i = 0; i < m_children->count(); ++i)
        children.append(m_children->widget(i));
    return children;
}

QWidget *TForm_Main::activeChild() const {
    return m_children->currentWidget();
}

QWidget *TForm_Main::findChildWindow(const QString &caption) const {
    for (int i = 0; i < m_children->count(); ++i)
        if (m_children->widget(i)->windowTitle() == caption)
            return m_children->widget(i);
    return nullptr;
}

void TForm_Main::showChild(QWidget *child) {
    m_children->setUpdatesEnabled(false);
    m_children->setCurrentWidget(child);
    child->show();
    m_children->setUpdatesEnabled(true);
}

bool TForm_Main::activateChild(const QString &caption) {
    const int tab = caption == EntryCaption ? -1 : PageControlEx->findTab(TabCaptionOf(caption));
    if (tab >= 0)
        PageControlEx->setCurrentIndex(tab);
    QWidget *child = findChildWindow(caption);
    if (!child)
        return tab >= 0;
    showChild(child);
    return true;
}

void TForm_Main::addChildTab() {
    QWidget *child = activeChild();
    if (!child)
        return;
    const int index = PageControlEx->addTab(TabCaptionOf(child->windowTitle()));
    PageControlEx->setCurrentIndex(index);
}

void TForm_Main::showChildTab(bool show, const QString &caption) {
    const int index = PageControlEx->findTab(TabCaptionOf(caption));
    if (index < 0)
        return;
    if (show)
        PageControlEx->setCurrentIndex(index);
    else
        PageControlEx->removeTab(index);
}

void TForm_Main::closeActiveChild() {
    QWidget *child = activeChild();
    if (child && child->windowTitle() != EntryCaption && child->close())
        m_children->removeWidget(child);
}

void TForm_Main::PageControlExChange(int index) {
    if (index < 0)
        return;
    QString caption = PageControlEx->tabText(index);
    if (caption != EntryCaption)
        caption.chop(6);
    if (QWidget *child = findChildWindow(caption))
        showChild(child);
}

void TForm_Main::copyReceiptToEntry() {
    runCommand(EntryCaption);
    if (auto *entry = qobject_cast<TForm_SS_Sale *>(activeChild()))
        entry->N1Click();
}

void TForm_Main::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    if (!m_firstShown) {
        m_firstShown = true;
        FormFirstShow();
    }
}

void TForm_Main::FormFirstShow() {
    RunCommand([] { LoadCompanyInfo(); });
    RunCommand([this] { setWindowTitle(LoadAccountSettings()); });
    if (m_childFactories.contains(EntryCaption))
        openChild(EntryCaption);
    StatusPanels[2]->setText(TodayPanelText(Clock::today()));
    StatusPanels[3]->setText(QStringLiteral("姓名：") + OperatorName);
    StatusPanels[4]->setText(QStringLiteral("类型：") + OperatorType);
    updateStatusWidths();
    MainShown = true;
}

void TForm_Main::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    updateStatusWidths();
    ChildWidth = m_childArea->viewport()->width();
    ChildHeight = m_childArea->viewport()->height();
}

void TForm_Main::updateStatusWidths() {
    for (int i = 0; i < StatusPanels.size(); ++i) {
        QLabel *panel = StatusPanels[i];
        panel->setFixedWidth(width() * PanelPercent[i] / 100);
        // Centred while the text fits; otherwise its start stays readable and the whole text
        // is in the tool tip.
        const bool fits = panel->fontMetrics().horizontalAdvance(panel->text()) + 6 <= panel->width();
        panel->setAlignment(i > 0 && fits ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        panel->setToolTip(fits ? QString() : panel->text());
    }
}

void TForm_Main::closeEvent(QCloseEvent *event) {
    if (AskYesNo(QStringLiteral("是否确定退出？")))
        event->accept();
    else
        event->ignore();
}

void TForm_Main::changeOperator() {
    RunLoginDialog(2, this);
    if (LoginOk) {
        StatusPanels[3]->setText(QStringLiteral("姓名：") + OperatorName);
        StatusPanels[4]->setText(QStringLiteral("类型：") + OperatorType);
        updateStatusWidths();
    }
}

void TForm_Main::lockProgram() {
    RunLoginDialog(3, this);
}

void TForm_Main::openHelpPage(const QString &file) {
    OpenWithSystem(AppDir + QStringLiteral("/help/") + file);
}

void TForm_Main::startCalculator() {
    for (const char *program : {"gnome-calculator", "kcalc", "galculator", "mate-calc", "xcalc"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(program));
        if (!path.isEmpty()) {
            StartProgram(path);
            return;
        }
    }
    ShowInfo(QStringLiteral("没有找到计算器程序。"));
}
