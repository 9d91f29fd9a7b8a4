#include "receipts/ReceiptEntryPanel.h"

#include "data/DbQuery.h"
#include "data/Globals.h"
#include "data/Sharedm2.h"
#include "receipts/ReceiptFieldLimits.h"
#include "receipts/ReceiptGridModel.h"
#include "receipts/ReceiptGridView.h"
#include "receipts/ReceiptLookups.h"
#include "receipts/SharedQuery.h"
#include "receipts/core/AmountRules.h"
#include "ui/CommandGuard.h"
#include "ui/EnterWalk.h"
#include "ui/LookupComboBox.h"
#include "ui/LookupField.h"
#include "ui/LookupGrid.h"
#include "ui/UiServices.h"

#include <QAction>
#include <QDateEdit>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

constexpr int GoodsLookupHeight = 120;

QLineEdit *NamedEdit(QWidget *parent, const char *name, int maxLength = 0) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

QComboBox *PickBox(QWidget *parent, const char *name, int maxLength) {
    auto *box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->lineEdit()->setMaxLength(maxLength);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setMaxVisibleItems(20);
    return box;
}

QLabel *FieldLabel(QWidget *parent, const QString &text, QWidget *buddy) {
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// Read-only boxes are grey, as the button face.
void MakeReadOnly(QLineEdit *edit) {
    edit->setReadOnly(true);
    QPalette grey = edit->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Button));
    edit->setPalette(grey);
}

// Replaces a pick list's items, keeping what the box shows and telling nobody.
void ReplaceItems(QComboBox *box, const QList<QStringList> &rows) {
    const QSignalBlocker blocker(box);
    const QString shown = box->currentText();
    box->clear();
    for (const QStringList &row : rows)
        box->addItem(row.value(0));
    box->setCurrentIndex(-1);
    box->setEditText(shown);
}

void SetBoxText(QComboBox *box, const QString &text) {
    const QSignalBlocker blocker(box);
    box->setEditText(text);
}

} // namespace

ReceiptEntryPanel::ReceiptEntryPanel(const QString &title, QWidget *parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("ReceiptEntryPanel"));
    buildHeader(title);
    buildGrid();
    buildFooter();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    auto *titleStrip = new QHBoxLayout;
    titleStrip->addWidget(Label1);
    titleStrip->addStretch();
    titleStrip->addWidget(FieldLabel(this, QStringLiteral("  开单日期："), DateTimePicker1));
    titleStrip->addWidget(DateTimePicker1);
    titleStrip->addWidget(FieldLabel(this, QStringLiteral("  单据编号："), Edit1));
    titleStrip->addWidget(Edit1);
    titleStrip->addWidget(FieldLabel(this, QStringLiteral("  开单人："), EditOP));
    titleStrip->addWidget(EditOP);
    layout->addLayout(titleStrip);
    layout->addWidget(Panel2);
    layout->addWidget(StringGrid1, 1);
    auto *footer = new QHBoxLayout;
    footer->addWidget(FieldLabel(this, QStringLiteral("商品条码："), Edit6));
    footer->addWidget(Edit6);
    footer->addSpacing(12);
    footer->addWidget(FieldLabel(this, QStringLiteral("总金额："), Edit3));
    footer->addWidget(Edit3);
    footer->addSpacing(12);
    footer->addWidget(FieldLabel(this, QStringLiteral("大写金额："), Edit5));
    footer->addWidget(Edit5, 1);
    layout->addLayout(footer);

    // The lookups float above everything else of the panel.
    CompanyDB->setParent(this);
    GoodsDB->setParent(this);
    connectEditors();

    setTabOrder(DateTimePicker1, Edit1);
    setTabOrder(Edit1, EditOP);
    setTabOrder(EditOP, BoxCompany);
    setTabOrder(BoxCompany, Edit7);
    setTabOrder(Edit7, Edit8);
    setTabOrder(Edit8, Edit2);
    setTabOrder(Edit2, BoxZG);
    setTabOrder(BoxZG, BoxKJ);
    setTabOrder(BoxKJ, BoxSKR);
    setTabOrder(BoxSKR, BoxSKFS);
    setTabOrder(BoxSKFS, Edit9);
    setTabOrder(Edit9, StringGrid1);
    setTabOrder(StringGrid1, Edit6);
}

