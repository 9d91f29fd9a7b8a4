#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The failure list: after a batch command, names the rows it could not handle, one line each
// ("SK20140220001：删除失败！"). Caption "提示", the heading "以下为" "失败" "的记录：", a
// read-only text with a vertical scroll bar, and "退出(&C)", which has the focus; Esc closes.
class TForm_AA_ShowBillInfo : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm_AA_ShowBillInfo)

public:
    explicit TForm_AA_ShowBillInfo(const QString &failureText, QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QPlainTextEdit *Memo1;
    QPushButton *BitBtn1;
};

// Shows the failure text in the failure list, modally, and frees the window when it closes.
void ShowBillInfo(const QString &failureText, QWidget *parent = nullptr);
