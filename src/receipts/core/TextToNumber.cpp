#include "receipts/core/TextToNumber.h"

#include <QLocale>

#include <cmath>

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// True when the text is sign, mantissa and optional exponent, nothing else.
bool hasNumberShape(QStringView s) {
    qsizetype i = 0;
    const qsizetype n = s.size();
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    qsizetype mantissaDigits = 0;
    while (i < n && isDigit(s[i])) {
        ++i;
        ++mantissaDigits;
    }
    if (i < n && s[i] == u'.') {
        ++i;
        while (i < n && isDigit(s[i])) {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        ++i;
        if (i < n && (s[i] == u'+' || s[i] == u'-'))
            ++i;
        qsizetype exponentDigits = 0;
        while (i < n && isDigit(s[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false;
    }
    return i == n;
}

} // namespace

std::optional<double> TextToNumber(const QString &text) {
    QStringView s(text);
    while (!s.isEmpty() && s.front() == u' ')
        s = s.sliced(1);
    while (!s.isEmpty() && s.back() == u' ')
        s.chop(1);
    if (!hasNumberShape(s))
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(s, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}