void ReceiptEntryPanel::buildHeader(const QString &title) {
    Label1 = new QLabel(title, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont big = Label1->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    big.setUnderline(true);
    Label1->setFont(big);

    DateTimePicker1 = new QDateEdit(this);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    DateTimePicker1->setCalendarPopup(true);
    Edit1 = NamedEdit(this, "Edit1", ReceiptFieldLimits::ShortText);
    Edit1->setMinimumWidth(130);
    Edit1->setMaximumWidth(200);
    EditOP = NamedEdit(this, "EditOP");
    EditOP->setMaximumWidth(110);
    MakeReadOnly(EditOP);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameShape(QFrame::StyledPanel);
    BoxCompany = new LookupComboBox(Panel2);
    BoxCompany->setObjectName(QStringLiteral("BoxCompany"));
    BoxCompany->lineEdit()->setMaxLength(ReceiptFieldLimits::ShortText);
    Edit7 = NamedEdit(Panel2, "Edit7", ReceiptFieldLimits::Linkman);
    Edit8 = NamedEdit(Panel2, "Edit8", ReceiptFieldLimits::Phone);
    Edit2 = NamedEdit(Panel2, "Edit2", ReceiptFieldLimits::Address);
    BoxZG = PickBox(Panel2, "BoxZG", ReceiptFieldLimits::ShortText);
    BoxKJ = PickBox(Panel2, "BoxKJ", ReceiptFieldLimits::ShortText);
    BoxSKR = PickBox(Panel2, "BoxSKR", ReceiptFieldLimits::ShortText);
    BoxSKFS = PickBox(Panel2, "BoxSKFS", ReceiptFieldLimits::PaymentMethod);
    Edit9 = NamedEdit(Panel2, "Edit9", ReceiptFieldLimits::Remark);

    auto *grid = new QGridLayout(Panel2);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    const struct {
        const char *label;
        QWidget *field;
        int row;
        int column;
    } fields[] = {
        {"交款单位：", BoxCompany, 0, 0}, {"联系人：", Edit7, 0, 1},     {"联系电话：", Edit8, 0, 2},
        {"地址：", Edit2, 0, 3},          {"主管：", BoxZG, 1, 0},       {"会计：", BoxKJ, 1, 1},
        {"收款人：", BoxSKR, 1, 2},       {"收款方式：", BoxSKFS, 1, 3},
    };
    for (const auto &f : fields) {
        grid->addWidget(FieldLabel(Panel2, QString::fromUtf8(f.label), f.field), f.row, f.column * 2);
        grid->addWidget(f.field, f.row, f.column * 2 + 1);
    }
    grid->addWidget(FieldLabel(Panel2, QStringLiteral("备注："), Edit9), 2, 0);
    grid->addWidget(Edit9, 2, 1, 1, 7);
    for (int column = 1; column < 8; column += 2)
        grid->setColumnStretch(column, 1);
    grid->setColumnStretch(1, 2); // the paying party gets the widest box
    grid->setColumnStretch(7, 2);

    CompanyDB =
        new LookupGrid({{QStringLiteral("tablecode"), QStringLiteral("编号"), 65, true},
                        {QStringLiteral("name"), QStringLiteral("名称"), 160},
                        {QStringLiteral("namecode"), QStringLiteral("助记码"), 70}},
                       {QStringLiteral("linkman"), QStringLiteral("phone"), QStringLiteral("adr")}, this);
    CompanyDB->setObjectName(QStringLiteral("CompanyDB"));
    CompanyDB->resize(CompanyDB->width(), 24 + 10 * 20 + 2);
}

void ReceiptEntryPanel::buildGrid() {
    StringGrid1 = new ReceiptGridView(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setToolTip(QStringLiteral("单击右键可删除当前行数据"));
    GridModel = new ReceiptGridModel(this);
    StringGrid1->setModel(GridModel);
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);

    QWidget *cells = StringGrid1->viewport();
    InplaceEditor = NamedEdit(cells, "InplaceEditor", ReceiptFieldLimits::GridCell);
    InplaceEditor->setFrame(false);
    BoxGoods = new LookupComboBox(cells);
    BoxGoods->setObjectName(QStringLiteral("BoxGoods"));
    BoxGoods->lineEdit()->setMaxLength(ReceiptFieldLimits::GridCell);
    BoxGoods->setToolTip(QStringLiteral("提示：可以直接输入编号、名称、助记码等进行模糊查询"));
    BoxUnit = PickBox(cells, "BoxUnit", ReceiptFieldLimits::GridCell);
    BoxRemark = PickBox(cells, "BoxRemark", ReceiptFieldLimits::GridCell);
    for (QWidget *editor : {static_cast<QWidget *>(InplaceEditor), static_cast<QWidget *>(BoxGoods),
                            static_cast<QWidget *>(BoxUnit), static_cast<QWidget *>(BoxRemark)}) {
        editor->setFocusPolicy(Qt::ClickFocus);
        editor->setContextMenuPolicy(Qt::CustomContextMenu);
        editor->hide();
    }

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    N4 = PopupMenu2->addAction(QStringLiteral("清空当前行数据"));
    N4->setObjectName(QStringLiteral("N4"));

    // Headed like the grid's columns once the grid has its layout (PrepareGrid).
    GoodsDB = new LookupGrid({{QStringLiteral("tablecode"), GridKey::Code, 80},
                              {QStringLiteral("name"), GridKey::Name, 100},
                              {QStringLiteral("goodsmodal"), GridKey::Model, 80},
                              {QStringLiteral("unit_name"), GridKey::Unit, 40},
                              {QStringLiteral("price"), GridKey::Price, 60}},
                             {}, this);
    GoodsDB->setObjectName(QStringLiteral("GoodsDB"));
    GoodsDB->resize(GoodsDB->width(), GoodsLookupHeight);
}

void ReceiptEntryPanel::buildFooter() {
    Edit6 = NamedEdit(this, "Edit6", ReceiptFieldLimits::Barcode);
    Edit6->setMinimumWidth(150);
    Edit3 = NamedEdit(this, "Edit3");
    Edit3->setText(QStringLiteral("0"));
    Edit3->setMinimumWidth(110);
    MakeReadOnly(Edit3);
    Edit5 = NamedEdit(this, "Edit5");
    Edit5->setMinimumWidth(220);
    MakeReadOnly(Edit5);
}

void ReceiptEntryPanel::connectEditors() {
    for (QObject *watched :
         std::initializer_list<QObject *>{InplaceEditor, BoxGoods, BoxGoods->lineEdit(), BoxUnit, BoxRemark})
        watched->installEventFilter(this);

    // Enter walks through the header; the paying-party box picks while its lookup shows, the
    // remark goes on into the grid and the barcode box looks the scanned code up.
    auto *walk = new EnterWalk({DateTimePicker1, Edit1, EditOP, BoxCompany, Edit7, Edit8, Edit2, BoxZG, BoxKJ,
                                BoxSKR, BoxSKFS, Edit9},
                               this);
    walk->setStep(BoxCompany, [this] {
        if (!CompanyLookup->isShown())
            return false;
        PickCompany();
        return true;
    });
    walk->setStep(Edit9, [this] {
        moveToCell(1, CurrentRow);
        return true;
    });
    walk->setStep(Edit6, [this] {
        Edit6KeyPress();
        return true;
    });

    // The two lookups, one search each; they watch their boxes' keys before the panel does.
    CompanyLookup = new LookupField(
        BoxCompany, CompanyDB,
        [](const QString &typed) { return LookupStatement(QStringLiteral("aa_company"), typed); },
        [this] { CompanyDB->move(BoxCompany->mapTo(this, QPoint(0, BoxCompany->height() - 1))); }, this);
    GoodsLookup = new LookupField(
        BoxGoods, GoodsDB,
        [](const QString &typed) { return LookupStatement(QStringLiteral("aa_goods"), typed); },
        [this] { placeGoodsLookup(); }, this);
    connect(CompanyLookup, &LookupField::picked, this, &ReceiptEntryPanel::PickCompany);
    connect(GoodsLookup, &LookupField::edited, this, &ReceiptEntryPanel::BoxGoodsChange);
    connect(GoodsLookup, &LookupField::picked, this, &ReceiptEntryPanel::PickGoods);

    connect(StringGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid() && !m_moving)
                    onCurrentChanged(current.column(), current.row() + 1);
            });
    connect(StringGrid1, &ReceiptGridView::focusEntered, this, &ReceiptEntryPanel::focusCurrentEditor);
    connect(StringGrid1, &ReceiptGridView::cellsMoved, this, [this] {
        if (QWidget *editor = editorOf(CurrentCol); editor && editor->isVisible())
            placeEditor(editor);
        if (GoodsDB->isVisible())
            placeGoodsLookup();
    });
    connect(GridModel, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &from) { syncEditor(from.column(), from.row() + 1); });

    connect(InplaceEditor, &QLineEdit::textEdited, this,
            [this](const QString &text) { StringGrid1SetEditText(CurrentCol, CurrentRow, text); });
    connect(BoxUnit, &QComboBox::editTextChanged, this, &ReceiptEntryPanel::BoxUnitChange);
    connect(BoxRemark, &QComboBox::editTextChanged, this, &ReceiptEntryPanel::BoxRemarkChange);

    const auto popup = [this](QWidget *source) {
        connect(source, &QWidget::customContextMenuRequested, this,
                [this, source](const QPoint &at) { PopupMenu2->popup(source->mapToGlobal(at)); });
    };
    for (QWidget *source : {static_cast<QWidget *>(StringGrid1), static_cast<QWidget *>(InplaceEditor),
                            static_cast<QWidget *>(BoxGoods), static_cast<QWidget *>(BoxUnit),
                            static_cast<QWidget *>(BoxRemark)})
        popup(source);
    connect(N4, &QAction::triggered, this, &ReceiptEntryPanel::N4Click);
}

