#pragma once

#include "ui/ChildForm.h"

#include <QTimer>
#include <memory>

class ListStatusBar;
class ListView;
class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QToolButton;
class ReceiptRowReader;

// "单据查询": finds saved receipts by a date range and one field, shows the lines of the
// selected one, and prints, copies, changes, deletes and exports them. A long list shows its
// first screen at once and reads the rest in chunks while the user looks at it; every command
// that needs the whole list reads the rest first.
class TForm_SS_History : public TChildForm {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm_SS_History)

public:
    static inline const QString Caption = QStringLiteral("单据查询");

    explicit TForm_SS_History(QWidget *parent = nullptr);
    ~TForm_SS_History() override;

    QComboBox *ComboBox2;      // 查询范围
    QComboBox *ComboBox1;      // 字段名
    QLineEdit *Edit1;          // 条件
    QToolButton *SpeedButton3; // 查询
    QComboBox *BoxPrintStyle;
    QToolButton *SpdOperator;  // 其它操作
    QToolButton *SpeedButton2; // 退出
    ListView *ListView1;       // receipts
    QPushButton *BitBtn1;      // 打印
    QPushButton *BitBtn2;      // 复制单据
    QPushButton *BitBtn3;      // 删除
    QTabWidget *PageControl1;
    ListView *ListView2; // lines of the selected receipt
    ListStatusBar *StatusBar1;
    QMenu *AutoResfreshPop1;
    QAction *N1; // 刷新 (F5)
    QAction *N2; // 全选
    QAction *N3; // 全清
    QAction *N4; // 反选
    QAction *N5; // 修改单据
    QAction *N6; // 操作日志
    QAction *N7; // 导出PDF

    // The condition of the current list, after "where 1=1  and ".
    QString CurrentFilter;
    int CurrentReceiptId = 0;

    // True while rows of the current list are still to come.
    bool isLoading() const;
    // Reads the rest of the current list now.
    void finishLoading();

public slots:
    void FormShow();
    void LoadList();
    void ComboBox2Change();
    void ComboBox1Change();
    void SpeedButton3Click();
    void SpdOperatorClick();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void N5Click();
    void N6Click();
    void N7Click();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ListView1Select(int row);
    void loadLines(int saleId);
    void readMore();
    void reloadRow(int row);
    int saleIdOf(int row) const;
    QString billCodeOf(int row) const;
    // The rows "打印", "删除" and "导出PDF" work on, top to bottom.
    QList<int> commandRows();
    // The RecID of the chosen print style; false (after saying so) when there is none.
    bool chosenStyle(int &styleId);

    std::unique_ptr<ReceiptRowReader> m_reader;
    QTimer m_more;
    bool m_shownOnce = false;
};
