#pragma once

#include "receipts/ReceiptCheck.h"
#include "receipts/ReceiptDraft.h"

#include <QStyle>
#include <QWidget>

#include <optional>

class LookupComboBox;
class LookupField;
class LookupGrid;
class QAction;
class QComboBox;
class QDateEdit;
class QFrame;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class ReceiptGridModel;
class ReceiptGridView;

// What the receipt entry and edit forms share: the title strip, the header with its pick lists
// and the paying-party lookup, the line grid with its floating editors and the goods lookup,
// the barcode box and the totals. The forms add their buttons below and do the saving.
class ReceiptEntryPanel : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReceiptEntryPanel)

public:
    explicit ReceiptEntryPanel(const QString &title, QWidget *parent = nullptr);

    // Title strip.
    QLabel *Label1;
    QDateEdit *DateTimePicker1;
    QLineEdit *Edit1;  // receipt number
    QLineEdit *EditOP; // operator, read-only
    // Header panel.
    QFrame *Panel2;
    LookupComboBox *BoxCompany;
    QLineEdit *Edit7; // contact
    QLineEdit *Edit8; // telephone
    QLineEdit *Edit2; // address
    QComboBox *BoxZG;
    QComboBox *BoxKJ;
    QComboBox *BoxSKR;
    QComboBox *BoxSKFS;
    QLineEdit *Edit9; // remark
    // The line grid, its editors and lookups.
    ReceiptGridView *StringGrid1;
    ReceiptGridModel *GridModel;
    QLineEdit *InplaceEditor; // editor of the columns without a box of their own
    LookupComboBox *BoxGoods;
    QComboBox *BoxUnit;
    QComboBox *BoxRemark;
    LookupGrid *GoodsDB;
    LookupGrid *CompanyDB;
    LookupField *GoodsLookup;   // BoxGoods with GoodsDB
    LookupField *CompanyLookup; // BoxCompany with CompanyDB
    QMenu *PopupMenu2;
    QAction *N4; // "清空当前行数据"
    // Under the grid.
    QLineEdit *Edit6; // barcode
    QLineEdit *Edit3; // total, read-only
    QLineEdit *Edit5; // total in capitals, read-only

    // The grid cell last selected (row from 1, column 0 to 8).
    int CurrentRow = 1;
    int CurrentCol = 1;

    // Fills the signer, payment-method, unit and remark lists; a list whose select fails stays
    // empty. What the boxes show is kept.
    void loadPickLists();
    // Columns from the configuration, RowCount - 1 empty lines, cell (1, 1) selected.
    void PrepareGrid();
    // Shows a receipt's header fields.
    void setHeader(const ReceiptDraft &receipt);
    // Puts lines into rows 1, 2, …; the grid grows when they are more than its rows.
    void setLines(const QList<ReceiptLine> &lines);
    // The receipt as shown.
    ReceiptDraft draft() const;
    // The receipt as shown when it passes the save's checks; otherwise the first fault is told
    // and shown (its box or cell focused) and there is none.
    std::optional<ReceiptDraft> checkedDraft();
    // A command button of a receipt form's bar; Enter never presses it.
    static QPushButton *commandButton(QWidget *form, QStyle::StandardPixmap icon, const QString &caption,
                                      const QString &name);
    // Lays a receipt form out: this panel above the form's button bar.
    void layOutForm(QWidget *form, QHBoxLayout *buttonBar);
    // Moves to where a check failed: the paying-party box or the cell concerned.
    void showFault(const ReceiptFault &fault);
    // Focus to the paying-party box, caret at the end.
    void focusCompany();
    // "1" when the amount formula uses the quantity, "0" otherwise.
    static QString defaultQuantity();

public slots:
    void StringGrid1SelectCell(int col, int row);
    void StringGrid1SetEditText(int col, int row, const QString &text);
    void RecomputeLine(int col, int row);
    void PickGoods();
    void BoxGoodsExit();
    void AdvanceCell();
    void GoToCell(int col, int row);
    void Edit6KeyPress();
    void N4Click();
    void PickCompany();
    void BoxGoodsChange(const QString &text);
    void BoxUnitChange();
    void BoxRemarkChange();
    // The total and its capitals from the lines (an amount that is not a number is reported).
    void refreshTotal();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildHeader(const QString &title);
    void buildGrid();
    void buildFooter();
    void connectEditors();
    QWidget *editorOf(int col) const;
    void placeEditor(QWidget *editor);
    void placeGoodsLookup();
    void onCurrentChanged(int col, int row);
    void focusCurrentEditor();
    void syncEditor(int col, int row);
    void moveToCell(int col, int row);
    void moveRow(int delta);
    void moveAcross(int delta, bool wrapRows);
    bool gridKey(QWidget *editor, int key, Qt::KeyboardModifiers modifiers);

    int columnOf(const QString &key) const;
    bool m_goodsFocused = false; // BoxGoods holds the focus: leaving it runs BoxGoodsExit
    bool m_syncing = false;      // the program is setting an editor's text
    bool m_moving = false;       // a cell is being selected by the program
};
