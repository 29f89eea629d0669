// Numbers written as text: what users type into the windows' text boxes, as
// the commands read it (strictly, with a message for anything else), what the
// settings files hold, as the card's own program read it (leniently), and
// numbers shown as text.
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

// A number as a command reads it from a text box: blanks around it allowed,
// an optional sign, digits with at most one decimal point (".5" and "5."
// count), an optional exponent with digits. Anything else, the empty text
// included, is no number. Values beyond a double's range are no number.
std::optional<double> StrictNumber(const QString& text);

// Whether `text` is written as a strict number, whatever its size: "1e400"
// and a 400-digit number are numbers too big for any field, not typing errors.
bool IsNumberText(const QString& text);

// Typed text as a message quotes it: at most 32 characters, then "…".
QString Abbreviated(const QString& text);

// A 32-bit field: the strict number rounded halves to even. The range is
// symmetric (±2147483647) so that making a value positive or negating it, as
// the motion commands do, always fits.
std::optional<int32_t> StrictInt32(const QString& text);

// The value of the number that the leading characters form, blanks anywhere
// ignored, 0 when the text does not begin with a number.
double LeadingValue(const QString& text);

// Upper-case hexadecimal without prefix or leading zeros; "0" for zero.
QString HexText(uint32_t value);

// A hexadecimal number of 1 to `maxDigits` digits, blanks around it allowed,
// no prefix; anything else is no number.
std::optional<uint32_t> ParseHex(const QString& text, int maxDigits);

// A hexadecimal number that fits 32 bits, leading zeros allowed, blanks only
// around it; nothing for any other text.
std::optional<uint32_t> Hex32(const QString& text);

// The value of the hexadecimal digits at the start of `text` (after blanks),
// 0 when it starts with none; nothing when those digits are wider than 32 bits.
std::optional<uint32_t> LeadingHex(const QString& text);

// A decimal 16-bit integer as a command reads it (a strict number, rounded
// halves to even); nothing when the text is not one.
std::optional<int16_t> StrictInt16(const QString& text);
