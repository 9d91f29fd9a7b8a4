#pragma once

// Receipt amount rules: line amount, total, capitals and digit columns.
// The general number text and the two-decimal text come from the data layer.
#include "data/NumberText.h"

#include <QList>
#include <QString>

// The two cells of a grid line that the total reads.
struct ReceiptLineCells {
    QString code;   // 编号
    QString amount; // 金额
};

// The amount of a line: AmountFormula with the quantity and price texts put in (a text that is
// not a number counts as "0"), evaluated, as general number text. A null QString when the
// formula does not evaluate to a number: the amount cell then keeps its text.
QString LineAmount(const QString &quantityText, const QString &priceText);

// The sum of the amounts of the lines that have a code and an amount; lines[0] is grid row 1.
// Throws AmountConversionError when such an amount is not a number or the sum overflows.
double ReceiptTotal(const QList<ReceiptLineCells> &lines);

// The amount in Chinese capitals (壹仟零伍拾圆整, 负壹拾贰圆伍角). Decimals beyond the 分 are cut,
// not rounded. Empty when the general number text of the value is in scientific notation.
QString AmountToCapitals(double value);

// The characters of one digit box of the amount's two-decimal text: place 0 is 分, 1 角, 2 元,
// 3 十 … 8 百万; place 9 (千万) takes every character above 百万. A minus sign fills the box
// above the highest digit. Empty for a box above the amount and for a place outside 0 to 9.
QString AmountDigit(int place, double value);
