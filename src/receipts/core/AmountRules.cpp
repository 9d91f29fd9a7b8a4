#include "receipts/core/AmountRules.h"

#include "data/Globals.h"
#include "receipts/core/AmountConversionError.h"
#include "receipts/core/FormulaEvaluator.h"
#include "receipts/core/TextToNumber.h"

#include <algorithm>
#include <cmath>

QString LineAmount(const QString &quantityText, const QString &priceText) {
    const QString quantity = TextToNumber(quantityText) ? quantityText : QStringLiteral("0");
    const QString price = TextToNumber(priceText) ? priceText : QStringLiteral("0");
    QString formula = AmountFormula;
    formula.replace(QStringLiteral("数量"), quantity);
    formula.replace(QStringLiteral("单价"), price);
    const auto value = TextToNumber(EvalFormula(formula));
    if (!value)
        return QString();
    return GeneralNumberText(*value);
}

double ReceiptTotal(const QList<ReceiptLineCells> &lines) {
    double sum = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const ReceiptLineCells &line = lines[i];
        if (line.code.isEmpty() || line.amount.isEmpty())
            continue;
        const auto amount = TextToNumber(line.amount);
        if (!amount) {
            throw AmountConversionError(
                QStringLiteral("第%1行的金额“%2”不是有效的数字！").arg(i + 1).arg(line.amount));
        }
        sum += *amount;
    }
    if (!std::isfinite(sum))
        throw AmountConversionError(QStringLiteral("合计金额超出范围，无法计算！"));
    return sum;
}

namespace {

const QString CapitalDigits = QStringLiteral("零壹贰叁肆伍陆柒捌玖");

// Unit of an integer place counted from 1 at the units place.
QString placeUnit(int place) {
    static const QStringList units = {
        QString(),
        QStringLiteral("圆"),
        QStringLiteral("拾"),
        QStringLiteral("佰"),
        QStringLiteral("仟"),
        QStringLiteral("万"),
        QStringLiteral("拾"),
        QStringLiteral("佰"),
        QStringLiteral("仟"),
        QStringLiteral("亿"),
        QStringLiteral("拾"),
        QStringLiteral("佰"),
        QStringLiteral("仟"),
        QStringLiteral("万亿"),
        QStringLiteral("拾"),
        QStringLiteral("佰"),
        QStringLiteral("仟"),
        QStringLiteral("亿亿"),
    };
    // Places 18 to 20 repeat the 万亿 group's 拾, 佰, 仟.
    return units[place <= 17 ? place : place - 4];
}

// True when the group of four places whose lowest digit is integer[lowest] holds only zeros.
bool groupIsZero(const QString &integer, int lowest) {
    for (int i = std::max(0, lowest - 3); i <= lowest; ++i) {
        if (integer[i] != u'0')
            return false;
    }
    return true;
}

QChar capitalDigit(QChar digit) {
    return CapitalDigits[digit.unicode() - u'0'];
}

} // namespace

QString AmountToCapitals(double value) {
    const QString text = GeneralNumberText(value);
    if (text.isEmpty() || text.size() > 30)
        return QString();

    // Sign, integer digits and fraction digits; anything else (an exponent) cannot be written.
    enum class State { Start, Minus, IntegerZero, IntegerDigits, Point, FractionDigits };
    State state = State::Start;
    bool negative = false;
    QString integer;
    QString fraction;
    for (QChar c : text) {
        const bool digit = c >= u'0' && c <= u'9';
        switch (state) {
        case State::Start:
        case State::Minus:
            if (c == u'-' && state == State::Start) {
                negative = true;
                state = State::Minus;
            } else if (c == u'0') {
                integer += c;
                state = State::IntegerZero;
            } else if (digit) {
                integer += c;
                state = State::IntegerDigits;
            } else {
                return QString();
            }
            break;
        case State::IntegerZero:
        case State::IntegerDigits:
            if (c == u'.') {
                state = State::Point;
            } else if (digit && state == State::IntegerDigits) {
                integer += c;
            } else {
                return QString();
            }
            break;
        case State::Point:
        case State::FractionDigits:
            if (!digit)
                return QString();
            fraction += c;
            state = State::FractionDigits;
            break;
        }
    }
    if (state != State::IntegerZero && state != State::IntegerDigits && state != State::FractionDigits)
        return QString();
    if (integer.size() > 20)
        return QString();

    const QChar jiao = fraction.size() > 0 ? fraction[0] : QChar(u'0');
    const QChar fen = fraction.size() > 1 ? fraction[1] : QChar(u'0');
    const bool fractionIsZero = jiao == u'0' && fen == u'0';
    const int n = static_cast<int>(integer.size());

    QString out;
    // A value that writes as zero (-0.001) carries no sign.
    if (negative && !(integer == u"0" && fractionIsZero))
        out += QStringLiteral("负");

    bool pendingZero = false;
    for (int i = 0; i < n; ++i) {
        const QChar d = integer[i];
        const int place = n - i;
        if (d != u'0') {
            if (pendingZero) {
                out += CapitalDigits[0];
                pendingZero = false;
            }
            out += capitalDigit(d);
            out += placeUnit(place);
        } else if ((place - 1) % 4 != 0) {
            pendingZero = true;
        } else if (n == 1) {
            // The integer part is just "0": written only when there is no fraction either.
            if (fractionIsZero)
                out += CapitalDigits[0] + placeUnit(1);
        } else if (place > 1 && groupIsZero(integer, i)) {
            // A group of four zeros under a higher group writes no unit of its own; its zeros
            // still stand as one 零 before the next non-zero digit.
        } else {
            out += placeUnit(place);
            pendingZero = false;
        }
    }

    if (fractionIsZero) {
        out += QStringLiteral("整");
    } else {
        if (jiao != u'0')
            out += capitalDigit(jiao) + QStringLiteral("角");
        else if (integer != u"0")
            out += CapitalDigits[0];
        if (fen != u'0')
            out += capitalDigit(fen) + QStringLiteral("分");
    }
    return out;
}

QString AmountDigit(int place, double value) {
    if (place < 0 || place > 9 || !std::isfinite(value))
        return QString();
    const QString text = TwoDecimalText(value);
    const qsizetype length = text.size();
    if (place == 0)
        return text.right(1);
    if (place == 1)
        return text.mid(length - 2, 1);
    if (place == 9)
        return length < 11 ? QString() : text.left(length - 10);
    // Places 2 to 8 skip the point: position length - place - 1, counted from 1.
    const qsizetype position = length - place - 1;
    return position < 1 ? QString() : text.mid(position - 1, 1);
}