int ReceiptEntryPanel::columnOf(const QString &key) const {
    return GridModel->gridLayout().columnOf(key);
}

QString ReceiptEntryPanel::defaultQuantity() {
    return AmountFormula.contains(QStringLiteral("数量")) ? QStringLiteral("1") : QStringLiteral("0");
}

// ---- pick lists, new grid, showing and reading a receipt

void ReceiptEntryPanel::loadPickLists() {
    ReplaceItems(BoxZG, ReadPickList(PickLists::Supervisors));
    ReplaceItems(BoxKJ, ReadPickList(PickLists::Accountants));
    ReplaceItems(BoxSKR, ReadPickList(PickLists::Payees));
    ReplaceItems(BoxSKFS, ReadPickList(PickLists::PaymentMethods));
    ReplaceItems(BoxUnit, ReadPickList(PickLists::Units));
    ReplaceItems(BoxRemark, ReadPickList(PickLists::Remarks));
}

void ReceiptEntryPanel::PrepareGrid() {
    const ReceiptGridLayout layout = ReceiptGridLayout::load();
    m_moving = true;
    GridModel->prepare(layout, qMax(1, RowCount - 1));
    m_moving = false;
    for (int col = 0; col < ReceiptGridLayout::ColumnCount; ++col) {
        const GridColumn &column = layout.column(col);
        StringGrid1->setColumnHidden(col, column.width <= 0);
        if (column.width > 0)
            StringGrid1->setColumnWidth(col, column.width);
    }
    GoodsDB->setCaptions({layout.captionOf(GridKey::Code), layout.captionOf(GridKey::Name),
                          layout.captionOf(GridKey::Model), layout.captionOf(GridKey::Unit),
                          layout.captionOf(GridKey::Price)});
    CurrentRow = 1;
    CurrentCol = 1;
    moveToCell(1, 1);
}

