// quillo-bench: the large benchmark database and the data-layer measurements.
//   quillo-bench generate DIR [RECEIPTS]   fills DIR/qlodata8.0.mdb (100,000 receipts …)
//   quillo-bench data DIR                  measures opening and reading on it
//   quillo-bench billcode DIR              measures the next receipt number on it
#include "BenchDatabase.h"
#include "BenchTimer.h"

#include "data/BillNumbering.h"
#include "data/DbConnection.h"
#include "data/DbQuery.h"
#include "data/Globals.h"
#include "data/Sharedm2.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTextStream>

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

namespace {

QTextStream out(stdout);

const char *const receiptList = "select * from ss_sale where 1=1  and saleid>0 order by saleid desc";

void connectTo(const QString &dir) {
    AppDir = QDir(dir).absolutePath();
    ConnString = BuildConnString(AppDir);
    ConnectDatabase();
}

// Every column of every receipt as text, read by name as the lists read them.
qint64 readThroughQuery(QStringList &names) {
    DbQuery &q = ShareDM1->ShareQuery1;
    q.open(QString::fromUtf8(receiptList));
    if (names.isEmpty())
        for (int i = 0; i < q.fieldCount(); ++i)
            names.append(q.fieldName(i));
    qint64 chars = 0;
    for (; !q.eof(); q.next())
        for (const QString &name : std::as_const(names))
            chars += q.asText(name).size();
    q.close();
    return chars;
}

enum class Bare { Step, Text, QtText };

// The same statement on a bare connection: step; take each column's text from the engine;
// and also turn it into a QString, the least any Qt program pays for text.
qint64 readBare(sqlite3 *db, Bare how) {
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, receiptList, -1, &stmt, nullptr);
    const int columns = sqlite3_column_count(stmt);
    qint64 bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        if (how == Bare::Step)
            continue;
        for (int i = 0; i < columns; ++i) {
            const char *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
            const int n = sqlite3_column_bytes(stmt, i);
            bytes += how == Bare::Text ? n : QString::fromUtf8(text, n).size();
        }
    }
    sqlite3_finalize(stmt);
    return bytes;
}

int measureData(const QString &dir) {
    const int runs = 7;
    BenchTimer open;
    for (int i = 0; i < runs; ++i) {
        open.start();
        connectTo(dir);
        open.stop();
        DisconnectDatabase();
    }
    open.report(out, QStringLiteral("open the database (ConnectDatabase)"), 150);

    connectTo(dir);
    const ConnectionParams params = DbConnection::parseConnectionString(ConnString);
    sqlite3 *bare = nullptr;
    sqlite3_open_v2(QFile::encodeName(params.dataSource).constData(), &bare,
                    SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    const QByteArray key = params.password.toUtf8();
    sqlite3_key(bare, key.constData(), static_cast<int>(key.size()));
    sqlite3_exec(bare, "PRAGMA cipher_page_size = 4096; PRAGMA cache_size = -65536", nullptr, nullptr,
                 nullptr);

    QStringList names;
    readThroughQuery(names); // warm both caches
    readBare(bare, Bare::Text);
    BenchTimer query, stepOnly, stepText, stepQt;
    for (int i = 0; i < runs; ++i) {
        query.start();
        readThroughQuery(names);
        query.stop();
        stepOnly.start();
        readBare(bare, Bare::Step);
        stepOnly.stop();
        stepText.start();
        readBare(bare, Bare::Text);
        stepText.stop();
        stepQt.start();
        readBare(bare, Bare::QtText);
        stepQt.stop();
    }
    sqlite3_close(bare);
    out << "all ss_sale rows (" << names.size() << " columns), median of " << runs << " runs:\n";
    query.report(out, QStringLiteral("  ShareQuery1, every column as text by name"));
    stepOnly.report(out, QStringLiteral("  bare sqlite3_step loop"));
    stepText.report(out, QStringLiteral("  bare sqlite3_step + sqlite3_column_text"));
    stepQt.report(out, QStringLiteral("  bare sqlite3_step + sqlite3_column_text + QString::fromUtf8"));
    const auto ratio = [&](const BenchTimer &base) {
        return QString::number(double(query.median()) / double(base.median()), 'f', 2);
    };
    out << "  ratio of the query to: bare step " << ratio(stepOnly) << ", step+text " << ratio(stepText)
        << ", step+text+QString " << ratio(stepQt) << " (limit 1.5)\n";
    DisconnectDatabase();
    return 0;
}

// The next receipt number, as "新单" asks for it, on the database as it stands.
int measureBillCode(const QString &dir) {
    connectTo(dir);
    const QString first = MakeBillCode(4); // warms the page cache
    BenchTimer next;
    for (int i = 0; i < 51; ++i) {
        next.start();
        const QString code = MakeBillCode(4);
        next.stop();
        if (code != first)
            throw std::runtime_error("the next number changed between two calls");
    }
    const qint64 receipts = [] {
        DbQuery &q = ShareDM1->ShareQuery1;
        q.open(QStringLiteral("select count(*) as n from ss_sale"));
        const qint64 n = q.asInteger("n");
        q.close();
        return n;
    }();
    out << "next receipt number " << first << " on " << receipts << " receipts, median of 51 runs:\n";
    next.report(out, QStringLiteral("  MakeBillCode(4)"), 5);
    DisconnectDatabase();
    return 0;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const bool generate = !args.isEmpty() && args[0] == "generate";
    BenchSizes sizes;
    bool valid = args.size() == 2 && (args[0] == "generate" || args[0] == "data" || args[0] == "billcode");
    if (generate && args.size() == 3) {
        sizes.receipts = args[2].toInt(&valid);
        valid = valid && sizes.receipts > 0;
    }
    if (!valid) {
        QTextStream(stderr) << "usage: quillo-bench generate DIR [RECEIPTS] | data DIR | billcode DIR\n";
        return 2;
    }
    try {
        if (generate) {
            QElapsedTimer t;
            t.start();
            GenerateBenchDatabase(args[1], sizes, [](const QString &step) {
                out << step << '\n';
                out.flush();
            });
            out << "generated in " << t.elapsed() / 1000.0 << " s\n";
            return 0;
        }
        if (args[0] == "billcode")
            return measureBillCode(args[1]);
        return measureData(args[1]);
    } catch (const std::exception &e) {
        QTextStream(stderr) << "quillo-bench: " << QString::fromUtf8(e.what()) << '\n';
        return 1;
    }
}
