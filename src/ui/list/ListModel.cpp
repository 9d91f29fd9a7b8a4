#include "ui/list/ListModel.h"

#include <QThreadPool>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <memory>
#include <numeric>

// The sort keys of one column, by item id: the text with a-z folded to upper case, or the
// number (NaN for a cell that is not one).
struct ListModel::SortKeys {
    bool numeric = false;
    std::vector<QString> texts;
    std::vector<double> numbers;

    size_t size() const { return numeric ? numbers.size() : texts.size(); }
    void resize(size_t n) {
        if (numeric)
            numbers.resize(n, std::numeric_limits<double>::quiet_NaN());
        else
            texts.resize(n);
    }
};

namespace {

// The text as a case-insensitive comparison of a-z sees it; shares the text when it holds no
// lower-case letter a-z.
QString foldedText(const QString &text) {
    const QChar *begin = text.constData();
    const QChar *end = begin + text.size();
    const QChar *first = std::find_if(begin, end, [](QChar c) { return c >= u'a' && c <= u'z'; });
    if (first == end)
        return text;
    QString folded = text;
    QChar *data = folded.data();
    for (qsizetype i = first - begin; i < folded.size(); ++i)
        if (data[i] >= u'a' && data[i] <= u'z')
            data[i] = QChar(data[i].unicode() - (u'a' - u'A'));
    return folded;
}

// The number a cell shows (37.5, -12, 1E15), NaN when it shows none. Parsed without the
// locale machinery: the sort of a 100,000-row numeric column spends most of its time here.
double numberOf(const QString &text) {
    constexpr double none = std::numeric_limits<double>::quiet_NaN();
    const QString trimmed = text.trimmed();
    qsizetype i = trimmed.startsWith(u'+') ? 1 : 0;
    const qsizetype n = trimmed.size() - i;
    char buffer[64];
    if (n <= 0 || n >= static_cast<qsizetype>(sizeof buffer))
        return none;
    for (qsizetype k = 0; k < n; ++k) {
        const char16_t c = trimmed[i + k].unicode();
        if (c >= 0x80)
            return none;
        buffer[k] = static_cast<char>(c);
    }
    double value = none;
    const auto [end, error] = std::from_chars(buffer, buffer + n, value);
    if (error != std::errc() || end != buffer + n || !std::isfinite(value))
        return none;
    return value;
}

// a before b: the difference times 10000, truncated toward zero, is negative; a cell that is
// not a number comes before every number. The difference is taken as the decimal texts mean
// it: 1.0001 - 1.0002 is -0.99999999999989 in binary, which would truncate to 0 and make two
// numbers 0.0001 apart equal, so the rounding error of the subtraction is added back first.
bool numberLess(double a, double b) {
    if (std::isnan(a))
        return !std::isnan(b);
    if (std::isnan(b))
        return false;
    const double scaled = (a - b) * 10000.0;
    const double error =
        4 * std::numeric_limits<double>::epsilon() * std::max(std::abs(a), std::abs(b)) * 10000.0;
    return std::trunc(scaled - error) < 0.0;
}

} // namespace

ListModel::ListModel(const ListColumns &columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_columns(columns) {
    m_keys.resize(static_cast<size_t>(m_columns.size()));
}

ListModel::~ListModel() = default;

void ListModel::setCheckable(bool checkable) {
    if (checkable == m_checkable)
        return;
    m_checkable = checkable;
    if (!checkable)
        for (Item &item : m_items)
            item.row.ticked = false;
    if (!m_items.empty())
        emitRowsChanged(0, rowCount() - 1, {Qt::CheckStateRole});
    setTickedCount(countTicks());
}

void ListModel::setImages(const QList<QIcon> &images) {
    m_images = images;
    if (!m_items.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DecorationRole});
}

void ListModel::setRows(std::vector<ListRow> rows) {
    beginResetModel();
    // Freeing a long list costs as much as a short load (a million texts): the old rows and
    // sort keys are freed on a worker thread, so that the new list shows at once. Nothing but
    // that thread refers to them any more.
    auto old = std::make_shared<std::pair<std::vector<Item>, std::vector<std::unique_ptr<SortKeys>>>>();
    old->first.swap(m_items);
    for (auto &keys : m_keys)
        old->second.push_back(std::move(keys));
    m_items.reserve(rows.size());
    m_nextId = 0;
    for (ListRow &row : rows) {
        row.ticked = row.ticked && m_checkable;
        m_items.push_back(Item{std::move(row), m_nextId++});
    }
    endResetModel();
    setTickedCount(countTicks());
    if (old->first.size() > 5000)
        QThreadPool::globalInstance()->start([old]() mutable { old.reset(); });
}

