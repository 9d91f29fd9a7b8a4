#pragma once

#include "ui/list/ListModel.h"

#include <QDialog>
#include <optional>
#include <vector>

class ListView;
class QToolButton;

// The log rows of one receipt, oldest first, as list rows: 操作员, 操作时间, 操作事件, and
// the log key as hidden value. Nothing when the select failed.
std::optional<std::vector<ListRow>> ReadOperatorLog(int billId, int logFlag);

// "操作日志": who did what to one receipt and when. Read-only; "导出" exports the list, "退出"
// and Esc close. The rows load when the window is shown, in the order they were written.
class TForm_AA_OperatorLog : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm_AA_OperatorLog)

public:
    // billId: the receipt's saleid; logFlag: the kind of log row (1 for receipt operations).
    TForm_AA_OperatorLog(int billId, int logFlag, QWidget *parent = nullptr);

    QToolButton *SpBtAdd;
    QToolButton *SpBtClose;
    ListView *ListView1;

    void FormShow();
    void SpBtAddClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    int m_billId;
    int m_logFlag;
};

// Opens the log window of one receipt modally and frees it when it closes.
void ShowOperatorLog(int billId, int logFlag, QWidget *parent = nullptr);