void ReceiptEntryPanel::setHeader(const ReceiptDraft &receipt) {
    DateTimePicker1->setDate(receipt.billDate);
    Edit1->setText(receipt.billCode);
    EditOP->setText(receipt.opName);
    CompanyDB->hide();
    SetBoxText(BoxCompany, receipt.companyName);
    Edit7->setText(receipt.linkman);
    Edit8->setText(receipt.phone);
    Edit2->setText(receipt.adr);
    SetBoxText(BoxZG, receipt.zgName);
    SetBoxText(BoxKJ, receipt.kjName);
    SetBoxText(BoxSKR, receipt.skrName);
    SetBoxText(BoxSKFS, receipt.skfsName);
    Edit9->setText(receipt.remark);
}

void ReceiptEntryPanel::setLines(const QList<ReceiptLine> &lines) {
    GridModel->growTo(static_cast<int>(lines.size()));
    for (int i = 0; i < lines.size(); ++i)
        GridModel->setLine(i + 1, lines[i]);
}

ReceiptDraft ReceiptEntryPanel::draft() const {
    ReceiptDraft receipt;
    receipt.billDate = DateTimePicker1->date();
    receipt.billCode = Edit1->text();
    receipt.opName = EditOP->text();
    receipt.companyName = BoxCompany->currentText();
    receipt.linkman = Edit7->text();
    receipt.phone = Edit8->text();
    receipt.adr = Edit2->text();
    receipt.zgName = BoxZG->currentText();
    receipt.kjName = BoxKJ->currentText();
    receipt.skrName = BoxSKR->currentText();
    receipt.skfsName = BoxSKFS->currentText();
    receipt.remark = Edit9->text();
    receipt.total = Edit3->text();
    receipt.capitals = Edit5->text();
    receipt.lines = GridModel->lines();
    return receipt;
}