void ListModel::appendRows(std::vector<ListRow> rows) {
    if (rows.empty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
    // Grows by doubling: a list that comes in many chunks is not copied once per chunk.
    if (m_items.capacity() < m_items.size() + rows.size())
        m_items.reserve(std::max(m_items.size() + rows.size(), 2 * m_items.capacity()));
    int ticks = 0;
    for (ListRow &row : rows) {
        row.ticked = row.ticked && m_checkable;
        ticks += row.ticked ? 1 : 0;
        m_items.push_back(Item{std::move(row), m_nextId++});
    }
    endInsertRows();
    setTickedCount(m_tickedCount + ticks);
}

void ListModel::appendRow(ListRow row) {
    std::vector<ListRow> rows;
    rows.push_back(std::move(row));
    appendRows(std::move(rows));
}

void ListModel::setRow(int row, ListRow value) {
    if (row < 0 || row >= rowCount())
        return;
    Item &item = m_items[static_cast<size_t>(row)];
    value.ticked = item.row.ticked;
    item.row = std::move(value);
    updateKeys(item);
    emitRowsChanged(row, row, {});
}

void ListModel::clear() {
    setRows({});
}

QString ListModel::cell(int row, int column) const {
    if (row < 0 || row >= rowCount())
        return QString();
    return m_items[static_cast<size_t>(row)].row.cells.value(column);
}

QString ListModel::hidden(int row, int index) const {
    if (row < 0 || row >= rowCount())
        return QString();
    return m_items[static_cast<size_t>(row)].row.hidden.value(index);
}

int ListModel::findHidden(int index, const QString &value) const {
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].row.hidden.value(index) == value)
            return static_cast<int>(i);
    return -1;
}

void ListModel::setImage(int row, int image) {
    if (row < 0 || row >= rowCount())
        return;
    m_items[static_cast<size_t>(row)].row.image = image;
    emit dataChanged(index(row, 0), index(row, 0), {Qt::DecorationRole});
}

bool ListModel::ticked(int row) const {
    return row >= 0 && row < rowCount() && m_items[static_cast<size_t>(row)].row.ticked;
}

void ListModel::setTicked(int row, bool ticked) {
    if (!m_checkable || row < 0 || row >= rowCount())
        return;
    bool &tick = m_items[static_cast<size_t>(row)].row.ticked;
    if (tick == ticked)
        return;
    tick = ticked;
    emitRowsChanged(row, row, {Qt::CheckStateRole});
    setTickedCount(m_tickedCount + (ticked ? 1 : -1));
}

void ListModel::setAllTicked(bool ticked) {
    if (!m_checkable || m_items.empty())
        return;
    for (Item &item : m_items)
        item.row.ticked = ticked;
    emitRowsChanged(0, rowCount() - 1, {Qt::CheckStateRole});
    setTickedCount(ticked ? rowCount() : 0);
}

void ListModel::invertTicks() {
    if (!m_checkable || m_items.empty())
        return;
    for (Item &item : m_items)
        item.row.ticked = !item.row.ticked;
    emitRowsChanged(0, rowCount() - 1, {Qt::CheckStateRole});
    setTickedCount(rowCount() - m_tickedCount);
}

QList<int> ListModel::tickedRows() const {
    QList<int> rows;
    rows.reserve(m_tickedCount);
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].row.ticked)
            rows.append(static_cast<int>(i));
    return rows;
}

int ListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_items.size());
}

int ListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant ListModel::data(const QModelIndex &index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const ListRow &row = m_items[static_cast<size_t>(index.row())].row;
    switch (role) {
    case Qt::DisplayRole:
        return row.cells.value(index.column());
    case Qt::TextAlignmentRole:
        return static_cast<int>(m_columns[index.column()].alignment | Qt::AlignVCenter);
    case Qt::CheckStateRole:
        if (m_checkable && index.column() == 0)
            return static_cast<int>(row.ticked ? Qt::Checked : Qt::Unchecked);
        return QVariant();
    case Qt::DecorationRole:
        if (index.column() == 0 && row.image >= 0 && row.image < m_images.size())
            return m_images[row.image];
        return QVariant();
    default:
        if (role >= HiddenRole && role - HiddenRole < row.hidden.size())
            return row.hidden[role - HiddenRole];
        return QVariant();
    }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_columns[section].caption;
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>(m_columns[section].alignment | Qt::AlignVCenter);
    return QVariant();
}

