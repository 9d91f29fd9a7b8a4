// The main window's housekeeping: the idle lock, backup, restore, compaction, the exit with
// its daily backup, the installation folder and the calculator.
#include "GuiFixture.h"
#include "MaintenanceFiles.h"

#include "app/Main.h"
#include "app/SingleInstance.h"
#include "app/Xt_userlogin.h"
#include "data/Clock.h"
#include "data/DatabaseBackup.h"
#include "data/DatabaseFile.h"
#include "data/DatabaseSwap.h"
#include "data/Globals.h"
#include "data/Sharedm2.h"
#include "ui/Xt_myhint.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace MaintenanceFiles;

namespace {
// Unlocks every lock dialog that opens, noting when (on the tick count) and under which
// caption.
class LockWatch {
public:
    LockWatch() {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto *login = qobject_cast<TForm_XT_UserLogin *>(QApplication::activeModalWidget());
            if (!login || !login->isVisible())
                return;
            locks.append(Clock::tickCount());
            captions.append(login->windowTitle());
            login->MaskEdit1->clear();
            login->BitBtn1->click();
        });
        m_timer.start();
    }
    QList<quint32> locks;
    QStringList captions;

private:
    QTimer m_timer;
};

// What the wait banner showed while a compaction was between its steps.
QStringList bannerDuringSteps;
void noteBanner(int) {
    bannerDuringSteps.append(Form_XT_MyHint && Form_XT_MyHint->isVisible()
                                 ? Form_XT_MyHint->StaticText1->text()
                                 : QString("hidden"));
}
} // namespace

class MaintenanceCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void idleLockComesOnAfterTheSetMinutes_data();
    void idleLockComesOnAfterTheSetMinutes();
    void inputPutsTheLockOff();
    void noIdleMinutesNeverLocksButF12Does();

    void exitQuestionNoKeepsRunning();
    void exitWritesOneBackupADay();
    void failedExitBackupIsReported();

    void backupCommand();
    void backupCancelled();
    void failedBackupSaysWhy();

    void restoreAsksFirst();
    void restoreBringsBackTheRowsAndRestarts();
    void restoreRefusesUnfitFiles_data();
    void restoreRefusesUnfitFiles();

    void compactionCommand();
    void failedCompactionKeepsWorking();

    void installationFolder();
    void calculator_data();
    void calculator();

private:
    // Runs the idle test as LockTM would, every 10 s of the tick count, for seconds seconds.
    void runTimer(int seconds);
    QString file(const QString &name) const { return QDir(m_fx->app.path()).filePath(name); }

    std::unique_ptr<GuiFixture> m_fx;
    TForm_Main *m_main = nullptr;
};

void MaintenanceCommandsTest::init() {
    Clock::setFixed(QDateTime(QDate(2014, 2, 20), QTime(9, 0)));
    Clock::setTickCount(4000000000u); // wraps around during the longer tests
    m_fx = std::make_unique<GuiFixture>();
    addRows(20, "初");
    m_main = m_fx->mainWindow();
}

void MaintenanceCommandsTest::cleanup() {
    m_main = nullptr;
    m_fx.reset();
    SetMaintenanceHook(nullptr);
}

void MaintenanceCommandsTest::runTimer(int seconds) {
    for (int t = 0; t < seconds; t += 10) {
        Clock::advanceTicks(10000);
        m_main->LockTMTimer();
    }
}

void MaintenanceCommandsTest::idleLockComesOnAfterTheSetMinutes_data() {
    QTest::addColumn<int>("phaseMs"); // time from the last input to the timer's next look
    for (int phase : {0, 1, 4999, 9999})
        QTest::addRow("timer %d ms after the input", phase) << phase;
}

