#include "printing/report/DisplayFormat.h"

#include <cmath>
#include <optional>

namespace {

constexpr int MaxWidth = 255;
constexpr int MaxPrecision = 30;

struct Conversion {
    QString prefix;
    QString suffix;
    bool leftJustify = false;
    int width = 0;
    int precision = -1; // -1: the type's default
    char type = 0;
};

// Reads one run of digits; false when it is longer than the limit allows.
bool readNumber(const QString &format, qsizetype &i, int limit, int &value) {
    value = 0;
    while (i < format.size() && format.at(i).isDigit() && format.at(i).unicode() < 128) {
        value = value * 10 + (format.at(i).unicode() - '0');
        if (value > limit)
            return false;
        ++i;
    }
    return true;
}

std::optional<Conversion> parse(const QString &format) {
    Conversion c;
    QString *out = &c.prefix;
    for (qsizetype i = 0; i < format.size();) {
        const QChar ch = format.at(i);
        if (ch != u'%') {
            out->append(ch);
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format.at(i + 1) == u'%') {
            out->append(u'%');
            i += 2;
            continue;
        }
        if (c.type != 0)
            return std::nullopt; // one value, one conversion
        ++i;
        if (i < format.size() && format.at(i) == u'-') {
            c.leftJustify = true;
            ++i;
        }
        if (!readNumber(format, i, MaxWidth, c.width))
            return std::nullopt;
        if (i < format.size() && format.at(i) == u'.') {
            ++i;
            if (!readNumber(format, i, MaxPrecision, c.precision))
                return std::nullopt;
        }
        if (i >= format.size())
            return std::nullopt;
        const char type = static_cast<char>(format.at(i).toLower().unicode());
        if (QByteArrayView("dfgnme").indexOf(type) < 0 || format.at(i).unicode() > 127)
            return std::nullopt;
        c.type = type;
        ++i;
        out = &c.suffix;
    }
    if (c.type == 0)
        return std::nullopt;
    return c;
}

std::optional<double> toNumber(const QVariant &value, const QLocale &locale) {
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return value.toDouble();
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        bool ok = false;
        double d = QLocale::c().toDouble(text, &ok);
        if (!ok)
            d = locale.toDouble(text, &ok);
        if (ok && std::isfinite(d))
            return d;
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

QString plainText(const QVariant &value) {
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

bool hasNonZeroDigit(const QString &text) {
    for (const QChar ch : text)
        if (ch.isDigit() && ch != u'0')
            return true;
    return false;
}

// The C-locale number with the locale's decimal point.
QString withDecimalPoint(QString text, const QLocale &locale) {
    return text.replace(u'.', locale.decimalPoint());
}

// Scientific text "1.5e+03" as 1.5E+003 (mantissa, E, sign, at least three exponent digits).
QString scientific(double magnitude, int digits, const QLocale &locale) {
    const QString text = QString::number(magnitude, 'e', digits - 1);
    const qsizetype e = text.indexOf(u'e');
    const QString exponent = text.mid(e + 2);
    return withDecimalPoint(text.left(e), locale) + u'E' + text.at(e + 1) + exponent.rightJustified(3, u'0');
}

// General text "1e+21" as 1E21, "1e-06" as 1E-6.
QString general(double magnitude, int digits, const QLocale &locale) {
    const QString text = QString::number(magnitude, 'g', digits);
    const qsizetype e = text.indexOf(u'e');
    if (e < 0)
        return withDecimalPoint(text, locale);
    const QString sign = text.at(e + 1) == u'-' ? QStringLiteral("-") : QString();
    QString exponent = text.mid(e + 2);
    while (exponent.size() > 1 && exponent.startsWith(u'0'))
        exponent.remove(0, 1);
    return withDecimalPoint(text.left(e), locale) + u'E' + sign + exponent;
}

QString formatNumber(double value, const Conversion &c, const QLocale &locale) {
    const double magnitude = std::fabs(value);
    QLocale plain = locale;
    plain.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    QString digits;
    switch (c.type) {
    case 'd': {
        digits = QString::number(std::round(magnitude), 'f', 0);
        if (c.precision > digits.size())
            digits = digits.rightJustified(c.precision, u'0');
        break;
    }
    case 'f':
        digits = plain.toString(magnitude, 'f', c.precision < 0 ? 2 : c.precision);
        break;
    case 'n':
        digits = locale.toString(magnitude, 'f', c.precision < 0 ? 2 : c.precision);
        break;
    case 'm':
        digits = locale.toCurrencyString(magnitude, locale.currencySymbol(QLocale::CurrencySymbol),
                                         c.precision < 0 ? 2 : c.precision);
        break;
    case 'g':
        digits = general(magnitude, c.precision <= 0 ? 15 : c.precision, locale);
        break;
    case 'e':
        digits = scientific(magnitude, c.precision <= 0 ? 15 : c.precision, locale);
        break;
    }
    // A value that rounds to zero shows no sign.
    QString text = value < 0 && hasNonZeroDigit(digits) ? locale.negativeSign() + digits : digits;
    if (text.size() < c.width)
        text = c.leftJustify ? text.leftJustified(c.width, u' ') : text.rightJustified(c.width, u' ');
    return c.prefix + text + c.suffix;
}

} // namespace

QString FormatDisplayValue(const QVariant &value, const QString &format, const QLocale &locale) {
    if (value.isNull() || !value.isValid())
        return QString();
    if (format.isEmpty())
        return plainText(value);
    const std::optional<Conversion> conversion = parse(format);
    if (!conversion)
        return plainText(value);
    const std::optional<double> number = toNumber(value, locale);
    if (!number)
        return plainText(value);
    return formatNumber(*number, *conversion, locale);
}
