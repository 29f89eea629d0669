// Texts of the motion window's status display.
#pragma once

#include <QString>

// The value in the pattern "000.000": at least three integer digits, exactly
// three decimals, rounded from the value's shortest decimal text, halves away
// from zero (2.0005 gives 002.001, -3.2 gives -003.200); a negative value
// keeps its sign when it rounds to zero (-000.000).
QString FormatThreeDecimals(double value);

// A plain decimal number at every size: up to 15 significant digits, no
// trailing zeros, never an exponent (0.00001, 10000000000000000).
QString FormatSpeed(double value);
