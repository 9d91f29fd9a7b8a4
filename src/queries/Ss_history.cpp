#include "queries/Ss_history.h"

#include "data/Clock.h"
#include "data/Globals.h"
#include "data/OperatorRights.h"
#include "printing/PrintBill.h"
#include "printing/ReceiptPdfExport.h"
#include "printing/ReceiptReport.h"
#include "queries/Aa_operatorlog.h"
#include "queries/HistoryColumns.h"
#include "queries/HistoryFilter.h"
#include "queries/ReceiptDelete.h"
#include "queries/ReceiptRowReader.h"
#include "receipts/ReceiptLookups.h"
#include "receipts/Ss_edit1.h"
#include "ui/ChildTabHost.h"
#include "ui/CommandGuard.h"
#include "ui/Importprocess.h"
#include "ui/UiServices.h"
#include "ui/Xt_myhint.h"
#include "ui/Xt_sharecontrol.h"
#include "ui/list/ListBatch.h"
#include "ui/list/ListModel.h"
#include "ui/list/ListStatusBar.h"
#include "ui/list/ListTickCommands.h"
#include "ui/list/ListView.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Rows shown at once; the rest follows in chunks of at most MoreRows or MoreMs each.
constexpr int FirstScreenRows = 100;
constexpr int MoreRows = 5000;
constexpr int MoreMs = 15;

const QColor LineStripe{255, 240, 244};

