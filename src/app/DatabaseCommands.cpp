#include "app/DatabaseCommands.h"

#include "app/SingleInstance.h"
#include "data/Clock.h"
#include "data/DatabaseBackup.h"
#include "data/DatabaseSwap.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/Sharedm2.h"
#include "ui/UiServices.h"
#include "ui/Xt_myhint.h"

#include <QCoreApplication>
#include <QFileInfo>

const QString RestoreWarning = QStringLiteral(
    "只能用于同一个版本的数据恢复，不同版本的数据不能恢复\n\n★★特别提醒：该功能不可用于数据升级★★"
    "\n\n数据更新将会覆盖现有所有数据，确定继续吗？");

namespace {
const QString BackupFilter = QStringLiteral("*.bak (*.bak *.BAK)");

ConnectionParams database() {
    return DbConnection::parseConnectionString(ConnString);
}

DbConnection &connection() {
    return ShareDM1->ShareConn;
}

// After a restore: this copy gives up the single-instance lock first, so that the new one
// it starts is not turned away, and then ends at once.
void restartProgram() {
    SingleInstance::releaseHeld();
    StartProgram(QCoreApplication::applicationFilePath());
    TerminateProgram(0);
}
} // namespace

void BackupDatabaseCommand() {
    const QString target = SaveFileName(QStringLiteral("备份数据库"),
                                        AppDir + u'/' + BackupFileName(Clock::today()), BackupFilter);
    if (target.isEmpty())
        return;
    try {
        const WaitBannerShown banner(QStringLiteral("正在备份数据，请稍候......"));
        BackupDatabase(connection(), target, database().password);
    } catch (const DbError &error) {
        ShowInfo(QStringLiteral("备份失败！\r\n原因：") + error.message());
        return;
    }
    ShowInfo(QStringLiteral("备份成功！"));
}

void RestoreDatabaseCommand() {
    if (!AskConfirm(InfoCaption, RestoreWarning))
        return;
    const QString chosen = OpenFileName(QStringLiteral("恢复数据库"), QString(), BackupFilter);
    if (chosen.isEmpty() || !QFileInfo::exists(chosen))
        return;
    const ConnectionParams db = database();
    {
        WaitBannerShown banner(QStringLiteral("正在恢复数据，请稍候......"));
        QString copy;
        try {
            copy = PrepareRestore(chosen, db.dataSource, db.password);
        } catch (const DbError &error) {
            HideWaitBanner();
            ShowInfo(QStringLiteral("恢复失败！所选文件不能用来恢复。\r\n原因：") + error.message() +
                     QStringLiteral("\r\n现有数据没有任何改动。"));
            return;
        }
        // Never replace the file under an open connection.
        connection().close();
        try {
            SwapInDatabase(copy, db.dataSource, db.password);
            connection().open();
        } catch (const DbError &error) {
            HideWaitBanner();
            if (!connection().isOpen())
                connection().open();
            ShowInfo(QStringLiteral("恢复过程中出现异常！请退出系统再试一次。\r\n原因：") + error.message());
            return;
        }
    }
    ShowInfo(QStringLiteral("恢复成功！系统将退出，请重新登录！"));
    connection().close();
    restartProgram();
}

void CompactDatabaseCommand() {
    const ConnectionParams db = database();
    QString failure;
    {
        const WaitBannerShown banner(QStringLiteral("正在压缩数据，请稍候......"));
        connection().close();
        try {
            CompactDatabaseFile(db.dataSource, db.password);
        } catch (const DbError &error) {
            failure = error.message();
        }
        connection().open();
    }
    ShowInfo(failure.isEmpty() ? QStringLiteral("压缩成功！")
                               : QStringLiteral("压缩失败！\r\n原因：") + failure);
}

bool WriteExitBackup() {
    try {
        const WaitBannerShown banner(QStringLiteral("正在备份数据，请稍候......"));
        WriteDailyBackup(connection(), AppDir, Clock::today(), database().password);
        return true;
    } catch (const DbError &error) {
        ShowInfo(QStringLiteral("自动备份数据失败！\r\n原因：") + error.message());
        return false;
    }
}
