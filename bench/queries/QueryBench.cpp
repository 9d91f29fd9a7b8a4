// Benchmark of the receipt query window on a large database: the "单据查询" command, the
// first screen and the whole of "全部业务", a sort by a text column, the lines of a selected
// receipt, "今日业务", a field search, the memory of the loaded list, and a full read of the
// receipts through ShareQuery1.
//   quillo-bench-queries DIR   reads DIR/qlodata8.0.mdb (made by quillo-bench generate); writes nothing
#include "PrintingUiServices.h"
#include "app/Main.h"
#include "app/WorkWindows.h"
#include "data/Globals.h"
#include "data/Sharedm2.h"
#include "queries/HistoryFilter.h"
#include "queries/Ss_history.h"
#include "ui/list/ListModel.h"
#include "ui/list/ListView.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QTextStream>
#include <QToolButton>

#include <algorithm>
#include <ctime>

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

namespace {

QTextStream out(stdout);

qint64 cpuNow() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Wall time and the user-interface thread's CPU time of repeated runs, reported as medians. On a machine
// shared with other work the CPU time is the figure that does not depend on the load.
class Timing {
public:
    void start() {
        m_wall.start();
        m_cpu0 = cpuNow();
    }
    void stop() {
        m_walls.append(m_wall.nsecsElapsed());
        m_cpus.append(cpuNow() - m_cpu0);
    }
    static qint64 median(QList<qint64> s) {
        std::sort(s.begin(), s.end());
        return s.isEmpty() ? 0 : s[s.size() / 2];
    }
    void report(QTextStream &stream, const QString &what, double limitMs = 0) const {
        stream << what << ": cpu " << QString::number(median(m_cpus) / 1e6, 'f', 2) << " ms, wall "
               << QString::number(median(m_walls) / 1e6, 'f', 2) << " ms";
        if (limitMs > 0)
            stream << " (limit " << limitMs << " ms)";
        stream << '\n';
    }

private:
    QElapsedTimer m_wall;
    qint64 m_cpu0 = 0;
    QList<qint64> m_walls, m_cpus;
};

// Resident memory of the process in MB.
double residentMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

double engineMb() {
    return static_cast<double>(sqlite3_memory_used()) / (1024.0 * 1024.0);
}

// Paints what the list shows now, as the next frame would.
void paint(ListView *list) {
    list->viewport()->repaint();
}

// Lets the list read the rest of its rows behind its first screen.
void waitForAll(TForm_SS_History *form) {
    while (form->isLoading())
        QApplication::processEvents();
}

// Every receipt through ShareQuery1, every column read as text.
qint64 readAllReceipts(int &rows) {
    QElapsedTimer t;
    t.start();
    DbQuery &q = ShareDM1->ShareQuery1;
    q.open(QStringLiteral("select * from ss_sale"));
    rows = 0;
    qint64 chars = 0;
    for (; !q.eof(); q.next(), ++rows)
        for (int i = 0; i < q.fieldCount(); ++i)
            chars += q.textAt(i).size();
    q.close();
    Q_UNUSED(chars);
    return t.nsecsElapsed();
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() != 1) {
        QTextStream(stderr) << "usage: quillo-bench-queries DIR (a database made by quillo-bench generate)\n";
        return 2;
    }
    PrintingUiServices ui;
    UiServices::install(&ui);
    try {
        AppDir = QDir(args[0]).absolutePath();
        ConnString = BuildConnString(AppDir);
        ConnectDatabase();
        OperatorName = QStringLiteral("管理员");
        OperatorType = QStringLiteral("管理员");
        const qint64 fileBytes = QFileInfo(ShareDM1->ShareConn.fileName()).size();
        {
            DbQuery count(ShareDM1->ShareConn);
            count.open(QStringLiteral("select (select count(*) from ss_sale) as r,(select count(*) from "
                                      "ss_saledetail) as l,(select max(billdate) from ss_sale) as d"));
            out << "database: " << count.asText("r") << " receipts, " << count.asText("l") << " lines, "
                << fileBytes / (1024 * 1024) << " MB, page cache "
                << DbConnection::PageCacheKiB(fileBytes) / 1024 << " MB (" << AppDir << ")\n";
        }

        // Reading every receipt through ShareQuery1: the first read fills the page cache, the
        // next ones find the pages there.
        int rows = 0;
        Timing firstRead;
        firstRead.start();
        readAllReceipts(rows);
        firstRead.stop();
        firstRead.report(out,
                         QStringLiteral("all receipts through ShareQuery1, first read (%1 rows)").arg(rows));
        Timing again;
        for (int i = 0; i < 3; ++i) {
            again.start();
            readAllReceipts(rows);
            again.stop();
        }
        again.report(out, QStringLiteral("all receipts through ShareQuery1, read again (median of 3)"));
        ShareDM1->ShareConn.executeNative(QStringLiteral("PRAGMA cache_size = -65536"));
        Timing fixedCache;
        for (int i = 0; i < 3; ++i) {
            fixedCache.start();
            readAllReceipts(rows);
            fixedCache.stop();
        }
        fixedCache.report(out, QStringLiteral("  the same with the former fixed 64 MB cache (median of 3)"));
        ShareDM1->ShareConn.executeNative(
            QStringLiteral("PRAGMA cache_size = -%1").arg(DbConnection::PageCacheKiB(fileBytes)));
        readAllReceipts(rows);

        // The statements alone, read to the end on a query of their own.
        const auto statement = [](const QString &what, const QString &text) {
            Timing timer;
            int n = 0;
            for (int i = 0; i < 5; ++i) {
                timer.start();
                DbQuery q(ShareDM1->ShareConn);
                q.open(text);
                for (n = 0; !q.eof(); q.next())
                    ++n;
                timer.stop();
            }
            timer.report(out,
                         QStringLiteral("  statement alone: %1 (%2 rows, median of 5)").arg(what).arg(n));
        };
        DbQuery plan(ShareDM1->ShareConn);
        const QDate last = QDate::fromString(
            [&] {
                plan.open(QStringLiteral("select max(billdate) as d from ss_sale"));
                return plan.asText("d");
            }(),
            Qt::ISODate);
        plan.close();
        statement(QStringLiteral("today"), HistoryStatement(RangeCondition(HistoryRange::Today, last)));
        statement(QStringLiteral("lines of one receipt"), HistoryLinesStatement(rows / 2));
        statement(
            QStringLiteral("交款单位 like 华兴"),
            HistoryStatement(BuildHistorySearch(3, QStringLiteral("华兴"), HistoryRange::All, last).filter));
        statement(
            QStringLiteral("goods name matching nothing"),
            HistoryStatement(
                BuildHistorySearch(14, QStringLiteral("不存在的商品"), HistoryRange::All, last).filter));

        std::unique_ptr<TForm_Main> main = CreateMainForms();
        main->resize(1280, 800);
        main->show();
        QApplication::processEvents();

        Timing t;
        t.start();
        main->runCommand(TForm_SS_History::Caption);
        auto *form = qobject_cast<TForm_SS_History *>(main->activeChild());
        if (!form)
            throw std::runtime_error("the query window did not open");
        ListView *list = form->ListView1;
        paint(list);
        t.stop();
        t.report(out, QStringLiteral("\"单据查询\" command to today's list shown (%1 rows)")
                          .arg(list->listModel()->rowCount()));

        const double rssBefore = residentMb(), engineBefore = engineMb();
        Timing firstScreen, everything;
        firstScreen.start();
        everything.start();
        form->ComboBox2->setCurrentIndex(int(HistoryRange::All));
        paint(list);
        firstScreen.stop();
        const int firstRows = list->listModel()->rowCount();
        waitForAll(form);
        paint(list);
        everything.stop();
        firstScreen.report(out,
                           QStringLiteral("\"全部业务\": first screen shown and selectable (%1 rows; limit "
                                          "500 ms at 100k, 300 ms at 1m)")
                               .arg(firstRows));
        everything.report(out, QStringLiteral("\"全部业务\": every row loaded behind it (%1 rows, the window "
                                              "answering input all the while)")
                                   .arg(list->listModel()->rowCount()));
        const double rssAfter = residentMb(), engineAfter = engineMb();
        out << "memory of the loaded list: "
            << QString::number(rssAfter - rssBefore - (engineAfter - engineBefore), 'f', 1)
            << " MB (resident " << QString::number(rssBefore, 'f', 1) << " -> "
            << QString::number(rssAfter, 'f', 1) << " MB, of which page cache growth "
            << QString::number(engineAfter - engineBefore, 'f', 1) << " MB; limit 150 MB)\n";

        // The same load done at once, for comparison.
        Timing whole;
        for (int i = 0; i < 3; ++i) {
            whole.start();
            form->LoadList();
            form->finishLoading();
            paint(list);
            whole.stop();
        }
        whole.report(
            out, QStringLiteral("\"全部业务\" reloaded in one go (刷新 + the rest at once, median of 3)"));

        // A text column: the first click (keys made), then the next clicks.
        QHeaderView *header = list->header();
        Timing firstSort, sort;
        for (int i = 0; i < 5; ++i) {
            form->LoadList();
            form->finishLoading();
            firstSort.start();
            emit header->sectionPressed(3);
            emit header->sectionClicked(3);
            paint(list);
            firstSort.stop();
            for (int k = 0; k < 2; ++k) {
                sort.start();
                emit header->sectionPressed(3);
                emit header->sectionClicked(3);
                paint(list);
                sort.stop();
            }
        }
        firstSort.report(out, QStringLiteral("sort by 交款单位, first click after a load (median of 5)"),
                         150);
        sort.report(out, QStringLiteral("sort by 交款单位, further clicks (median of 10)"), 150);

        Timing lines;
        for (int i = 0; i < 51; ++i) {
            const int row = (i * 7919) % list->listModel()->rowCount();
            lines.start();
            list->selectRow(row);
            paint(form->ListView2);
            lines.stop();
        }
        lines.report(out, QStringLiteral("selecting a receipt to its lines shown (median of 51)"), 20);

        Timing today;
        for (int i = 0; i < 5; ++i) {
            form->ComboBox2->setCurrentIndex(int(HistoryRange::All));
            form->finishLoading();
            today.start();
            form->ComboBox2->setCurrentIndex(int(HistoryRange::Today));
            waitForAll(form);
            paint(list);
            today.stop();
        }
        today.report(out,
                     QStringLiteral("\"今日业务\" (%1 rows, median of 5)").arg(list->listModel()->rowCount()),
                     100);

        const auto search = [&](int field, const QString &text, HistoryRange range) {
            const QSignalBlocker blocker(form->ComboBox2);
            form->ComboBox2->setCurrentIndex(int(range));
            form->ComboBox1->setCurrentIndex(field);
            form->Edit1->setText(text);
            Timing timer;
            for (int i = 0; i < 5; ++i) {
                timer.start();
                form->SpeedButton3->click();
                paint(list);
                const qint64 shown = 0;
                Q_UNUSED(shown);
                waitForAll(form);
                paint(list);
                timer.stop();
            }
            timer.report(out,
                         QStringLiteral("search %1 “%2” in %3, whole result (%4 rows, median of 5)")
                             .arg(HistoryFieldTexts.at(field), text, HistoryRangeTexts.at(int(range)))
                             .arg(list->listModel()->rowCount()),
                         100);
        };
        search(3, QStringLiteral("华兴"), HistoryRange::All);
        search(0, QStringLiteral("99"), HistoryRange::All);
        search(11, QStringLiteral("1234.5"), HistoryRange::All);
        search(14, QStringLiteral("签字笔"), HistoryRange::Today);
        search(14, QStringLiteral("不存在的商品"), HistoryRange::All);

        form->close();
        main.reset();
        DisconnectDatabase();
    } catch (const std::exception &e) {
        QTextStream(stderr) << "failed: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
