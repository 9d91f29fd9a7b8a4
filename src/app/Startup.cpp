#include "app/Startup.h"

#include "data/DbError.h"
#include "data/Globals.h"
#include "data/Sharedm2.h"
#include "ui/UiServices.h"

#include <QApplication>
#include <QDir>
#include <QFont>

int RunQuillo(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppTitle);
    // Print styles and forms name the classic Chinese fonts; Noto stands in for them.
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC"));
    QFont::insertSubstitution(QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"));

    AppDir = QDir::cleanPath(QCoreApplication::applicationDirPath());
    ConnString = BuildConnString(AppDir);
    try {
        ConnectDatabase();
    } catch (const DbError &error) {
        ShowError(error.message());
        return 0;
    }
    ShowInfo(QStringLiteral("数据库已打开：%1\r\n主窗口尚在建设中，程序将退出。")
                 .arg(QDir::toNativeSeparators(ShareDM1->ShareConn.fileName())));
    DisconnectDatabase();
    return 0;
}