QToolButton *toolButton(QWidget *parent, const QString &name, const QString &text,
                        QStyle::StandardPixmap icon) {
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

QLabel *label(QWidget *parent, const QString &text, QWidget *buddy) {
    auto *l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

} // namespace

TForm_SS_History::TForm_SS_History(QWidget *parent)
    : TChildForm(Caption, parent) {
    setObjectName(QStringLiteral("Form_SS_History"));

    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->addItems(HistoryRangeTexts);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems(HistoryFieldTexts);
    ComboBox1->setMaxVisibleItems(static_cast<int>(HistoryFieldTexts.size()));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(180);
    SpeedButton3 = toolButton(this, QStringLiteral("SpeedButton3"), QStringLiteral("查询"),
                              QStyle::SP_FileDialogContentsView);
    BoxPrintStyle = new QComboBox(this);
    BoxPrintStyle->setObjectName(QStringLiteral("BoxPrintStyle"));
    BoxPrintStyle->setToolTip(QStringLiteral("打印样式"));
    BoxPrintStyle->setMinimumWidth(140);
    SpdOperator = toolButton(this, QStringLiteral("SpdOperator"), QStringLiteral("其它操作"),
                             QStyle::SP_FileDialogDetailedView);
    SpeedButton2 = toolButton(this, QStringLiteral("SpeedButton2"), QStringLiteral("退出"),
                              QStyle::SP_DialogCloseButton);

    ListView1 = new ListView(ListColumnsOf(ReceiptColumns), this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setCheckable(true);
    ListView1->setFirstClick(ListSortRule::FirstClick::TextAscending);
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    if (Form_XT_ShareControl)
        ListView1->listModel()->setImages(Form_XT_ShareControl->ImgBillState1);

    BitBtn1 =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton), QStringLiteral("打印"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogNewFolder),
                              QStringLiteral("复制单据"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn3 = new QPushButton(style()->standardIcon(QStyle::SP_TrashIcon), QStringLiteral("删除"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    for (QPushButton *button : {BitBtn1, BitBtn2, BitBtn3}) {
        button->setAutoDefault(false);
        button->setMinimumWidth(96);
    }

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    ListView2 = new ListView(ListColumnsOf(LineColumns), PageControl1);
    ListView2->setObjectName(QStringLiteral("ListView2"));
    ListView2->setStripe(LineStripe);
    ListView2->setFirstClick(ListSortRule::FirstClick::TextAscending);
    PageControl1->addTab(ListView2, QStringLiteral("商品明细"));

    StatusBar1 = new ListStatusBar(true, this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->follow(ListView1);

    AutoResfreshPop1 = new QMenu(this);
    AutoResfreshPop1->setObjectName(QStringLiteral("AutoResfreshPop1"));
    N1 = AutoResfreshPop1->addAction(QStringLiteral("刷新"));
    N1->setShortcut(Qt::Key_F5);
    N1->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(N1);
    const QList<QAction *> ticks = MakeTickCommands(ListView1, this);
    N2 = ticks.at(0);
    N3 = ticks.at(1);
    N4 = ticks.at(2);
    AutoResfreshPop1->addActions(ticks);
    AutoResfreshPop1->addSeparator();
    N5 = AutoResfreshPop1->addAction(QStringLiteral("修改单据"));
    N6 = AutoResfreshPop1->addAction(QStringLiteral("操作日志"));
    N7 = AutoResfreshPop1->addAction(QStringLiteral("导出PDF"));
    const QList<QAction *> actions{N1, N2, N3, N4, N5, N6, N7};
    for (int i = 0; i < actions.size(); ++i)
        actions[i]->setObjectName(QStringLiteral("N%1").arg(i + 1));

    auto *bar = new QHBoxLayout;
    bar->setSpacing(6);
    bar->addWidget(label(this, QStringLiteral("查询范围："), ComboBox2));
    bar->addWidget(ComboBox2);
    bar->addSpacing(6);
    bar->addWidget(label(this, QStringLiteral("字段名："), ComboBox1));
    bar->addWidget(ComboBox1);
    bar->addSpacing(6);
    bar->addWidget(label(this, QStringLiteral("条件："), Edit1));
    bar->addWidget(Edit1, 1);
    bar->addWidget(SpeedButton3);
    bar->addSpacing(12);
    bar->addWidget(BoxPrintStyle);
    bar->addWidget(SpdOperator);
    bar->addWidget(SpeedButton2);

    auto *commands = new QVBoxLayout;
    commands->setSpacing(6);
    commands->addWidget(BitBtn1);
    commands->addWidget(BitBtn2);
    commands->addWidget(BitBtn3);
    commands->addStretch();
    auto *top = new QWidget(this);
    auto *topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(ListView1, 1);
    topLayout->addLayout(commands);

    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(top);
    splitter->addWidget(PageControl1);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 0);
    layout->setSpacing(6);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);
    layout->addWidget(StatusBar1);

    setTabOrder(ComboBox2, ComboBox1);
    setTabOrder(ComboBox1, Edit1);
    setTabOrder(Edit1, SpeedButton3);
    setTabOrder(SpeedButton3, BoxPrintStyle);
    setTabOrder(BoxPrintStyle, SpdOperator);
    setTabOrder(SpdOperator, SpeedButton2);
    for (QWidget *w : {static_cast<QWidget *>(ComboBox2), static_cast<QWidget *>(ComboBox1),
                       static_cast<QWidget *>(BoxPrintStyle), static_cast<QWidget *>(Edit1)})
        w->installEventFilter(this);

    m_more.setInterval(0);
    connect(&m_more, &QTimer::timeout, this, &TForm_SS_History::readMore);
    connect(ComboBox2, &QComboBox::currentIndexChanged, this, &TForm_SS_History::ComboBox2Change);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TForm_SS_History::ComboBox1Change);
    connect(BoxPrintStyle, &QComboBox::currentIndexChanged, this, &TForm_SS_History::ComboBox1Change);
    connect(SpeedButton3, &QToolButton::clicked, this, &TForm_SS_History::SpeedButton3Click);
    connect(SpdOperator, &QToolButton::clicked, this, &TForm_SS_History::SpdOperatorClick);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm_SS_History::close);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm_SS_History::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm_SS_History::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm_SS_History::BitBtn3Click);
    connect(N1, &QAction::triggered, this, &TForm_SS_History::LoadList);
    connect(N5, &QAction::triggered, this, &TForm_SS_History::N5Click);
    connect(N6, &QAction::triggered, this, &TForm_SS_History::N6Click);
    connect(N7, &QAction::triggered, this, &TForm_SS_History::N7Click);
    connect(ListView1, &ListView::currentRowChanged, this, &TForm_SS_History::ListView1Select);
    connect(ListView1, &QAbstractItemView::doubleClicked, this, &TForm_SS_History::N5Click);
    connect(ListView1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { AutoResfreshPop1->popup(ListView1->viewport()->mapToGlobal(pos)); });
    // Sorting, ticking everything and the batch commands work on the whole list.
    connect(ListView1->header(), &QHeaderView::sectionPressed, this, &TForm_SS_History::finishLoading);
    connect(AutoResfreshPop1, &QMenu::aboutToShow, this, &TForm_SS_History::finishLoading);
}

TForm_SS_History::~TForm_SS_History() = default;

void TForm_SS_History::showEvent(QShowEvent *event) {
    TChildForm::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        FormShow();
    }
}

bool TForm_SS_History::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == ComboBox2)
                ComboBox1->setFocus();
            else if (watched == ComboBox1 || watched == BoxPrintStyle)
                Edit1->setFocus();
            else if (watched == Edit1)
                SpeedButton3Click();
            else
                return TChildForm::eventFilter(watched, event);
            return true;
        }
    }
    return TChildForm::eventFilter(watched, event);
}

