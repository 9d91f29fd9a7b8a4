#pragma once

#include <QString>

// Evaluates a line-amount formula such as "3*12.5" or "(1+2)*[4-1]" by rewriting the text one
// operation at a time: brackets innermost first, then * and / from the left, then + and - from
// the left. Every intermediate result is written back as general number text, so it is cut to
// 15 significant digits before the next operation reads it.
//
// Returns the value as text, or one of the fixed error messages beginning "公式错误". Never
// throws.
QString EvalFormula(const QString &formula);
