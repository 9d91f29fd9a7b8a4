#include "ui/list/ListSortRule.h"

#include "ui/list/ListModel.h"

Qt::SortOrder ListSortRule::click(int column, bool numeric) {
    m_column = column;
    m_numeric = numeric;
    m_flip = !m_flip;
    return order();
}

Qt::SortOrder ListSortRule::order() const {
    const bool ascending = m_numeric != m_flip; // numbers ascend, text descends, unless flipped
    return ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
}

void ListSortRule::click(ListModel &model, int column) {
    if (column < 0 || column >= model.columnCount())
        return;
    model.sort(column, click(column, model.columns()[column].numeric()));
}
