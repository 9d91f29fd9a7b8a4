#pragma once

#include "ScriptedUiServices.h"
#include "TestAppDir.h"

#include <QTest>
#include <functional>
#include <memory>

class QDialog;
class QWidget;
class TForm_Main;

// What a form test stands on: a fresh application directory and database brought up to date
// as the login does, an operator logged in (管理员 unless the test logs in another), the
// scripted user, and, on request, the real main window with its service windows.
class GuiFixture {
public:
    GuiFixture();
    ~GuiFixture();
    GuiFixture(const GuiFixture &) = delete;
    GuiFixture &operator=(const GuiFixture &) = delete;

    TestAppDir app;
    ScriptedUiServices ui;

    // Logs an operator in as the login dialog does; fails the test when it cannot.
    void login(const QString &name, const QString &password = QString());
    // The main window, created and shown (first-show steps run) on the first call.
    TForm_Main *mainWindow();
    // Queues the answer to the next question.
    void answerNext(UiServices::Answer answer) { ui.answer(answer); }

    // A control by objectName below root; nullptr when there is none.
    template <typename T = QWidget> static T *find(const QObject *root, const QString &name) {
        return root->findChild<T *>(name);
    }
    static void type(QWidget *widget, const QString &text);
    static void pressEnter(QWidget *widget);

    // Runs handler on the next modal dialog that opens (the edit dialogs, the failure list),
    // once it is shown and before the command that opened it goes on. The handler inspects
    // the dialog's widgets and closes it (accept, reject, a click on one of its buttons).
    // A dialog still open after the handler is rejected, so a test never hangs; a dialog
    // that never opens fails the test at the next expectModalHandled().
    void onNextModal(std::function<void(QDialog *)> handler);
    // Fails the test when a handler given to onNextModal() has not run.
    void expectModalHandled();

private:
    std::unique_ptr<TForm_Main> m_main;
    int m_pendingModals = 0;
};
