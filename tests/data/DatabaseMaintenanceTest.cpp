// Backups, the checks of a database file, compaction, restore and the repair at start-up,
// including processes killed in the middle of a compaction or a restore.
#include "MaintenanceFiles.h"
#include "TestAppDir.h"

#include "data/DatabaseBackup.h"
#include "data/DatabaseCheck.h"
#include "data/DatabaseFile.h"
#include "data/DatabaseSwap.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/Sharedm2.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

using namespace MaintenanceFiles;

class DatabaseMaintenanceTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void backupIsAKeyedCheckedCopy();
    void backupReplacesAnEarlierOne();
    void failedBackupKeepsTheEarlierOne();
    void backupRefusesTheDatabaseItself();
    void dailyBackupCreatesItsFolderAndKeepsOnePerDay();

    void unfitFilesAreRefused_data();
    void unfitFilesAreRefused();
    void restoreRefusalLeavesEverythingAsItWas_data();
    void restoreRefusalLeavesEverythingAsItWas();
    void restoreBringsBackTheBackedUpRows();

    void compactionKeepsRowsAndPassword();
    void failedCompactionKeepsTheDatabase();

    void startUpRepairsAnInterruptedSwap_data();
    void startUpRepairsAnInterruptedSwap();
    void killedMidwayLeavesAUsableDatabase_data();
    void killedMidwayLeavesAUsableDatabase();
    void fullDiskKeepsTheDatabase();

private:
    QString file(const QString &name) const { return QDir(m_app->path()).filePath(name); }
    void writeFile(const QString &name, const QByteArray &bytes) const;
    QString makeBackup(const QString &name) const;

    std::unique_ptr<TestAppDir> m_app;
};

void DatabaseMaintenanceTest::init() {
    m_app = std::make_unique<TestAppDir>();
    addRows(30, QStringLiteral("初"));
}

void DatabaseMaintenanceTest::cleanup() {
    m_app.reset();
}

void DatabaseMaintenanceTest::writeFile(const QString &name, const QByteArray &bytes) const {
    QFile f(file(name));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QString DatabaseMaintenanceTest::makeBackup(const QString &name) const {
    const QString target = file(name);
    BackupDatabase(ShareDM1->ShareConn, target, TestAppDir::password());
    return target;
}

void DatabaseMaintenanceTest::backupIsAKeyedCheckedCopy() {
    const QString target = makeBackup("2014-02-20_data.bak");
    QCOMPARE(contentOf(target), sharedContent());
    CheckDatabaseFile(target, TestAppDir::password(), CheckDepth::Full);
    QVERIFY(!DatabaseOpens(target, "another password"));
    QVERIFY(!QFileInfo::exists(target + ".part"));
}

void DatabaseMaintenanceTest::backupReplacesAnEarlierOne() {
    const QString target = makeBackup("x.bak");
    addRows(5, "后");
    makeBackup("x.bak");
    QCOMPARE(contentOf(target), sharedContent());
}

void DatabaseMaintenanceTest::failedBackupKeepsTheEarlierOne() {
    const QString target = makeBackup("x.bak");
    const QByteArray before = hashOf(target);
    addRows(5, "后");
    // A folder where the temporary copy would go: the copy cannot be written.
    QVERIFY(QDir().mkpath(target + ".part/inside"));
    QVERIFY_THROWS_EXCEPTION(DbError, BackupDatabase(ShareDM1->ShareConn, target, TestAppDir::password()));
    QCOMPARE(hashOf(target), before);
}

void DatabaseMaintenanceTest::backupRefusesTheDatabaseItself() {
    const QByteArray before = hashOf(m_app->databasePath());
    try {
        BackupDatabase(ShareDM1->ShareConn, m_app->databasePath(), TestAppDir::password());
        QFAIL("the database was backed up over itself");
    } catch (const DbError &e) {
        QVERIFY2(e.message().contains("自己"), qPrintable(e.message()));
    }
    QCOMPARE(hashOf(m_app->databasePath()), before);
}

void DatabaseMaintenanceTest::dailyBackupCreatesItsFolderAndKeepsOnePerDay() {
    const QDate day(2014, 2, 20);
    QVERIFY(!QFileInfo::exists(file("自动备份数据")));
    WriteDailyBackup(ShareDM1->ShareConn, m_app->path(), day, TestAppDir::password());
    addRows(5, "后");
    WriteDailyBackup(ShareDM1->ShareConn, m_app->path(), day, TestAppDir::password());
    const QStringList files = QDir(file("自动备份数据")).entryList(QDir::Files);
    QCOMPARE(files, QStringList{"2014-02-20_data.bak"});
    QCOMPARE(DailyBackupPath(m_app->path(), day), file("自动备份数据/2014-02-20_data.bak"));
    QCOMPARE(contentOf(DailyBackupPath(m_app->path(), day)), sharedContent());
}

void DatabaseMaintenanceTest::unfitFilesAreRefused_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing"
                             << "不存在";
    QTest::newRow("text file") << "text"
                               << "不是本系统的数据库";
    QTest::newRow("empty file") << "empty"
                                << "空的";
    QTest::newRow("other password") << "password"
                                    << "密码";
    QTest::newRow("truncated copy") << "truncated"
                                    << "不完整";
    QTest::newRow("truncated at a page") << "truncated page"
                                         << "";
    QTest::newRow("another program's database") << "foreign"
                                                << "缺少本系统的数据表";
}

