#include "ui/list/ListStatusBar.h"

#include "ui/list/ListModel.h"
#include "ui/list/ListView.h"

#include <QLabel>

ListStatusBar::ListStatusBar(bool ticks, QWidget *parent)
    : QStatusBar(parent) {
    setSizeGripEnabled(false);
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QStringLiteral("Panel%1").arg(i));
        m_panels[i]->setMinimumWidth(150);
        m_panels[i]->setVisible(i < 2 || ticks);
        addWidget(m_panels[i]);
    }
    refresh();
}

void ListStatusBar::follow(ListView *list) {
    m_list = list;
    ListModel *model = list->listModel();
    connect(model, &QAbstractItemModel::modelReset, this, &ListStatusBar::refresh);
    connect(model, &QAbstractItemModel::rowsInserted, this, &ListStatusBar::refresh);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ListStatusBar::refresh);
    connect(model, &ListModel::tickedCountChanged, this, &ListStatusBar::refresh);
    connect(list, &ListView::currentRowChanged, this, &ListStatusBar::refresh);
    refresh();
}

QString ListStatusBar::panelText(int panel) const {
    return panel >= 0 && panel < 3 ? m_panels[panel]->text() : QString();
}

void ListStatusBar::refresh() {
    const int rows = m_list ? m_list->listModel()->rowCount() : 0;
    const int current = m_list ? m_list->currentRow() + 1 : 0;
    const int ticked = m_list ? m_list->listModel()->tickedCount() : 0;
    m_panels[0]->setText(QStringLiteral("总记录：%1").arg(rows));
    m_panels[1]->setText(QStringLiteral("当前行：%1").arg(current));
    m_panels[2]->setText(QStringLiteral("已勾选：%1").arg(ticked));
}
