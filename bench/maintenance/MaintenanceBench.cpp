// Maintenance benchmark: "备份数据库", "压缩数据库" and the daily backup at the end of the
// program, run as the commands run them (wait banner shown) on a copy of a large database.
#include "BenchDatabase.h"

#include "app/DatabaseCommands.h"
#include "data/Globals.h"
#include "data/Sharedm2.h"
#include "ui/UiServices.h"
#include "ui/Xt_myhint.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <ctime>

namespace {
QTextStream out(stdout);

// The user of the benchmark: answers the backup's file dialog, prints every message.
class BenchUiServices : public UiServices {
public:
    QString backupTarget;
    QStringList messages;

    void message(Kind, const QString &, const QString &text) override { messages.append(text); }
    Answer question(Kind, const QString &, const QString &) override { return Answer::Yes; }
    bool input(const QString &, const QString &, QString &) override { return false; }
    QString fileName(Kind, const QString &, const QString &, const QString &) override {
        return backupTarget;
    }
    bool launch(Kind, const QString &, const QStringList &) override { return false; }
    void terminateProcess(int) override {}
};

struct Sample {
    double wallMs;
    double cpuMs;
};

template <typename Run>
void timeIt(const QString &what, int rounds, double limitMs, BenchUiServices &ui, Run run) {
    QList<Sample> samples;
    for (int i = 0; i < rounds; ++i) {
        ui.messages.clear();
        QElapsedTimer wall;
        const std::clock_t cpu = std::clock();
        wall.start();
        run();
        samples.append({wall.nsecsElapsed() / 1e6, (std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC});
    }
    std::sort(samples.begin(), samples.end(),
              [](const Sample &a, const Sample &b) { return a.wallMs < b.wallMs; });
    const Sample median = samples[samples.size() / 2];
    out << what << ": " << QString::number(median.wallMs, 'f', 0) << " ms wall, "
        << QString::number(median.cpuMs, 'f', 0) << " ms CPU (median of " << rounds << "; limit " << limitMs
        << " ms); said: "
        << ui.messages.join(QStringLiteral(" / ")).replace(QStringLiteral("\r\n"), QStringLiteral(" "))
        << '\n';
    out.flush();
}
} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.size() > 2) {
        QTextStream(stderr) << "usage: quillo-bench-maintenance DIR [ROUNDS] (DIR holds " << DatabaseFileName
                            << ", e.g. one made by quillo-bench generate)\n";
        return 2;
    }
    const int rounds = args.size() > 1 ? qMax(1, args[1].toInt()) : 3;
    const QString source = QDir(args[0]).filePath(DatabaseFileName);
    QTemporaryDir copy;
    if (!UseCopyOfBenchDatabase(args[0], copy.path()))
        return 1;
    BenchUiServices ui;
    UiServices::install(&ui);
    ConnectDatabase();
    TForm_XT_MyHint banner;
    Form_XT_MyHint = &banner;
    out << "database: " << QFileInfo(source).size() / (1024 * 1024) << " MB (a copy of " << source << ")\n";

    ui.backupTarget = QDir(copy.path()).filePath(QStringLiteral("手工备份_data.bak"));
    timeIt(QStringLiteral("备份数据库 (online backup + integrity check)"), rounds, 3000, ui,
           [] { BackupDatabaseCommand(); });
    timeIt(QStringLiteral("压缩数据库 (export + quick check + swap + reconnect)"), rounds, 3000, ui,
           [] { CompactDatabaseCommand(); });
    timeIt(QStringLiteral("exit backup into 自动备份数据 (copy + quick check)"), rounds, 1000, ui,
           [] { WriteExitBackup(); });
    out << "database after compaction: "
        << QFileInfo(QDir(copy.path()).filePath(DatabaseFileName)).size() / (1024 * 1024) << " MB\n";
    Form_XT_MyHint = nullptr;
    DisconnectDatabase();
    UiServices::install(nullptr);
    return 0;
}