void TForm_SS_History::FormShow() {
    CurrentFilter = RangeCondition(HistoryRange::Today, Clock::today());
    LoadList();
    {
        const QSignalBlocker rangeBlocker(ComboBox2);
        const QSignalBlocker fieldBlocker(ComboBox1);
        ComboBox2->setCurrentIndex(0);
        ComboBox1->setCurrentIndex(0);
    }
    Edit1->setFocus();
    const QSignalBlocker styleBlocker(BoxPrintStyle);
    BoxPrintStyle->clear();
    for (const QStringList &row : ReadPickList(PickLists::PrintStyles))
        BoxPrintStyle->addItem(row.value(1), row.value(0).toInt());
    BoxPrintStyle->setCurrentIndex(BoxPrintStyle->count() > 0 ? 0 : -1);
}

bool TForm_SS_History::isLoading() const {
    return m_reader && !m_reader->atEnd();
}

void TForm_SS_History::LoadList() {
    ShowWaitBanner();
    CurrentReceiptId = 0;
    auto reader = std::make_unique<ReceiptRowReader>(ReceiptRowReader::Kind::Receipts);
    // A select that fails leaves both lists as they were.
    if (reader->open(HistoryStatement(CurrentFilter))) {
        m_more.stop();
        m_reader = std::move(reader);
        std::vector<ListRow> rows;
        RunCommand([this, &rows] { rows = m_reader->read(FirstScreenRows); });
        ListView2->listModel()->clear();
        ListView1->listModel()->setRows(std::move(rows));
        if (ListView1->listModel()->rowCount() > 0)
            ListView1->selectRow(0);
        if (isLoading())
            m_more.start();
    }
    HideWaitBanner();
}

void TForm_SS_History::readMore() {
    if (!isLoading()) {
        m_more.stop();
        return;
    }
    std::vector<ListRow> rows;
    if (!RunCommand([this, &rows] { rows = m_reader->read(MoreRows, MoreMs); }))
        m_reader->close();
    ListView1->listModel()->appendRows(std::move(rows));
    if (!isLoading())
        m_more.stop();
}

void TForm_SS_History::finishLoading() {
    if (!isLoading())
        return;
    m_more.stop();
    std::vector<ListRow> rows;
    if (!RunCommand([this, &rows] { rows = m_reader->readAll(); }))
        m_reader->close();
    ListView1->listModel()->appendRows(std::move(rows));
}

void TForm_SS_History::ListView1Select(int row) {
    if (row < 0)
        return;
    CurrentReceiptId = saleIdOf(row);
    loadLines(CurrentReceiptId);
}

void TForm_SS_History::loadLines(int saleId) {
    ReceiptRowReader lines(ReceiptRowReader::Kind::Lines);
    if (!lines.open(HistoryLinesStatement(saleId)))
        return;
    std::vector<ListRow> rows;
    if (!RunCommand([&lines, &rows] { rows = lines.readAll(); }))
        return;
    ListView2->listModel()->setRows(std::move(rows));
    if (ListView2->listModel()->rowCount() > 0)
        ListView2->selectRow(0);
}

int TForm_SS_History::saleIdOf(int row) const {
    return ListView1->listModel()->hidden(row, ReceiptRowReader::HiddenSaleId).toInt();
}

QString TForm_SS_History::billCodeOf(int row) const {
    return ListView1->listModel()->hidden(row, ReceiptRowReader::HiddenBillCode);
}

void TForm_SS_History::ComboBox2Change() {
    CurrentFilter = RangeCondition(HistoryRangeOf(ComboBox2->currentText()), Clock::today());
    LoadList();
    ComboBox1->setFocus();
}

void TForm_SS_History::ComboBox1Change() {
    if (ComboBox1->currentIndex() == ShowAllField) {
        CurrentFilter = RangeCondition(HistoryRangeOf(ComboBox2->currentText()), Clock::today());
        LoadList();
    }
    Edit1->setFocus();
}

void TForm_SS_History::SpeedButton3Click() {
    const HistorySearch search = BuildHistorySearch(ComboBox1->currentIndex(), Edit1->text(),
                                                    HistoryRangeOf(ComboBox2->currentText()), Clock::today());
    switch (search.outcome) {
    case HistorySearch::Outcome::NotANumber:
        ShowInfo(AmountNotANumberText);
        Edit1->setFocus();
        return;
    case HistorySearch::Outcome::Nothing:
        return;
    case HistorySearch::Outcome::Filter:
        break;
    }
    CurrentFilter = search.filter;
    LoadList();
    Edit1->setFocus();
    Edit1->end(false);
}

