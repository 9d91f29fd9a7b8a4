#include "GuiFixture.h"

#include "app/Main.h"
#include "app/OperatorLogin.h"
#include "app/WorkWindows.h"
#include "data/Globals.h"
#include "data/SchemaUpgrade.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QPointer>
#include <QTimer>

GuiFixture::GuiFixture() {
    UpgradeSchema();
    login(QStringLiteral("管理员"));
}

GuiFixture::~GuiFixture() {
    m_main.reset();
}

void GuiFixture::login(const QString &name, const QString &password) {
    if (CheckLogin(name, password) != LoginCheck::Ok)
        QTest::qFail(qPrintable(QStringLiteral("cannot log in as %1").arg(name)), __FILE__, __LINE__);
    LoginOk = true;
}

TForm_Main *GuiFixture::mainWindow() {
    if (!m_main) {
        m_main = CreateMainForms();
        m_main->resize(1024, 700);
        m_main->show();
    }
    return m_main.get();
}

void GuiFixture::type(QWidget *widget, const QString &text) {
    // Chinese text arrives as key events carrying the text, as an input method delivers it.
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void GuiFixture::pressEnter(QWidget *widget) {
    QTest::keyClick(widget, Qt::Key_Return);
}

void GuiFixture::onNextModal(std::function<void(QDialog *)> handler) {
    ++m_pendingModals;
    // Polls from the event loop the modal dialog runs; gives up after ten seconds.
    auto deadline = std::make_shared<QDeadlineTimer>(10000);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [this, handler, deadline, poll]() {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            if (deadline->hasExpired()) {
                *poll = nullptr; // breaks the cycle
                return;
            }
            QTimer::singleShot(10, *poll);
            return;
        }
        --m_pendingModals;
        QPointer<QDialog> guard(dialog);
        handler(dialog);
        if (guard && guard->isVisible())
            guard->reject();
        *poll = nullptr;
    };
    QTimer::singleShot(0, *poll);
}

void GuiFixture::expectModalHandled() {
    if (m_pendingModals > 0) {
        m_pendingModals = 0;
        QTest::qFail("the expected modal dialog did not open", __FILE__, __LINE__);
    }
}
