#include "data/NumberText.h"

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

QString GeneralNumberText(double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0)
        return QStringLiteral("0");

    // Fifteen significant digits: "d.dddddddddddddde±x", whatever the process locale.
    char buf[40];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
    *res.ptr = '\0';
    std::string digits;
    digits += buf[0];
    digits.append(buf + 2, 14);
    const int exponent = std::atoi(buf + 17);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out;
    if (value < 0)
        out += '-';
    if (exponent >= 15 || exponent < -5) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += 'E';
        out += std::to_string(exponent);
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const size_t intDigits = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            out += digits;
            out.append(intDigits - digits.size(), '0');
        } else {
            out.append(digits, 0, intDigits);
            out += '.';
            out.append(digits, intDigits);
        }
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

QString TwoDecimalText(double value) {
    if (!std::isfinite(value))
        return GeneralNumberText(value);

    // The exact decimal expansion of the double, then decimal rounding on the text, so that
    // ties such as 0.125 round away from zero instead of to even.
    const double magnitude = std::fabs(value);
    std::vector<char> buf(420);
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), magnitude, std::chars_format::fixed, 80);
    std::string text(buf.data(), res.ptr);
    const size_t point = text.find('.');
    std::string whole = text.substr(0, point);
    std::string cents = text.substr(point + 1, 2);
    const bool roundUp = text[point + 3] >= '5';

    std::string number = whole + cents;
    if (roundUp) {
        int i = static_cast<int>(number.size()) - 1;
        while (i >= 0 && number[static_cast<size_t>(i)] == '9') {
            number[static_cast<size_t>(i)] = '0';
            --i;
        }
        if (i < 0)
            number.insert(number.begin(), '1');
        else
            ++number[static_cast<size_t>(i)];
    }
    std::string out = number.substr(0, number.size() - 2) + '.' + number.substr(number.size() - 2);
    const bool isZero = out.find_first_not_of("0.") == std::string::npos;
    if (value < 0 && !isZero)
        out.insert(out.begin(), '-');
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}
