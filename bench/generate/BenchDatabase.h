#pragma once

#include <QString>
#include <functional>

// How large the generated database is. The defaults are the sizes the benchmarks are
// specified on.
struct BenchSizes {
    int receipts = 100000;
    int linesPerReceipt = 4;
    int goods = 20000;
    int parties = 5000;
    int staff = 30;
    int logRows = 50000;
};

// Creates DIR/qlodata8.0.mdb (replacing one that is there), upgraded to the current schema and
// filled with realistic receipts, lines, goods, paying parties, staff and log rows.
// Leaves AppDir and ConnString pointing at it and the database disconnected.
void GenerateBenchDatabase(const QString &dir, const BenchSizes &sizes,
                           const std::function<void(const QString &)> &progress);

// Copies DIR/qlodata8.0.mdb into the folder copyDir (so that a benchmark never changes the
// generated database) and points AppDir and ConnString at the copy. False, with a message on
// stderr, when the file cannot be copied.
bool UseCopyOfBenchDatabase(const QString &dir, const QString &copyDir);