std::optional<ReceiptDraft> ReceiptEntryPanel::checkedDraft() {
    ReceiptDraft receipt = draft();
    const ReceiptFault fault = CheckReceipt(receipt, GridModel->gridLayout(), AllowNegative);
    if (fault.ok())
        return receipt;
    ShowInfo(fault.message);
    showFault(fault);
    return std::nullopt;
}

QPushButton *ReceiptEntryPanel::commandButton(QWidget *form, QStyle::StandardPixmap icon,
                                              const QString &caption, const QString &name) {
    auto *button = new QPushButton(form->style()->standardIcon(icon), caption, form);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setMinimumWidth(110);
    return button;
}

void ReceiptEntryPanel::layOutForm(QWidget *form, QHBoxLayout *buttonBar) {
    auto *layout = new QVBoxLayout(form);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(6);
    layout->addWidget(this, 1);
    layout->addLayout(buttonBar);
}

void ReceiptEntryPanel::showFault(const ReceiptFault &fault) {
    if (fault.place == ReceiptFault::Place::PayingParty)
        focusCompany();
    else if (fault.place == ReceiptFault::Place::Cell)
        GoToCell(columnOf(fault.key), fault.row);
}

void ReceiptEntryPanel::focusCompany() {
    BoxCompany->setFocus(Qt::OtherFocusReason);
    BoxCompany->lineEdit()->end(false);
}

// ---- the grid

QWidget *ReceiptEntryPanel::editorOf(int col) const {
    if (col < 1)
        return nullptr;
    if (col == columnOf(GridKey::Code))
        return BoxGoods;
    if (col == columnOf(GridKey::Unit))
        return BoxUnit;
    if (col == columnOf(GridKey::Remark))
        return BoxRemark;
    return InplaceEditor;
}

void ReceiptEntryPanel::placeEditor(QWidget *editor) {
    const QRect cell = StringGrid1->visualRect(GridModel->index(CurrentRow - 1, CurrentCol));
    editor->setGeometry(cell.left(), cell.top(), cell.width() + 1, cell.height());
}

void ReceiptEntryPanel::placeGoodsLookup() {
    const QRect cell = StringGrid1->visualRect(GridModel->index(CurrentRow - 1, CurrentCol));
    const QPoint corner = StringGrid1->viewport()->mapTo(this, cell.topLeft());
    const int below = StringGrid1->viewport()->height() - cell.top();
    const int top = below > GoodsLookupHeight ? corner.y() + 22 : corner.y() - GoodsLookupHeight;
    const int left = qBound(0, corner.x(), qMax(0, width() - GoodsDB->width()));
    GoodsDB->move(left, top);
}

void ReceiptEntryPanel::moveToCell(int col, int row) {
    const QModelIndex target = GridModel->index(row - 1, col);
    if (!target.isValid())
        return;
    if (StringGrid1->currentIndex() == target) {
        StringGrid1SelectCell(col, row);
        return;
    }
    StringGrid1->setCurrentIndex(target); // reports the change: StringGrid1SelectCell
}