Qt::ItemFlags ListModel::flags(const QModelIndex &index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_checkable && index.column() == 0)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool ListModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::CheckStateRole || !m_checkable || index.column() != 0 ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    setTicked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

bool ListModel::removeRows(int row, int count, const QModelIndex &parent) {
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount())
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    const auto first = m_items.begin() + row;
    const int ticks = static_cast<int>(
        std::count_if(first, first + count, [](const Item &item) { return item.row.ticked; }));
    m_items.erase(first, first + count);
    endRemoveRows();
    setTickedCount(m_tickedCount - ticks);
    return true;
}

void ListModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columnCount() || m_items.size() < 2)
        return;
    const SortKeys &keys = keysOf(column);
    std::vector<int> order2(m_items.size());
    std::iota(order2.begin(), order2.end(), 0);
    const auto idOf = [this](int position) { return m_items[static_cast<size_t>(position)].id; };
    // A stable merge sort: equal rows keep their order, and the 0.0001 rule, whose "equal" is
    // not transitive, cannot lead it outside the range.
    if (keys.numeric) {
        const auto less = [&](int a, int b) {
            return numberLess(keys.numbers[idOf(a)], keys.numbers[idOf(b)]);
        };
        if (order == Qt::AscendingOrder)
            std::stable_sort(order2.begin(), order2.end(), less);
        else
            std::stable_sort(order2.begin(), order2.end(), [&](int a, int b) { return less(b, a); });
    } else {
        const auto less = [&](int a, int b) { return keys.texts[idOf(a)] < keys.texts[idOf(b)]; };
        if (order == Qt::AscendingOrder)
            std::stable_sort(order2.begin(), order2.end(), less);
        else
            std::stable_sort(order2.begin(), order2.end(), [&](int a, int b) { return less(b, a); });
    }

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<Item> sorted;
    sorted.reserve(m_items.size());
    std::vector<int> newRowOf(m_items.size());
    for (size_t i = 0; i < order2.size(); ++i) {
        newRowOf[static_cast<size_t>(order2[i])] = static_cast<int>(i);
        sorted.push_back(std::move(m_items[static_cast<size_t>(order2[i])]));
    }
    m_items = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before)
        after.append(index.isValid() ? this->index(newRowOf[static_cast<size_t>(index.row())], index.column())
                                     : QModelIndex());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ListModel::setTickedCount(int count) {
    if (count == m_tickedCount)
        return;
    m_tickedCount = count;
    emit tickedCountChanged(count);
}

int ListModel::countTicks() const {
    if (!m_checkable)
        return 0;
    return static_cast<int>(
        std::count_if(m_items.begin(), m_items.end(), [](const Item &item) { return item.row.ticked; }));
}

void ListModel::emitRowsChanged(int first, int last, const QList<int> &roles) {
    // The whole row: its painting follows the tick of column 0.
    emit dataChanged(index(first, 0), index(last, columnCount() - 1), roles);
}

const ListModel::SortKeys &ListModel::keysOf(int column) {
    auto &keys = m_keys[static_cast<size_t>(column)];
    if (!keys) {
        keys = std::make_unique<SortKeys>();
        keys->numeric = m_columns[column].numeric();
    }
    const size_t known = keys->size();
    if (known < m_nextId) {
        keys->resize(m_nextId);
        for (const Item &item : m_items) {
            if (item.id < known)
                continue;
            const QString text = item.row.cells.value(column);
            if (keys->numeric)
                keys->numbers[item.id] = numberOf(text);
            else
                keys->texts[item.id] = foldedText(text);
        }
    }
    return *keys;
}

void ListModel::updateKeys(const Item &item) {
    for (size_t column = 0; column < m_keys.size(); ++column) {
        SortKeys *keys = m_keys[column].get();
        if (!keys || item.id >= keys->size())
            continue;
        const QString text = item.row.cells.value(static_cast<int>(column));
        if (keys->numeric)
            keys->numbers[item.id] = numberOf(text);
        else
            keys->texts[item.id] = foldedText(text);
    }
}
