#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QToolButton;

// Changes the logged-in operator's password, or resets it to empty.
class TForm_XT_UserChangePWD : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm_XT_UserChangePWD)

public:
    explicit TForm_XT_UserChangePWD(QWidget *parent = nullptr);

    QLineEdit *ComboBox1; // the operator's name, read-only
    QLineEdit *MaskEdit1; // old password
    QLineEdit *MaskEdit2; // new password
    QLineEdit *MaskEdit3; // new password again
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;
    QToolButton *SpeedButton1;

public slots:
    void BitBtn1Click();
    void SpeedButton1Click();
};
