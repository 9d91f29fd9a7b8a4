#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
struct CompanyInfo;

// The company information form: name and contact data of the business that issues the
// receipts. Opened from the menu (with the saved message on) or, in its first-run variant,
// by start-up while the company name is still the default one.
class TFrm_Company : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFrm_Company)

public:
    // parent: the main window once it has been shown, otherwise nullptr.
    explicit TFrm_Company(QWidget *parent = nullptr);

    // Show "保存成功！" after a save (off unless the opener turns it on).
    void setShowSavedMessage(bool on) { m_showSavedMessage = on; }
    // True once the form has saved; read by the opener after the form has closed.
    bool saved() const { return m_saved; }
    // The first-run variant: its own caption, "下次再说(&C)" instead of "退出(&C)", and no
    // border icons (so no close box, and the window's close command is ignored: only its
    // buttons and Esc leave it). Call before showing the form.
    void makeFirstRunPrompt();

    QLabel *Label3;        // "公司名称：", in red
    QLineEdit *Edit3;      // company name
    QLineEdit *Edit1;      // contact
    QLineEdit *Edit2;      // telephone
    QLineEdit *Edit4;      // fax
    QLineEdit *Edit5;      // post code
    QLineEdit *Edit6;      // address
    QPlainTextEdit *Memo1; // company profile
    QPushButton *BitBtn2;  // "保存(&S)"
    QPushButton *BitBtn1;  // "退出(&C)"

    static constexpr int Memo1MaxLength = 500;

public slots:
    void FormShow();
    void BitBtn2Click();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void fill(const CompanyInfo &info);
    void limitMemo();

    bool m_showSavedMessage = false;
    bool m_saved = false;
    bool m_shownOnce = false;
    bool m_firstRun = false;
};