void ReceiptEntryPanel::onCurrentChanged(int col, int row) {
    // The row numbers are no cell to edit: a click there edits the row's first cell.
    if (col == 0) {
        moveToCell(1, row);
        return;
    }
    StringGrid1SelectCell(col, row);
}

void ReceiptEntryPanel::StringGrid1SelectCell(int col, int row) {
    // Leaving the goods box for another cell ends its editing on the row it belongs to.
    if (m_goodsFocused) {
        m_goodsFocused = false;
        BoxGoodsExit();
    }
    CurrentCol = col;
    CurrentRow = row;
    const QModelIndex index = GridModel->index(row - 1, col);
    if (StringGrid1->currentIndex() != index) {
        m_moving = true;
        StringGrid1->setCurrentIndex(index);
        m_moving = false;
    }
    StringGrid1->scrollTo(index);
    // The row numbers stay in sight whenever the cell fits beside them.
    const QHeaderView *columns = StringGrid1->horizontalHeader();
    if (columns->sectionPosition(col) + columns->sectionSize(col) <= StringGrid1->viewport()->width())
        StringGrid1->horizontalScrollBar()->setValue(0);

    QWidget *editor = editorOf(col);
    if (editor) {
        // The cell's text comes selected, so that typing replaces it.
        m_syncing = true;
        if (editor == InplaceEditor) {
            InplaceEditor->setText(GridModel->cell(col, row));
            InplaceEditor->selectAll();
        } else {
            auto *box = static_cast<QComboBox *>(editor);
            box->setEditText(GridModel->cell(col, row));
            box->lineEdit()->selectAll();
        }
        m_syncing = false;
        placeEditor(editor);
        editor->show();
        editor->raise();
        editor->setFocus(Qt::OtherFocusReason);
    }
    // Only the current cell's editor shows.
    for (QWidget *other : {static_cast<QWidget *>(InplaceEditor), static_cast<QWidget *>(BoxGoods),
                           static_cast<QWidget *>(BoxUnit), static_cast<QWidget *>(BoxRemark)})
        if (other != editor)
            other->hide();
    // The goods lookup belonged to the typing in the cell left behind.
    GoodsDB->hide();
    if (editor == BoxGoods)
        placeGoodsLookup();
    RecomputeLine(col, row);
}

void ReceiptEntryPanel::StringGrid1SetEditText(int col, int row, const QString &text) {
    GridModel->setCell(col, row, text);
    RecomputeLine(col, row);
}

void ReceiptEntryPanel::RecomputeLine(int col, int row) {
    const ReceiptGridLayout &layout = GridModel->gridLayout();
    const bool amountInput =
        col > 0 && (col == layout.columnOf(GridKey::Quantity) || col == layout.columnOf(GridKey::Price) ||
                    col == layout.columnOf(GridKey::Amount));
    if (amountInput && !GridModel->field(GridKey::Code, row).isEmpty()) {
        const QString amount =
            LineAmount(GridModel->field(GridKey::Quantity, row), GridModel->field(GridKey::Price, row));
        if (!amount.isNull())
            GridModel->setField(GridKey::Amount, row, amount);
    }
    refreshTotal();
}

void ReceiptEntryPanel::refreshTotal() {
    RunCommand([this] {
        const double total = ReceiptTotal(GridModel->totalCells());
        Edit3->setText(GeneralNumberText(total));
        Edit5->setText(AmountToCapitals(total));
    });
}

void ReceiptEntryPanel::syncEditor(int col, int row) {
    // A cell changed by the program while its editor shows it: the editor follows.
    if (col != CurrentCol || row != CurrentRow)
        return;
    QWidget *editor = editorOf(col);
    const QString text = GridModel->cell(col, row);
    m_syncing = true;
    if (editor == InplaceEditor && InplaceEditor->text() != text)
        InplaceEditor->setText(text);
    else if (auto *box = qobject_cast<QComboBox *>(editor); box && box->currentText() != text)
        SetBoxText(box, text);
    m_syncing = false;
}

void ReceiptEntryPanel::focusCurrentEditor() {
    if (GridModel->lineCount() == 0)
        return;
    QWidget *editor = editorOf(CurrentCol);
    if (editor && editor->isVisible())
        editor->setFocus(Qt::OtherFocusReason);
    else
        moveToCell(CurrentCol, CurrentRow);
}