void MaintenanceCommandsTest::idleLockComesOnAfterTheSetMinutes() {
    QFETCH(int, phaseMs);
    IdleMinutes = 1;
    QVERIFY(m_main->LockTM->isActive());
    QCOMPARE(m_main->LockTM->interval(), 10000);
    LockWatch watch;
    QTest::mouseMove(m_main, QPoint(50, 50));
    const quint32 input = Clock::tickCount();
    Clock::advanceTicks(phaseMs);
    m_main->LockTMTimer();
    runTimer(80);
    QCOMPARE(watch.locks.size(), 1);
    const quint32 idle = watch.locks.first() - input;
    QVERIFY2(idle >= 60000 && idle < 70000, qPrintable(QString::number(idle)));
    QCOMPARE(watch.captions.first(), QString("离开锁定"));
    QVERIFY(m_main->LockTM->isActive()); // started again after the unlock
}

void MaintenanceCommandsTest::inputPutsTheLockOff() {
    IdleMinutes = 1;
    LockWatch watch;
    QTest::mouseMove(m_main, QPoint(50, 50));
    runTimer(50);
    QTest::keyClick(m_main, Qt::Key_Shift);
    const quint32 input = Clock::tickCount();
    runTimer(50);
    QVERIFY(watch.locks.isEmpty());
    runTimer(20);
    QCOMPARE(watch.locks.size(), 1);
    QVERIFY(watch.locks.first() - input >= 60000);
}

void MaintenanceCommandsTest::noIdleMinutesNeverLocksButF12Does() {
    IdleMinutes = 0;
    LockWatch watch;
    runTimer(3 * 3600);
    QVERIFY(watch.locks.isEmpty());
    QAction *lock = m_main->commandAction("离开锁定");
    QCOMPARE(lock->shortcut(), QKeySequence(Qt::Key_F12));
    lock->trigger();
    QCOMPARE(watch.captions, QStringList{"离开锁定"});
    QVERIFY(m_main->LockTM->isActive());
}

void MaintenanceCommandsTest::exitQuestionNoKeepsRunning() {
    IdleMinutes = 1;
    m_fx->answerNext(UiServices::Answer::No);
    QVERIFY(!m_main->close());
    QVERIFY(m_main->isVisible());
    QCOMPARE(m_fx->ui.lastText(), QString("是否确定退出？"));
    QVERIFY(m_main->LockTM->isActive());
    QVERIFY(!QFileInfo::exists(file("自动备份数据")));
    LockWatch watch;
    runTimer(70);
    QCOMPARE(watch.locks.size(), 1);
}

void MaintenanceCommandsTest::exitWritesOneBackupADay() {
    QVERIFY(!QFileInfo::exists(file("自动备份数据")));
    m_fx->answerNext(UiServices::Answer::Yes);
    QVERIFY(m_main->close());
    addRows(5, "后");
    const QString later = sharedContent();
    m_main->show();
    m_fx->answerNext(UiServices::Answer::Yes);
    QVERIFY(m_main->close());
    QCOMPARE(QDir(file("自动备份数据")).entryList(QDir::Files), QStringList{"2014-02-20_data.bak"});
    QCOMPARE(contentOf(file("自动备份数据/2014-02-20_data.bak")), later);
    QCOMPARE(m_fx->ui.texts(), QStringList({"是否确定退出？", "是否确定退出？"}));
}