// Makes a file of the given kind under name; the check must refuse it.
static void makeUnfit(const QString &kind, const QString &path, const QString &goodBackup) {
    QFile f(path);
    if (kind == "missing")
        return;
    if (kind == "text" || kind == "empty") {
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (kind == "text")
            f.write(QByteArray("这不是数据库，只是一段文字。\n").repeated(400));
    } else if (kind == "password") {
        CreateDatabase(path, "another password");
    } else if (kind.startsWith("truncated")) {
        QFile good(goodBackup);
        QVERIFY(good.open(QIODevice::ReadOnly));
        const QByteArray bytes = good.readAll();
        QVERIFY(f.open(QIODevice::WriteOnly));
        qint64 size = bytes.size() * 2 / 3;
        size = kind.endsWith("page") ? size - size % 4096 : size + 100;
        f.write(bytes.left(size));
    } else if (kind == "foreign") {
        DbConnection other;
        other.openFile(path, TestAppDir::password(), true);
        other.executeNative("create table notes(id integer primary key, text varchar(50))");
    }
}

void DatabaseMaintenanceTest::unfitFilesAreRefused() {
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    addRows(300, "多"); // enough pages for a truncation to cut tables
    const QString good = makeBackup("good.bak");
    makeUnfit(kind, file("unfit.bak"), good);
    try {
        CheckDatabaseFile(file("unfit.bak"), TestAppDir::password(), CheckDepth::Full);
        QFAIL("an unfit file passed the check");
    } catch (const DbError &e) {
        QVERIFY2(e.message().contains(reason), qPrintable(e.message()));
    }
}

void DatabaseMaintenanceTest::restoreRefusalLeavesEverythingAsItWas_data() {
    unfitFilesAreRefused_data();
}

void DatabaseMaintenanceTest::restoreRefusalLeavesEverythingAsItWas() {
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    addRows(300, "多");
    const QString good = makeBackup("good.bak");
    makeUnfit(kind, file("unfit.bak"), good);
    const QByteArray before = hashOf(m_app->databasePath());
    const QString content = sharedContent();
    try {
        PrepareRestore(file("unfit.bak"), m_app->databasePath(), TestAppDir::password());
        QFAIL("an unfit file was accepted for a restore");
    } catch (const DbError &e) {
        QVERIFY2(e.message().contains(reason), qPrintable(e.message()));
    }
    QCOMPARE(hashOf(m_app->databasePath()), before);
    QCOMPARE(sharedContent(), content);
    QVERIFY(!QFileInfo::exists(CompactCopyPathOf(m_app->databasePath())));
    QVERIFY(!QFileInfo::exists(PreviousDatabasePathOf(m_app->databasePath())));
}

