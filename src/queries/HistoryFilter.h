#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The conditions of the receipt query: its date ranges, its seventeen search fields and the
// statements it reads receipts and lines with. Every text is Jet SQL; user text goes in only
// through QuoteSql.

// "查询范围：" — the items of the range box, in order.
enum class HistoryRange { Today, ThisMonth, All };
inline const QStringList HistoryRangeTexts{QStringLiteral("今日业务"), QStringLiteral("本月业务"),
                                           QStringLiteral("全部业务")};
// The range an item text stands for (an unknown text stands for today).
HistoryRange HistoryRangeOf(const QString &text);

// The range's condition on its own ("billdate=#2026-12-11#") and the same condition appended
// to a field condition (" and billdate=#2026-12-11#"). "本月业务" compares the month number
// only, so it takes in the same month of every year.
QString RangeCondition(HistoryRange range, const QDate &today);
QString RangeSuffix(HistoryRange range, const QDate &today);

// "字段名：" — the items of the field box, in order.
extern const QStringList HistoryFieldTexts;
inline constexpr int AmountField = 11;  // 按总金额查询
inline constexpr int ShowAllField = 16; // 显示全部

inline const QString AmountNotANumberText = QStringLiteral("总金额应为数字，请重新输入！");

// What "查询" makes of the field box, the condition text and the range.
struct HistorySearch {
    enum class Outcome {
        Filter,     // filter is the new condition of the list
        NotANumber, // an amount search on a text that is not a number: refuse it
        Nothing,    // "显示全部" with a text: the command does nothing
    };
    Outcome outcome = Outcome::Nothing;
    QString filter;
};
HistorySearch BuildHistorySearch(int field, const QString &text, HistoryRange range, const QDate &today);

// A plain decimal number (sign, digits, point, exponent), blanks around it allowed.
bool IsAmountText(const QString &text);

// "select * from ss_sale where 1=1  and " + filter + " order by saleid desc".
QString HistoryStatement(const QString &filter);
// The one receipt row, to reload it after a change.
QString HistoryRowStatement(int saleId);
// The lines of one receipt in key order.
QString HistoryLinesStatement(int saleId);
