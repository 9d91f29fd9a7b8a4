#include "GuiFixture.h"

#include "app/Main.h"
#include "app/OperatorLogin.h"
#include "app/WorkWindows.h"
#include "data/Globals.h"
#include "data/SchemaUpgrade.h"

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