void TForm_SS_History::SpdOperatorClick() {
    AutoResfreshPop1->popup(SpdOperator->mapToGlobal(QPoint(0, SpdOperator->height())));
}

QList<int> TForm_SS_History::commandRows() {
    finishLoading();
    return ListView1->commandRows();
}

bool TForm_SS_History::chosenStyle(int &styleId) {
    if (BoxPrintStyle->currentIndex() < 0) {
        ShowInfo(NoPrintStyleText);
        return false;
    }
    styleId = BoxPrintStyle->currentData().toInt();
    return true;
}

void TForm_SS_History::BitBtn1Click() {
    const QList<int> rows = commandRows();
    int styleId = 0;
    if (rows.isEmpty() || !chosenStyle(styleId))
        return;
    RunCommand([this, &rows, styleId] {
        for (const int row : rows) {
            PrintBill(false, saleIdOf(row), billCodeOf(row), styleId);
            ListView1->listModel()->setImage(row, ReceiptRowReader::PrintedImage);
        }
    });
}

void TForm_SS_History::BitBtn2Click() {
    const int row = ListView1->currentRow();
    if (row < 0)
        return;
    CopySaleId = saleIdOf(row);
    CopyReceiptToEntry();
}

void TForm_SS_History::BitBtn3Click() {
    if (!IsAdministrator()) {
        ShowInfo(RefusalText);
        return;
    }
    const QList<int> rows = commandRows();
    if (rows.isEmpty() || !AskYesNo(QStringLiteral("是否确定删除？")))
        return;
    BatchCommand remove;
    remove.step = [this](int row) { return DeleteReceipt(saleIdOf(row), billCodeOf(row)); };
    remove.failedName = [this](int row) { return billCodeOf(row); };
    RunBatch(ListView1, rows, remove);
    if (ListView1->listModel()->rowCount() == 0)
        ListView2->listModel()->clear();
}

void TForm_SS_History::reloadRow(int row) {
    const int saleId = saleIdOf(row);
    ReceiptRowReader reader(ReceiptRowReader::Kind::Receipts);
    if (!reader.open(HistoryRowStatement(saleId)))
        return;
    std::vector<ListRow> rows;
    if (!RunCommand([&reader, &rows] { rows = reader.readAll(); }) || rows.empty())
        return;
    ListView1->listModel()->setRow(row, std::move(rows.front()));
    loadLines(saleId);
}

void TForm_SS_History::N5Click() {
    if (!IsAdministrator()) {
        ShowInfo(RefusalText);
        return;
    }
    const int row = ListView1->currentRow();
    if (row < 0)
        return;
    const int saleId = saleIdOf(row);
    int printed = 0;
    if (!RunCommand([saleId, &printed] { printed = ReceiptPrintCount(saleId); }))
        return;
    if (printed > 0 && !AskYesNo(QStringLiteral("单据已被打印，是否确定再次修改？")))
        return;
    TForm_SS_Edit1 form(this);
    if (!form.loadReceipt(saleId))
        return;
    if (form.exec() == QDialog::Accepted)
        reloadRow(row);
}

void TForm_SS_History::N6Click() {
    if (ListView1->currentRow() < 0)
        return;
    ShowOperatorLog(CurrentReceiptId, 1, this);
}

void TForm_SS_History::N7Click() {
    const QList<int> rows = commandRows();
    int styleId = 0;
    if (rows.isEmpty() || !chosenStyle(styleId))
        return;
    bool ok = false;
    QString fileName = SaveFileName(QStringLiteral("导出PDF"), AppDir, QStringLiteral("PDF文件 (*.pdf)"));
    if (fileName.isEmpty())
        return;
    if (!fileName.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        fileName += QStringLiteral(".pdf");
    ReceiptPdfExport pdf;
    if (!RunCommand([&pdf, styleId, &ok] { ok = pdf.begin(styleId); }) || !ok)
        return;
    BatchCommand add;
    add.step = [this, &pdf](int row) {
        pdf.add(saleIdOf(row));
        return true;
    };
    add.failedName = [this](int row) { return billCodeOf(row); };
    add.failureSuffix = QStringLiteral("：导出失败！");
    add.removeDone = false;
    add.bottomUp = false;
    RunBatch(ListView1, rows, add);
    if (pdf.receipts() > 0)
        RunCommand([&pdf, &fileName] { pdf.write(fileName); });
}
