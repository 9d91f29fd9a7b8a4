#pragma once

#include <QLocale>
#include <QString>
#include <QVariant>

// Shows a field value through a memo's display format: text around one conversion
// %[-][width][.precision]type, "%%" for a percent sign. Types: d integer (precision = least
// digits), f fixed (precision = decimals, default 2), n fixed with thousands separators,
// m money with the locale's currency sign and separators, g general (precision = significant
// digits, default 15, no trailing zeros), e scientific. Width pads with blanks, "-" on the
// right. Rounding is half away from zero.
//
// A null value gives an empty text. An empty format, a format that is not of this form, or a
// value that is not a number gives the value as it stands.
QString FormatDisplayValue(const QVariant &value, const QString &format, const QLocale &locale);
