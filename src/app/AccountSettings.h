#pragma once

#include <QString>

// Loads the function settings into RowCount, AllowNegative and SoftName, sets AmountFormula,
// and returns the main window's caption.
QString LoadAccountSettings();
