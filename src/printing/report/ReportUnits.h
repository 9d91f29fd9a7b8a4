#pragma once

#include <QString>
#include <QStringView>

// Report geometry is kept in integer hundredths of a millimetre, so that rows repeated down a
// page add up exactly and never drift. Files write it as millimetres ("53.6").
inline constexpr int UnitsPerMm = 100;

inline constexpr int MmToUnits(int mm) {
    return mm * UnitsPerMm;
}
// Millimetres as text, at most two decimals, no trailing zeros: 5360 -> "53.6".
QString UnitsToText(int units);
// Reads a decimal number of millimetres ("53.6", "-1", "0.255" rounds to 26 units).
// False when the text is not such a number or out of range.
bool TextToUnits(QStringView text, int &units);
// A font size in points as units.
double PointsToUnits(double points);
