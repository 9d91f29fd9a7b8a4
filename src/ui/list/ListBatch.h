#pragma once

#include <QList>
#include <QString>
#include <functional>

class ListView;

// A command over a set of rows of a list (the batch delete, a batch change), with the
// progress window. The kit knows no database: step does the work for one row and opens and
// commits that row's own transaction itself (a DbTransaction in the caller's code), so that
// a failing row rolls back alone.
struct BatchCommand {
    // Works on one row (its index in the list at that moment). False, or an exception, is a
    // failure; the row stays in the list as it was.
    std::function<bool(int row)> step;
    // Names a failed row in the failure text: its receipt number, its code.
    std::function<QString(int row)> failedName;
    // Follows the name on its failure line, which ends in "\r\n".
    QString failureSuffix = QStringLiteral("：删除失败！");
    // A row whose step succeeded leaves the list (and the ticked count).
    bool removeDone = true;
    // Walk from the last row of the set to the first (deleting), or from the first down.
    bool bottomUp = true;
    // Show the failure text in the failure list window when there is one.
    bool showFailures = true;
};

struct BatchResult {
    int handled = 0;     // rows whose step succeeded
    QString failureText; // one line per failed row, in walking order
};

// Runs the command over rows (indices in the list, such as ListView::commandRows()): shows the
// progress window with the range 0 to the number of rows and advances it per row; afterwards,
// when rows left the list, selects its first row (none when it is empty), hides the progress
// window and shows the failures.
BatchResult RunBatch(ListView *list, QList<int> rows, const BatchCommand &command);