void MaintenanceCommandsTest::failedExitBackupIsReported() {
    // A file where the folder belongs: the folder cannot be made.
    QFile blocker(file("自动备份数据"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    m_fx->answerNext(UiServices::Answer::Yes);
    QVERIFY(m_main->close());
    QVERIFY2(m_fx->ui.lastText().startsWith("自动备份数据失败！\r\n原因："), qPrintable(m_fx->ui.lastText()));
}

void MaintenanceCommandsTest::backupCommand() {
    const QString target = file("手工备份.bak");
    m_fx->ui.answerFileName(target);
    m_main->runCommand("备份数据库");
    QCOMPARE(m_fx->ui.shown().first().kind, UiServices::Kind::SaveFile);
    QCOMPARE(m_fx->ui.lastText(), QString("备份成功！"));
    QCOMPARE(contentOf(target), sharedContent());
    QVERIFY(!Form_XT_MyHint->isVisible());
}

void MaintenanceCommandsTest::backupCancelled() {
    m_fx->ui.answerFileName(QString());
    m_main->runCommand("备份数据库");
    QCOMPARE(m_fx->ui.shown().size(), 1);
}

void MaintenanceCommandsTest::failedBackupSaysWhy() {
    m_fx->ui.answerFileName(file("没有的文件夹/x.bak"));
    m_main->runCommand("备份数据库");
    QVERIFY2(m_fx->ui.lastText().startsWith("备份失败！\r\n原因："), qPrintable(m_fx->ui.lastText()));
    QVERIFY(!m_fx->ui.texts().contains("备份成功！"));
}

void MaintenanceCommandsTest::restoreAsksFirst() {
    const QByteArray before = hashOf(m_fx->app.databasePath());
    m_fx->answerNext(UiServices::Answer::Cancel);
    m_main->runCommand("恢复数据库");
    QCOMPARE(m_fx->ui.shown().size(), 1); // the warning, and no file dialog after it
    const auto &warning = m_fx->ui.shown().first();
    QCOMPARE(warning.kind, UiServices::Kind::Confirm);
    QCOMPARE(warning.caption, QString("提示"));
    QCOMPARE(warning.text,
             QString("只能用于同一个版本的数据恢复，不同版本的数据不能恢复\n\n★★特别提醒：该功能不可用于"
                     "数据升级★★\n\n数据更新将会覆盖现有所有数据，确定继续吗？"));
    QCOMPARE(hashOf(m_fx->app.databasePath()), before);
}

void MaintenanceCommandsTest::restoreBringsBackTheRowsAndRestarts() {
    SingleInstance instance(AppTitle);
    if (!instance.acquire())
        QSKIP("a copy of the program is running on this machine");
    const QString backup = file("2014-02-20_data.bak");
    BackupDatabase(ShareDM1->ShareConn, backup, TestAppDir::password());
    const QString backedUp = sharedContent();
    addRows(10, "后");
    TestAppDir::exec("delete from ss_saledetail where saleid<1010");

    m_fx->answerNext(UiServices::Answer::Yes);
    m_fx->ui.answerFileName(backup);
    m_fx->ui.answerLaunch(true);
    m_main->runCommand("恢复数据库");

    const QList<ScriptedUiServices::Shown> shown = m_fx->ui.shown();
    QCOMPARE(shown.size(), 5);
    QCOMPARE(shown[2].text, QString("恢复成功！系统将退出，请重新登录！"));
    QCOMPARE(shown[3].kind, UiServices::Kind::Start);
    QCOMPARE(shown[3].text, QCoreApplication::applicationFilePath());
    QCOMPARE(shown[4].kind, UiServices::Kind::Terminate);
    QCOMPARE(m_fx->ui.terminatedWith(), 0);
    // The new copy finds the single-instance lock free.
    SingleInstance newCopy(AppTitle);
    QVERIFY(newCopy.acquire());
    QVERIFY(!ShareDM1->ShareConn.isOpen());
    QCOMPARE(contentOf(m_fx->app.databasePath()), backedUp);
    QVERIFY(!QFileInfo::exists(file("bak")));
    QVERIFY(!QFileInfo::exists(file("temp.mdb")));
}

void MaintenanceCommandsTest::restoreRefusesUnfitFiles_data() {
    QTest::addColumn<QByteArray>("bytes"); // empty with otherPassword false: an empty file
    QTest::addColumn<bool>("otherPassword");
    QTest::addColumn<QString>("reason");
    QTest::newRow("text file") << QByteArray("收据\n").repeated(5000) << false << "不是本系统的数据库";
    QTest::newRow("empty file") << QByteArray() << false << "文件是空的";
    QTest::newRow("another password") << QByteArray() << true << "密码";
}

void MaintenanceCommandsTest::restoreRefusesUnfitFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, otherPassword);
    QFETCH(QString, reason);
    const QString chosen = file("unfit.bak");
    if (otherPassword) {
        CreateDatabase(chosen, "another password");
    } else {
        QFile f(chosen);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    const QByteArray before = hashOf(m_fx->app.databasePath());
    const QString content = sharedContent();
    m_fx->answerNext(UiServices::Answer::Yes);
    m_fx->ui.answerFileName(chosen);
    m_main->runCommand("恢复数据库");
    const QString message = m_fx->ui.lastText();
    QVERIFY2(message.startsWith("恢复失败！") && message.contains(reason) &&
                 message.endsWith("现有数据没有任何改动。"),
             qPrintable(message));
    QCOMPARE(m_fx->ui.terminatedWith(), -1);
    QVERIFY(m_fx->ui.launches().isEmpty());
    QCOMPARE(hashOf(m_fx->app.databasePath()), before);
    QCOMPARE(sharedContent(), content); // and still connected
}

void MaintenanceCommandsTest::compactionCommand() {
    addRows(300, "多");
    TestAppDir::exec("delete from ss_saledetail where saleid>1050");
    const QString content = sharedContent();
    const qint64 before = QFileInfo(m_fx->app.databasePath()).size();
    bannerDuringSteps.clear();
    SetMaintenanceHook(noteBanner);
    m_main->runCommand("压缩数据库");
    QCOMPARE(m_fx->ui.texts(), QStringList{"压缩成功！"});
    QVERIFY(!bannerDuringSteps.isEmpty());
    for (const QString &text : std::as_const(bannerDuringSteps))
        QCOMPARE(text, QString("正在压缩数据，请稍候......"));
    QVERIFY(!Form_XT_MyHint->isVisible());
    QCOMPARE(Form_XT_MyHint->StaticText1->text(), QString("正在加载数据，请稍候......"));
    QVERIFY(QFileInfo(m_fx->app.databasePath()).size() < before);
    QVERIFY(!QFileInfo::exists(file("temp.mdb")));
    QVERIFY(!QFileInfo::exists(file("bak")));
    QCOMPARE(sharedContent(), content); // reconnected, with the password
}

void MaintenanceCommandsTest::failedCompactionKeepsWorking() {
    const QString content = sharedContent();
    QVERIFY(QDir().mkpath(file("temp.mdb/inside")));
    m_main->runCommand("压缩数据库");
    QVERIFY2(m_fx->ui.lastText().startsWith("压缩失败！\r\n原因："), qPrintable(m_fx->ui.lastText()));
    QCOMPARE(sharedContent(), content);
    QVERIFY(!QFileInfo::exists(file("bak")));
}

void MaintenanceCommandsTest::installationFolder() {
    m_fx->ui.answerLaunch(true);
    m_main->runCommand("安装目录");
    QCOMPARE(m_fx->ui.shown().last().kind, UiServices::Kind::Open);
    QCOMPARE(m_fx->ui.launches(), QList<QStringList>{{AppDir}});
}

void MaintenanceCommandsTest::calculator_data() {
    QTest::addColumn<QString>("installed"); // the calculator on the path, or none
    QTest::newRow("installed") << "galculator";
    QTest::newRow("none") << QString();
}

void MaintenanceCommandsTest::calculator() {
    QFETCH(QString, installed);
    const QString bin = file("bin");
    QVERIFY(QDir().mkpath(bin));
    if (!installed.isEmpty()) {
        QFile program(bin + "/" + installed);
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.write("#!/bin/sh\n");
        program.close();
        program.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        m_fx->ui.answerLaunch(true);
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.toLocal8Bit());
    m_main->runCommand("计算器");
    qputenv("PATH", path);
    if (installed.isEmpty())
        QCOMPARE(m_fx->ui.texts(), QStringList{"没有找到计算器程序。"});
    else
        QCOMPARE(m_fx->ui.launches(), QList<QStringList>{{bin + "/" + installed}});
}

QTEST_MAIN(MaintenanceCommandsTest)
#include "MaintenanceCommandsTest.moc"
