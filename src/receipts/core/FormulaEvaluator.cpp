#include "receipts/core/FormulaEvaluator.h"

#include "data/NumberText.h"
#include "receipts/core/TextToNumber.h"

#include <cmath>
#include <optional>

namespace {

const QString EmptyFormula = QStringLiteral("公式错误，公式为空！");
const QString IllegalCharacter = QStringLiteral("公式错误，公式含有非法运算符！");
const QString UnpairedBracket = QStringLiteral("公式错误，没有配对的”)“！");
const QString MulDivAtEdge = QStringLiteral("公式错误，首或尾字符是*/运算符！");
const QString MulDivOperandEndsText = QStringLiteral("公式错误，尾字符是”+-*/”运算符！");
const QString ZeroDivisor = QStringLiteral("公式错误，除数为零，无意义！");
const QString AddSubAtEnd = QStringLiteral("公式错误，尾字符是“+-”运算符！");
const QString AddSubOperandEndsText = QStringLiteral("公式错误，尾字符是+-运算符！");
const QString GeneralError = QStringLiteral("公式错误！");

// A value, or an error message when `ok` is false.
struct Outcome {
    bool ok;
    QString text;
};

Outcome fail(const QString &message) {
    return {false, message};
}

bool isAllowed(QChar c) {
    return (c >= u'0' && c <= u'9') || QStringView(u".+-*/()[]{}").contains(c);
}

bool isOperator(QChar c) {
    return c == u'+' || c == u'-' || c == u'*' || c == u'/';
}

bool isSign(QChar c) {
    return c == u'+' || c == u'-';
}

// First index after `from` whose character satisfies `pred`, or -1.
template <typename Pred> qsizetype findAfter(const QString &s, qsizetype from, Pred pred) {
    for (qsizetype i = from + 1; i < s.size(); ++i) {
        if (pred(s[i]))
            return i;
    }
    return -1;
}

// The result of one operation, as the text that replaces it; nothing for an arithmetic fault
// (overflow, a zero divisor written other than "0", 0/0).
std::optional<QString> resultText(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    return GeneralNumberText(value);
}

// Removes every * and /, leftmost first. Returns a message on failure, nothing on success.
std::optional<QString> reduceProducts(QString &text) {
    for (;;) {
        qsizetype p = -1;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == u'*' || text[i] == u'/') {
                p = i;
                break;
            }
        }
        if (p < 0)
            return std::nullopt;
        if (p == 0 || p == text.size() - 1)
            return MulDivAtEdge;

        // The left operand starts after the nearest + or - before the operator; a sign at the
        // very start is the left operand's own.
        qsizetype leftStart = 0;
        for (qsizetype i = p - 1; i >= 0; --i) {
            if (isSign(text[i])) {
                leftStart = i == 0 ? 0 : i + 1;
                break;
            }
        }

        // Minus signs right after the operator negate the result.
        bool negate = false;
        qsizetype next = -1;
        for (;;) {
            next = findAfter(text, p, isOperator);
            if (next == text.size() - 1)
                return MulDivOperandEndsText;
            if (text[p + 1] != u'-')
                break;
            text.remove(p + 1, 1);
            negate = !negate;
        }
        const qsizetype rightEnd = next < 0 ? text.size() : next;
        const QString rightText = text.mid(p + 1, rightEnd - p - 1);
        const bool divide = text[p] == u'/';
        if (divide && rightText == u"0")
            return ZeroDivisor;

        const auto left = TextToNumber(text.mid(leftStart, p - leftStart));
        const auto right = TextToNumber(rightText);
        if (!left || !right || (divide && *right == 0))
            return GeneralError;
        double value = divide ? *left / *right : *left * *right;
        if (negate)
            value = -value;
        const auto replacement = resultText(value);
        if (!replacement)
            return GeneralError;
        text.replace(leftStart, rightEnd - leftStart, *replacement);
    }
}

// Removes every + and - after the first character, leftmost first, and yields the value.
Outcome reduceSums(QString text) {
    for (;;) {
        if (!text.contains(u'+') && !text.contains(u'-')) {
            // Nothing left to compute: the text stands as written ("007" stays "007"), provided
            // it is a number at all.
            if (!TextToNumber(text))
                return fail(GeneralError);
            return {true, text};
        }
        const qsizetype p = findAfter(text, 0, isSign);
        if (p < 0) {
            const auto value = TextToNumber(text);
            if (!value)
                return fail(GeneralError);
            return {true, GeneralNumberText(*value)};
        }
        if (p == text.size() - 1)
            return fail(AddSubAtEnd);

        bool negate = false;
        qsizetype next = -1;
        for (;;) {
            next = findAfter(text, p, isSign);
            if (next == text.size() - 1)
                return fail(AddSubOperandEndsText);
            if (text[p + 1] != u'-')
                break;
            text.remove(p + 1, 1);
            negate = !negate;
        }
        const qsizetype rightEnd = next < 0 ? text.size() : next;
        const auto left = TextToNumber(text.left(p));
        const auto right = TextToNumber(text.mid(p + 1, rightEnd - p - 1));
        if (!left || !right)
            return fail(GeneralError);
        const double operand = negate ? -*right : *right;
        const auto replacement = resultText(text[p] == u'+' ? *left + operand : *left - operand);
        if (!replacement)
            return fail(GeneralError);
        text.replace(0, rightEnd, *replacement);
    }
}

Outcome evaluate(const QString &formula) {
    QString text = formula;
    text.remove(u' ');
    if (text.isEmpty())
        return fail(EmptyFormula);
    for (QChar c : std::as_const(text)) {
        if (!isAllowed(c))
            return fail(IllegalCharacter);
    }
    text.replace(u'[', u'(').replace(u'{', u'(').replace(u']', u')').replace(u'}', u')');

    // Innermost bracket first: the last "(" and the first ")" after it enclose no other
    // bracket. A bracket in error makes the whole formula fail with the bracket's message.
    for (qsizetype open = text.lastIndexOf(u'('); open >= 0; open = text.lastIndexOf(u'(')) {
        const qsizetype close = text.indexOf(u')', open + 1);
        if (close < 0)
            return fail(UnpairedBracket);
        const Outcome inner = evaluate(text.mid(open + 1, close - open - 1));
        if (!inner.ok)
            return inner;
        text.replace(open, close - open + 1, inner.text);
    }

    if (const auto message = reduceProducts(text))
        return fail(*message);
    return reduceSums(text);
}

} // namespace

QString EvalFormula(const QString &formula) {
    return evaluate(formula).text;
}