void DatabaseMaintenanceTest::restoreBringsBackTheBackedUpRows() {
    const QString backup = makeBackup("2014-02-20_data.bak");
    const QString backedUp = sharedContent();
    addRows(10, "后");
    TestAppDir::exec("delete from ss_saledetail where saleid<1010");
    TestAppDir::exec("update aa_goods set price=99 where goodsid=1005");
    QVERIFY(sharedContent() != backedUp);

    const QString copy = PrepareRestore(backup, m_app->databasePath(), TestAppDir::password());
    ShareDM1->ShareConn.close();
    SwapInDatabase(copy, m_app->databasePath(), TestAppDir::password());
    ShareDM1->ShareConn.open();
    QCOMPARE(sharedContent(), backedUp);
    QVERIFY(!QFileInfo::exists(copy));
    QVERIFY(!QFileInfo::exists(PreviousDatabasePathOf(m_app->databasePath())));
    QVERIFY(QFileInfo::exists(backup)); // the chosen file stays
}

void DatabaseMaintenanceTest::compactionKeepsRowsAndPassword() {
    addRows(400, "多");
    TestAppDir::exec("delete from ss_saledetail where saleid>1100");
    TestAppDir::exec("delete from aa_goods where goodsid>1100");
    TestAppDir::exec(
        "insert into pr_printcfg(stylename,defaultstyle,DefaultName,MydefineName,PrintFile,curno) "
        "values('二',0,'二','二','ss_sale2.fr3',2)");
    TestAppDir::exec("delete from pr_printcfg where stylename='二'");
    const QString content = sharedContent();
    const qint64 before = QFileInfo(m_app->databasePath()).size();
    ShareDM1->ShareConn.close();

    CompactDatabaseFile(m_app->databasePath(), TestAppDir::password());

    QVERIFY2(QFileInfo(m_app->databasePath()).size() < before, "the file did not shrink");
    QVERIFY(!DatabaseOpens(m_app->databasePath(), "another password"));
    CheckDatabaseFile(m_app->databasePath(), TestAppDir::password(), CheckDepth::Full);
    QVERIFY(!QFileInfo::exists(file("temp.mdb")));
    QVERIFY(!QFileInfo::exists(file("bak")));
    ShareDM1->ShareConn.open();
    QCOMPARE(sharedContent(), content);
    // The numbering of the database itself goes on where it was, not from the gap.
    TestAppDir::exec(
        "insert into pr_printcfg(stylename,defaultstyle,DefaultName,MydefineName,PrintFile,curno) "
        "values('三',0,'三','三','ss_sale3.fr3',3)");
    QCOMPARE(TestAppDir::value("select RecID from pr_printcfg where stylename='三'"), QString("3"));
}

void DatabaseMaintenanceTest::failedCompactionKeepsTheDatabase() {
    const QString content = sharedContent();
    ShareDM1->ShareConn.close();
    const QByteArray before = hashOf(m_app->databasePath());
    // temp.mdb cannot be written: a folder with something inside holds its name.
    QVERIFY(QDir().mkpath(file("temp.mdb/inside")));
    QVERIFY_THROWS_EXCEPTION(DbError, CompactDatabaseFile(m_app->databasePath(), TestAppDir::password()));
    QCOMPARE(hashOf(m_app->databasePath()), before);
    QVERIFY(!QFileInfo::exists(file("bak")));
    ShareDM1->ShareConn.open();
    QCOMPARE(sharedContent(), content);
}

void DatabaseMaintenanceTest::startUpRepairsAnInterruptedSwap_data() {
    QTest::addColumn<QString>("database"); // what the database file holds: old, new, junk, none
    QTest::addColumn<QString>("bak");      // old, none
    QTest::addColumn<bool>("tempLeft");
    QTest::addColumn<QString>("expected"); // old or new
    QTest::newRow("between the renames") << "none"
                                         << "old" << true << "old";
    QTest::newRow("after the renames") << "new"
                                       << "old" << false << "new";
    QTest::newRow("new file damaged") << "junk"
                                      << "old" << false << "old";
    QTest::newRow("copy left over") << "old"
                                    << "none" << true << "old";
}

