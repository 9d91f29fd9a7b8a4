// A child process for the crash tests: runs a compaction or a restore on database files and,
// at the step named on its command line, says so and waits to be killed. With a size limit
// every file it writes stops growing there, as on a full disk.
#include "data/DatabaseSwap.h"
#include "data/DbError.h"

#include <QString>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <unistd.h>

namespace {
int stopAt = 0;

void stopHere(int step) {
    if (step != stopAt)
        return;
    std::printf("STOP %d\n", step);
    std::fflush(stdout);
    for (;;)
        pause();
}
} // namespace

int main(int argc, char *argv[]) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s compact|restore database password step [chosen] [size-limit]\n",
                     argv[0]);
        return 2;
    }
    const QString op = QString::fromLocal8Bit(argv[1]);
    const QString database = QString::fromLocal8Bit(argv[2]);
    const QString password = QString::fromLocal8Bit(argv[3]);
    stopAt = std::atoi(argv[4]);
    const QString chosen = argc > 5 ? QString::fromLocal8Bit(argv[5]) : QString();
    if (argc > 6) {
        const rlim_t limit = std::strtoull(argv[6], nullptr, 10);
        const rlimit sizeLimit{limit, limit};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &sizeLimit);
    }
    SetMaintenanceHook(stopHere);
    try {
        if (op == QStringLiteral("compact")) {
            CompactDatabaseFile(database, password);
        } else {
            const QString copy = PrepareRestore(chosen, database, password);
            SwapInDatabase(copy, database, password);
        }
    } catch (const DbError &error) {
        std::printf("FAILED %s\n", error.message().toUtf8().constData());
        return 1;
    }
    std::printf("DONE\n");
    return 0;
}
