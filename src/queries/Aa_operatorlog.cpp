#include "queries/Aa_operatorlog.h"

#include "data/Sharedm2.h"
#include "data/StatementRoutines.h"
#include "ui/ListExport.h"
#include "ui/list/ListView.h"

#include <QHBoxLayout>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const ListColumns logColumns{TextColumn(QStringLiteral("操作员"), 110),
                             TextColumn(QStringLiteral("操作时间"), 135),
                             TextColumn(QStringLiteral("操作事件"), 155)};

constexpr int smallestWidth = 430;
constexpr int smallestHeight = 500;

QToolButton *toolButton(const QString &name, const QString &caption, QWidget *parent) {
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    button->setMinimumWidth(60);
    return button;
}

} // namespace

std::optional<std::vector<ListRow>> ReadOperatorLog(int billId, int logFlag) {
    if (!SelectRows(QStringLiteral("xt_log"), QStringLiteral("*"), QStringLiteral("logid asc"),
                    QStringLiteral(" and billid=") + QString::number(billId) +
                        QStringLiteral(" and logflag=") + QString::number(logFlag)))
        return std::nullopt;
    DbQuery &query = ShareDM1->ShareQuery1;
    std::vector<ListRow> rows;
    try {
        for (; !query.eof(); query.next())
            rows.push_back(
                ListRow{{query.asText("opname"), query.asText("opdate"), query.asText("opcontent")},
                        {query.asText("logid")}});
    } catch (const std::exception &) {
        query.close();
        return std::nullopt;
    }
    query.close();
    return rows;
}

TForm_AA_OperatorLog::TForm_AA_OperatorLog(int billId, int logFlag, QWidget *parent)
    : QDialog(parent)
    , m_billId(billId)
    , m_logFlag(logFlag) {
    setObjectName(QStringLiteral("Form_AA_OperatorLog"));
    setWindowTitle(QStringLiteral("操作日志"));
    setMinimumSize(smallestWidth, smallestHeight);
    resize(smallestWidth, smallestHeight);

    SpBtAdd = toolButton(QStringLiteral("SpBtAdd"), QStringLiteral("导出"), this);
    SpBtClose = toolButton(QStringLiteral("SpBtClose"), QStringLiteral("退出"), this);
    ListView1 = new ListView(logColumns, this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setSelectionLook(ListRowPainter::Selection::DarkBlue);

    auto *tools = new QHBoxLayout;
    tools->setContentsMargins(4, 2, 4, 2);
    tools->addWidget(SpBtAdd);
    tools->addWidget(SpBtClose);
    tools->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(tools);
    layout->addWidget(ListView1);

    connect(SpBtAdd, &QToolButton::clicked, this, &TForm_AA_OperatorLog::SpBtAddClick);
    connect(SpBtClose, &QToolButton::clicked, this, &QDialog::reject);
}

void TForm_AA_OperatorLog::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm_AA_OperatorLog::FormShow() {
    std::optional<std::vector<ListRow>> rows = ReadOperatorLog(m_billId, m_logFlag);
    if (!rows)
        return; // the list keeps what it showed
    ListView1->listModel()->setRows(std::move(*rows));
    if (ListView1->listModel()->rowCount() > 0)
        ListView1->selectRow(0);
    ListView1->setFocus();
}

void TForm_AA_OperatorLog::SpBtAddClick() {
    ExportList(ListView1);
}

void ShowOperatorLog(int billId, int logFlag, QWidget *parent) {
    TForm_AA_OperatorLog window(billId, logFlag, parent);
    window.exec();
}
