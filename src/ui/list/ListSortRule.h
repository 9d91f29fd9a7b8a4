#pragma once

#include <Qt>

class ListModel;

// How the lists sort on a click on a column header. One state per window: the last clicked
// column, whether it holds numbers, and a flag that flips on every click, on whichever column.
// The base sense is descending for text and ascending for numbers; while the flag is set it is
// reversed. Where the flag starts decides the first click:
//  - FirstClick::TextDescending (the master-data lists, the log viewer): the first click sorts
//    a text column Z to A and a numeric column from the smallest number;
//  - FirstClick::TextAscending (the receipt query): text A to Z, numbers largest first.
// Every further click, on the same column or another, reverses the sense.
class ListSortRule {
public:
    enum class FirstClick { TextDescending, TextAscending };

    explicit ListSortRule(FirstClick first = FirstClick::TextDescending)
        : m_flip(first == FirstClick::TextDescending) {}

    // Records a click on the column and returns the order to sort it in.
    Qt::SortOrder click(int column, bool numeric);
    // Records the click and sorts the model's rows by it.
    void click(ListModel &model, int column);

    int column() const { return m_column; }
    bool numeric() const { return m_numeric; }
    bool flipped() const { return m_flip; }
    // The order of the last click's column as it now stands.
    Qt::SortOrder order() const;

private:
    int m_column = 0;
    bool m_numeric = false;
    bool m_flip;
};
