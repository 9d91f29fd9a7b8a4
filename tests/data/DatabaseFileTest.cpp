// Creating the database file: never a partial file under its name, whatever stops the creation.
#include "TestAppDir.h"

#include "data/DatabaseFile.h"
#include "data/DbConnection.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/Sharedm2.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

// Whether the directory's database opens as the program's and holds the rows of a new one.
QString openAsProgramDatabase(const QString &dir) {
    AppDir = dir;
    ConnString = BuildConnString(AppDir);
    try {
        ConnectDatabase();
        const QString rows = TestAppDir::rows("select name,type from aa_staff") + "/" +
                             TestAppDir::rows("select count(*) from xt_userloginpwd");
        DisconnectDatabase();
        return rows;
    } catch (const DbError &error) {
        DisconnectDatabase();
        return error.message();
    }
}

const QString newDatabaseRows = "管理员|管理员/1";

// Runs quillo-initdb to its end; its exit code.
int runInitdb(const QString &path) {
    QProcess initdb;
    initdb.start(QStringLiteral(QUILLO_INITDB), {path});
    return initdb.waitForFinished(60000) && initdb.exitStatus() == QProcess::NormalExit ? initdb.exitCode()
                                                                                        : -1;
}

} // namespace

class DatabaseFileTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void killedInitdbLeavesNoFileOrAWholeOne();
    void leftoversOfAnInterruptedCreationAreReplaced_data();
    void leftoversOfAnInterruptedCreationAreReplaced();
};

void DatabaseFileTest::cleanup() {
    DisconnectDatabase();
    ResetGlobals();
}

// quillo-initdb killed at moments spread over its whole run: under the database's name there
// is afterwards either no file or a complete database, and the next run creates one.
void DatabaseFileTest::killedInitdbLeavesNoFileOrAWholeOne() {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(DatabaseFileName);
    const auto clear = [&dir] {
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
            QFile::remove(QDir(dir.path()).filePath(name));
    };

    // How long a whole run takes here.
    QElapsedTimer whole;
    whole.start();
    QCOMPARE(runInitdb(path), 0);
    const qint64 runUs = whole.nsecsElapsed() / 1000;

    const int moments = 40;
    int killedWhileCreating = 0;
    for (int k = 0; k < moments; ++k) {
        clear();
        const qint64 delayUs = runUs * 5 / 4 * k / moments;
        QProcess initdb;
        initdb.start(QStringLiteral(QUILLO_INITDB), {path});
        QVERIFY(initdb.waitForStarted());
        QThread::usleep(static_cast<unsigned long>(delayUs));
        initdb.kill();
        QVERIFY(initdb.waitForFinished());
        const QString where = QStringLiteral("killed after %1 µs").arg(delayUs);

        if (QFile::exists(path)) {
            QVERIFY2(openAsProgramDatabase(dir.path()) == newDatabaseRows, qPrintable(where));
        } else if (QFile::exists(path + ".creating")) {
            // Only the temporary file is left: the next run is not stopped by it.
            ++killedWhileCreating;
            QCOMPARE(runInitdb(path), 0);
            QVERIFY2(openAsProgramDatabase(dir.path()) == newDatabaseRows, qPrintable(where));
            QVERIFY(!QFile::exists(path + ".creating"));
        }
    }
    QVERIFY2(killedWhileCreating > 0, "no kill fell into the creation");
}

// What a creation killed before the temporary name was used (an empty file with its journal)
// or after (the temporary file) does not stop the next creation.
void DatabaseFileTest::leftoversOfAnInterruptedCreationAreReplaced_data() {
    QTest::addColumn<QStringList>("leftovers");  // file names, each written with a few bytes…
    QTest::addColumn<QStringList>("emptyFiles"); // …or empty
    QTest::newRow("an empty database file and its journal")
        << QStringList{DatabaseFileName + "-journal"} << QStringList{DatabaseFileName};
    QTest::newRow("the temporary file and its journal")
        << QStringList{DatabaseFileName + ".creating", DatabaseFileName + ".creating-journal"}
        << QStringList();
}

void DatabaseFileTest::leftoversOfAnInterruptedCreationAreReplaced() {
    QFETCH(QStringList, leftovers);
    QFETCH(QStringList, emptyFiles);
    QTemporaryDir dir;
    for (const QString &name : leftovers + emptyFiles) {
        QFile file(QDir(dir.path()).filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (leftovers.contains(name))
            file.write("partly written");
    }
    CreateDatabase(QDir(dir.path()).filePath(DatabaseFileName), TestAppDir::password());
    QCOMPARE(openAsProgramDatabase(dir.path()), newDatabaseRows);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{DatabaseFileName});
}

QTEST_GUILESS_MAIN(DatabaseFileTest)
#include "DatabaseFileTest.moc"
