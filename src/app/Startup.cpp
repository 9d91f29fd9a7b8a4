#include "app/Startup.h"

#include "app/Company.h"
#include "app/CompanyInfo.h"
#include "app/Main.h"
#include "app/QuilloApplication.h"
#include "app/SingleInstance.h"
#include "app/WorkWindows.h"
#include "app/Xt_userlogin.h"
#include "data/Globals.h"
#include "data/Sharedm2.h"
#include "printing/report/FontSubstitutions.h"
#include "ui/CommandGuard.h"

#include <QDir>
#include <QLocale>
#include <QScreen>
#include <memory>

void NameApplication() {
    QApplication::setApplicationName(AppTitle);
}

int RunQuillo(int argc, char *argv[]) {
    QuilloApplication app(argc, argv);
    // Dates are always written yyyy-mm-dd and times hh:mm:ss, whatever the user's regional
    // settings: the program names these formats wherever it converts a date.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    AppDir = QDir::cleanPath(QCoreApplication::applicationDirPath());
    ConnString = BuildConnString(AppDir);
    NameApplication();
    QApplication::setQuitOnLastWindowClosed(true);
    // Print styles and forms name the classic Chinese fonts; installed CJK faces stand in.
    InstallFontSubstitutions();

    // One copy at a time: a second start ends silently.
    SingleInstance instance(AppTitle);
    if (!instance.acquire())
        return 0;

    std::unique_ptr<TForm_Main> mainForm;
    const bool started = RunCommand([&] {
        ConnectDatabase();
        RunLoginDialog(1, nullptr);
        if (!LoginOk)
            return;
        if (FirstRunPromptDue()) {
            TFrm_Company company(nullptr);
            company.setShowSavedMessage(false);
            company.makeFirstRunPrompt();
            company.exec();
        }
        mainForm = CreateMainForms();
        // Maximised; the geometry is given as well for desktops without a window manager.
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            mainForm->setGeometry(screen->availableGeometry());
        mainForm->showMaximized();
    });
    if (started && mainForm)
        QApplication::exec();
    mainForm.reset();
    DisconnectDatabase();
    return 0;
}
