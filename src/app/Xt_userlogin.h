#pragma once

#include <QDialog>

class ClickLabel;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The login dialog: 1 start-up login, 2 change of operator, 3 leave lock (only the current
// operator's password, or the end of the program). It can only be left through its buttons.
class TForm_XT_UserLogin : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm_XT_UserLogin)

public:
    explicit TForm_XT_UserLogin(QWidget *parent = nullptr);

    int LoginMode = 1;

    QLabel *Image1;
    QComboBox *BoxOp;
    QLineEdit *MaskEdit1;
    QCheckBox *CheckBox1;
    ClickLabel *Label4;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;
    ClickLabel *Label5;

public slots:
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void FormShow();
    bool m_shown = false;
    bool m_leaving = false;
};

// Runs the login dialog modally in a mode; the result is LoginOk.
void RunLoginDialog(int mode, QWidget *owner);
