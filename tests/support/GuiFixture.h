#pragma once

#include "ScriptedUiServices.h"
#include "TestAppDir.h"

#include <QTest>
#include <memory>

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

private:
    std::unique_ptr<TForm_Main> m_main;
};
