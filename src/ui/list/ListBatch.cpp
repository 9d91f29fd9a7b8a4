#include "ui/list/ListBatch.h"

#include "ui/Importprocess.h"
#include "ui/ServiceWindowLook.h"
#include "ui/list/Aa_showbillinfo.h"
#include "ui/list/ListModel.h"
#include "ui/list/ListView.h"

#include <QProgressBar>
#include <algorithm>

namespace {

void showProgress(int count) {
    if (!Form_Importprocess)
        return;
    Form_Importprocess->ProgressBar1->setRange(0, count);
    Form_Importprocess->ProgressBar1->setValue(0);
    CentreOnScreen(Form_Importprocess);
    Form_Importprocess->show();
    Form_Importprocess->raise();
    Form_Importprocess->repaint();
}

void advanceProgress(int done) {
    if (!Form_Importprocess)
        return;
    Form_Importprocess->ProgressBar1->setValue(done);
    Form_Importprocess->ProgressBar1->repaint();
}

void hideProgress() {
    if (Form_Importprocess)
        Form_Importprocess->hide();
}

} // namespace

BatchResult RunBatch(ListView *list, QList<int> rows, const BatchCommand &command) {
    BatchResult result;
    ListModel *model = list->listModel();
    rows.erase(
        std::remove_if(rows.begin(), rows.end(), [&](int r) { return r < 0 || r >= model->rowCount(); }),
        rows.end());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.isEmpty())
        return result;
    if (command.bottomUp)
        std::reverse(rows.begin(), rows.end());

    showProgress(static_cast<int>(rows.size()));
    bool removed = false;
    int done = 0;
    // Walking bottom-up, a removed row never moves the rows still to come; walking down, each
    // removal moves them up by one.
    int shift = 0;
    for (const int listed : rows) {
        const int row = listed - shift;
        bool ok = false;
        try {
            ok = command.step(row);
        } catch (...) {
            ok = false; // its transaction rolled back on the way out
        }
        if (ok) {
            ++result.handled;
            if (command.removeDone) {
                model->removeRows(row, 1);
                removed = true;
                if (!command.bottomUp)
                    ++shift;
            }
        } else {
            const QString name = command.failedName ? command.failedName(row) : QString();
            result.failureText += name + command.failureSuffix + QStringLiteral("\r\n");
        }
        advanceProgress(++done);
    }
    if (removed)
        list->selectRow(model->rowCount() > 0 ? 0 : -1);
    hideProgress();
    if (command.showFailures && !result.failureText.isEmpty())
        ShowBillInfo(result.failureText, list->window());
    return result;
}
