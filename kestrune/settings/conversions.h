// How settings text becomes numbers.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The value of the longest number at the start of `text` (after leading
// blanks): sign, digits, decimal point, exponent. Text that does not start
// with a number gives 0.
double NumericPrefix(const QString& text);

// `value` rounded to the nearest integer, halves to the even neighbour.
double RoundHalfEven(double value);

// "number": the numeric prefix rounded halves to even, or nothing when it does
// not fit a 16-bit integer.
std::optional<int16_t> SettingsNumber(const QString& text);

// "flag": 0 for exactly "0", 1 for anything else, the empty text included.
int16_t SettingsFlag(const QString& text);