void ReceiptEntryPanel::GoToCell(int col, int row) {
    moveToCell(col, row);
}

void ReceiptEntryPanel::AdvanceCell() {
    const ReceiptGridLayout &layout = GridModel->gridLayout();
    const int row = CurrentRow;
    int next = 0;
    if (CurrentCol < ReceiptGridLayout::LastColumn) {
        for (int col = CurrentCol + 1; col <= ReceiptGridLayout::LastColumn && next == 0; ++col)
            if (layout.isVisible(col))
                next = col;
    }
    if (next > 0)
        moveToCell(next, row);
    else if (row < GridModel->lineCount())
        moveToCell(1, row + 1);
    else
        return; // the last cell of the last row: the walk stops
    if (CurrentCol == columnOf(GridKey::Unit) && CurrentCol > 0)
        BoxUnit->setFocus(Qt::OtherFocusReason);
    else if (CurrentCol == columnOf(GridKey::Remark) && CurrentCol > 0)
        BoxRemark->setFocus(Qt::OtherFocusReason);
}

void ReceiptEntryPanel::moveRow(int delta) {
    const int row = CurrentRow + delta;
    if (row >= 1 && row <= GridModel->lineCount())
        moveToCell(CurrentCol, row);
}

void ReceiptEntryPanel::moveAcross(int delta, bool wrapRows) {
    const ReceiptGridLayout &layout = GridModel->gridLayout();
    int col = CurrentCol;
    int row = CurrentRow;
    for (;;) {
        col += delta;
        if (col < 1 || col > ReceiptGridLayout::LastColumn) {
            if (!wrapRows)
                return;
            row += delta;
            if (row < 1 || row > GridModel->lineCount()) {
                // Tab beyond the last cell (or Shift+Tab before the first) leaves the grid.
                (delta > 0 ? Edit6 : static_cast<QWidget *>(Edit9))->setFocus(Qt::TabFocusReason);
                return;
            }
            col = delta > 0 ? 1 : ReceiptGridLayout::LastColumn;
        }
        if (layout.isVisible(col)) {
            moveToCell(col, row);
            return;
        }
    }
}

// ---- goods lookup, barcode, clearing a row

void ReceiptEntryPanel::BoxGoodsChange(const QString &text) {
    GridModel->setField(GridKey::Code, CurrentRow, text);
    RecomputeLine(CurrentCol, CurrentRow);
}

void ReceiptEntryPanel::PickGoods() {
    const int row = CurrentRow;
    if (GoodsDB->isEmpty()) {
        GridModel->setField(GridKey::Price, row, QStringLiteral("0"));
        GridModel->setField(GridKey::Quantity, row, defaultQuantity());
    } else {
        GridModel->setField(GridKey::Code, row, GoodsDB->value(QStringLiteral("tablecode")));
        GridModel->setField(GridKey::Name, row, GoodsDB->value(QStringLiteral("name")));
        GridModel->setField(GridKey::Model, row, GoodsDB->value(QStringLiteral("goodsmodal")));
        GridModel->setField(GridKey::Unit, row, GoodsDB->value(QStringLiteral("unit_name")));
        GridModel->setField(GridKey::Price, row, GoodsDB->value(QStringLiteral("price")));
        GridModel->setField(GridKey::Quantity, row, defaultQuantity());
    }
    RecomputeLine(columnOf(GridKey::Amount), row);
    GoodsDB->hide();
    AdvanceCell();
}

void ReceiptEntryPanel::BoxGoodsExit() {
    const int row = CurrentRow;
    if (GridModel->field(GridKey::Code, row).isEmpty())
        return;
    if (GridModel->field(GridKey::Price, row).isEmpty())
        GridModel->setField(GridKey::Price, row, QStringLiteral("0"));
    if (GridModel->field(GridKey::Quantity, row).isEmpty())
        GridModel->setField(GridKey::Quantity, row, defaultQuantity());
    RecomputeLine(columnOf(GridKey::Amount), row);
}

void ReceiptEntryPanel::BoxUnitChange() {
    if (!m_syncing && CurrentCol == columnOf(GridKey::Unit))
        GridModel->setField(GridKey::Unit, CurrentRow, BoxUnit->currentText());
}

