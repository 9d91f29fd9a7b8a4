#pragma once

#include <QString>

#include <optional>

// Reads a number the way the receipt forms read a cell or an operand: surrounding spaces, an
// optional sign, digits with at most one decimal point ("5", "5.25", ".5", "5."), an optional
// exponent ("1e3", "1.5E-6"). Anything else, and a value outside the range of a double, is not
// a number. The decimal point is always ".", whatever the system's locale.
std::optional<double> TextToNumber(const QString &text);
