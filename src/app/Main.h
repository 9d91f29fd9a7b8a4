#pragma once

#include "ui/ChildTabHost.h"

#include <QHash>
#include <QMainWindow>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class LastInput;
class QStackedWidget;
class QTimer;
class QToolBar;
class TPageControlEx;

// The main window: menus and tool bar open every other window, work windows live as tabs
// of its tab strip, the status bar shows the date and the operator.
class TForm_Main : public QMainWindow, public ChildTabHost {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm_Main)

public:
    explicit TForm_Main(QWidget *parent = nullptr);
    ~TForm_Main() override;

    using ChildFactory = std::function<QWidget *()>;
    using DialogRunner = std::function<void(QWidget *owner)>;
    // The windows of the commands. A command whose window is not registered says so.
    void registerChildForm(const QString &caption, ChildFactory factory);
    void registerDialog(const QString &caption, DialogRunner runner);

    // Runs a menu command by its caption, as a click on its menu item would.
    void runCommand(const QString &caption);
    QAction *commandAction(const QString &caption) const { return m_actions.value(caption); }

    // The child windows in the frame's order, and the active one.
    QList<QWidget *> childWindows() const;
    QWidget *activeChild() const;

    // ChildTabHost
    bool activateChild(const QString &caption) override;
    void addChildTab() override;
    void showChildTab(bool show, const QString &caption) override;
    void closeActiveChild() override;
    void copyReceiptToEntry() override;

    QToolBar *ToolBar1;
    TPageControlEx *PageControlEx;
    QWidget *StatusBar1;
    QList<QLabel *> StatusPanels;
    // The idle lock's timer: every 10 s while the window is in use.
    QTimer *LockTM;

public slots:
    void PageControlExChange(int index);
    void LockTMTimer();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormFirstShow();
    void buildMenus();
    void buildToolBar();
    void openChild(const QString &caption);
    void openDialog(const QString &caption);
    void notYetAvailable();
    void showChild(QWidget *child);
    QWidget *findChildWindow(const QString &caption) const;
    void updateStatusWidths();
    void changeOperator();
    void lockProgram();
    void openHelpPage(const QString &file);
    void startCalculator();
    QAction *addCommand(QMenu *menu, const QString &caption, const std::function<void()> &run);
    QAction *addChildCommand(QMenu *menu, const QString &caption);
    QAction *addDialogCommand(QMenu *menu, const QString &caption);

    QStackedWidget *m_children;
    QScrollArea *m_childArea;
    QHash<QString, QAction *> m_actions;
    QHash<QString, ChildFactory> m_childFactories;
    QHash<QString, DialogRunner> m_dialogs;
    LastInput *m_lastInput;
    bool m_firstShown = false;
};