void ReceiptEntryPanel::BoxRemarkChange() {
    if (!m_syncing && CurrentCol == columnOf(GridKey::Remark))
        GridModel->setField(GridKey::Remark, CurrentRow, BoxRemark->currentText());
}

void ReceiptEntryPanel::Edit6KeyPress() {
    const QString barcode = Edit6->text();
    if (!barcode.isEmpty()) {
        RunCommand([&] {
            DbQuery &query = OpenSharedQuery(BarcodeStatement(barcode));
            if (query.eof()) {
                query.close();
                ShowInfo(QStringLiteral("该条码的商品不存在，请在商品目录增加！"));
                return;
            }
            const int row = CurrentRow;
            const ReceiptLine found{query.asText("tablecode"),
                                    query.asText("name"),
                                    query.asText("goodsmodal"),
                                    query.asText("unit_name"),
                                    defaultQuantity(),
                                    query.asText("price"),
                                    GridModel->field(GridKey::Amount, row),
                                    GridModel->field(GridKey::Remark, row)};
            query.close();
            GridModel->setLine(row, found);
            RecomputeLine(columnOf(GridKey::Amount), row);
            moveToCell(1, row < GridModel->lineCount() ? row + 1 : row);
        });
    }
    Edit6->clear();
    Edit6->setFocus(Qt::OtherFocusReason);
}

void ReceiptEntryPanel::N4Click() {
    m_syncing = true;
    SetBoxText(BoxGoods, QString());
    SetBoxText(BoxUnit, QString());
    SetBoxText(BoxRemark, QString());
    m_syncing = false;
    GridModel->clearRow(CurrentRow);
    refreshTotal();
}

// ---- paying-party lookup

void ReceiptEntryPanel::PickCompany() {
    if (!CompanyDB->isEmpty()) {
        SetBoxText(BoxCompany, CompanyDB->value(QStringLiteral("name")));
        Edit7->setText(CompanyDB->value(QStringLiteral("linkman")));
        Edit8->setText(CompanyDB->value(QStringLiteral("phone")));
        Edit2->setText(CompanyDB->value(QStringLiteral("adr")));
    }
    CompanyDB->hide();
    BoxZG->setFocus(Qt::TabFocusReason);
}

// ---- keys

bool ReceiptEntryPanel::gridKey(QWidget *editor, int key, Qt::KeyboardModifiers modifiers) {
    // Down, Up and Esc of a shown goods lookup are the lookup's own.
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (editor == BoxGoods && GoodsLookup->isShown())
            PickGoods();
        else
            AdvanceCell();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (modifiers & Qt::ControlModifier)
            return false;
        moveAcross(key == Qt::Key_Backtab || (modifiers & Qt::ShiftModifier) ? -1 : 1, true);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        // The unit and remark boxes step through their lists; elsewhere the arrows change rows.
        if (editor == BoxUnit || editor == BoxRemark)
            return false;
        moveRow(key == Qt::Key_Down ? 1 : -1);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        if (editor != InplaceEditor || modifiers != Qt::NoModifier || InplaceEditor->hasSelectedText())
            return false;
        const bool atEdge = key == Qt::Key_Left
                                ? InplaceEditor->cursorPosition() == 0
                                : InplaceEditor->cursorPosition() == InplaceEditor->text().size();
        if (!atEdge)
            return false;
        moveAcross(key == Qt::Key_Left ? -1 : 1, false);
        return true;
    }
    default:
        return false;
    }
}

bool ReceiptEntryPanel::eventFilter(QObject *watched, QEvent *event) {
    QObject *target = watched == BoxGoods->lineEdit() ? BoxGoods : watched;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (target == InplaceEditor || target == BoxGoods || target == BoxUnit || target == BoxRemark)
            return gridKey(static_cast<QWidget *>(target), key->key(), key->modifiers());
        return false;
    }
    case QEvent::FocusIn:
        if (target == BoxGoods)
            m_goodsFocused = true;
        break;
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        // A menu or another window taking the focus is no leaving of the box.
        if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
            break;
        if (target == BoxGoods && m_goodsFocused) {
            m_goodsFocused = false;
            BoxGoodsExit();
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
