#pragma once

#include <QString>

// The general number text: the shortest text of a double with at most 15 significant digits,
// no thousands separator, no trailing zeros or point; fixed notation while the integer part has
// at most 15 digits and the magnitude is at least 0.00001, otherwise 1E15 / 1.5E-6 style.
QString GeneralNumberText(double value);

// Fixed notation with exactly two decimals, rounded half away from zero on the exact double
// value (0.125 gives 0.13), no thousands separator.
QString TwoDecimalText(double value);