void DatabaseMaintenanceTest::startUpRepairsAnInterruptedSwap() {
    QFETCH(QString, database);
    QFETCH(QString, bak);
    QFETCH(bool, tempLeft);
    QFETCH(QString, expected);
    const QString oldFile = makeBackup("old.bak");
    const QString oldContent = sharedContent();
    addRows(5, "新");
    const QString newFile = makeBackup("new.bak");
    const QString newContent = sharedContent();
    DisconnectDatabase();
    const QString db = m_app->databasePath();
    QFile::remove(db);
    if (database == "old" || database == "new")
        QVERIFY(QFile::copy(database == "old" ? oldFile : newFile, db));
    else if (database == "junk")
        writeFile(DatabaseFileName, "not a database");
    if (bak == "old")
        QVERIFY(QFile::copy(oldFile, file("bak")));
    if (tempLeft)
        writeFile("temp.mdb", "half a copy");

    RecoverDatabaseFiles(db, TestAppDir::password());

    QCOMPARE(contentOf(db), expected == "old" ? oldContent : newContent);
    QVERIFY(!QFileInfo::exists(file("bak")));
    QVERIFY(!QFileInfo::exists(file("temp.mdb")));
}

void DatabaseMaintenanceTest::killedMidwayLeavesAUsableDatabase_data() {
    QTest::addColumn<QString>("op");
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("newContent"); // the restored rows are in place after the repair
    for (int step = StepCopyWritten; step <= StepBakDeleted; ++step)
        QTest::addRow("compaction, step %d", step) << "compact" << step << false;
    for (int step = StepCopyStarted; step <= StepBakDeleted; ++step)
        QTest::addRow("restore, step %d", step) << "restore" << step << (step >= StepCopyToDatabase);
}

void DatabaseMaintenanceTest::killedMidwayLeavesAUsableDatabase() {
    QFETCH(QString, op);
    QFETCH(int, step);
    QFETCH(bool, newContent);
    addRows(600, "多"); // over a megabyte, so that a restore's copy has a middle
    const QString backup = makeBackup("restore.bak");
    const QString backedUp = sharedContent();
    addRows(20, "后");
    const QString current = sharedContent();
    DisconnectDatabase();

    QProcess child;
    child.start(QStringLiteral(MAINTENANCE_CHILD),
                {op, m_app->databasePath(), TestAppDir::password(), QString::number(step), backup});
    QVERIFY(child.waitForStarted());
    QByteArray said;
    while (!said.contains("STOP") && !said.contains("DONE") && !said.contains("FAILED") &&
           child.waitForReadyRead(30000))
        said += child.readAllStandardOutput();
    QVERIFY2(said.startsWith("STOP " + QByteArray::number(step)), said.constData());
    child.kill(); // SIGKILL: no clean-up of any kind
    QVERIFY(child.waitForFinished());

    // What the next start of the program does before it connects.
    RecoverDatabaseFiles(m_app->databasePath(), TestAppDir::password());
    CheckDatabaseFile(m_app->databasePath(), TestAppDir::password(), CheckDepth::Full);
    QCOMPARE(contentOf(m_app->databasePath()), newContent ? backedUp : current);
    QVERIFY(!QFileInfo::exists(file("bak")));
    QVERIFY(!QFileInfo::exists(file("temp.mdb")));
}

void DatabaseMaintenanceTest::fullDiskKeepsTheDatabase() {
    addRows(600, "多");
    const QString content = sharedContent();
    DisconnectDatabase();
    const QByteArray before = hashOf(m_app->databasePath());
    // Every file the child writes stops at 64 KB, as if the disk were full.
    QProcess child;
    child.start(QStringLiteral(MAINTENANCE_CHILD),
                {"compact", m_app->databasePath(), TestAppDir::password(), "0", QString(), "65536"});
    QVERIFY(child.waitForFinished(60000));
    const QByteArray said = child.readAllStandardOutput();
    QVERIFY2(said.startsWith("FAILED"), said.constData());
    QCOMPARE(child.exitCode(), 1);
    QCOMPARE(hashOf(m_app->databasePath()), before);
    QVERIFY(!QFileInfo::exists(file("temp.mdb")));
    QVERIFY(!QFileInfo::exists(file("bak")));
    QCOMPARE(contentOf(m_app->databasePath()), content);
}

QTEST_GUILESS_MAIN(DatabaseMaintenanceTest)
#include "DatabaseMaintenanceTest.moc"
