#include "numbertext.h"

#include <cctype>
#include <cmath>
#include <limits>
#include <string>

#include "cnumber.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the number at `i` in `s` (sign, digits, point, exponent), 0 if none.
size_t NumberLength(const std::string& s, size_t i)
{
    const size_t start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < s.size() && IsDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    // An exponent counts only when digits follow it: "1e" is 1, "1e2" is 100.
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j]))
                ++j;
            i = j;
        }
    }
    return i - start;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

double NumericPrefix(const QString& text)
{
    const std::string s = text.toStdString();
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    const size_t n = NumberLength(s, i);
    return n == 0 ? 0 : CLocaleToDouble(s.substr(i, n));
}

std::optional<double> StrictNumber(const QString& text)
{
    const std::string s = text.trimmed().toStdString();
    const size_t n = NumberLength(s, 0);
    if (n == 0 || n != s.size())
        return std::nullopt;
    const double value = CLocaleToDouble(s);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

bool IsNumberText(const QString& text)
{
    const std::string s = text.trimmed().toStdString();
    const size_t n = NumberLength(s, 0);
    return n != 0 && n == s.size();
}

QString Abbreviated(const QString& text)
{
    constexpr qsizetype kShown = 32;
    if (text.size() <= kShown)
        return text;
    const qsizetype cut = text[kShown - 1].isHighSurrogate() ? kShown - 1 : kShown;
    return text.left(cut) + QStringLiteral("…");
}

std::optional<int32_t> StrictInt32(const QString& text)
{
    const auto value = StrictNumber(text);
    if (!value)
        return std::nullopt;
    const double rounded = RoundHalfEven(*value);
    constexpr double kLimit = std::numeric_limits<int32_t>::max();
    if (!(rounded >= -kLimit && rounded <= kLimit))
        return std::nullopt;
    return static_cast<int32_t>(rounded);
}

double LeadingValue(const QString& text)
{
    QString compact = text;
    compact.remove(QLatin1Char(' ')).remove(QLatin1Char('\t'));
    return NumericPrefix(compact);
}

double RoundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5)
        return floor;
    if (diff > 0.5)
        return floor + 1;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::optional<int16_t> SettingsNumber(const QString& text)
{
    const double value = RoundHalfEven(NumericPrefix(text));
    if (!(value >= std::numeric_limits<int16_t>::min() && value <= std::numeric_limits<int16_t>::max()))
        return std::nullopt;
    return static_cast<int16_t>(value);
}

int16_t SettingsFlag(const QString& text) { return text == QLatin1String("0") ? 0 : 1; }

QString HexText(uint32_t value) { return QString::number(value, 16).toUpper(); }

std::optional<uint32_t> ParseHex(const QString& text, int maxDigits)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > maxDigits)
        return std::nullopt;
    uint32_t value = 0;
    for (const QChar c : t) {
        const qsizetype digit = QStringLiteral("0123456789ABCDEF").indexOf(c.toUpper());
        if (digit < 0 || c.unicode() > 0x7F)
            return std::nullopt;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value;
}

std::optional<uint32_t> LeadingHex(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype n = 0;
    while (n < t.size() && t[n].unicode() < 0x80 && std::isxdigit(t[n].unicode()))
        ++n;
    return n == 0 ? std::optional<uint32_t>(0u) : Hex32(t.left(n));
}

std::optional<uint32_t> Hex32(const QString& text)
{
    const QString t = text.trimmed();
    // Leading zeros do not widen a value; a blank inside ends the number.
    qsizetype first = 0;
    while (first + 1 < t.size() && t[first] == QLatin1Char('0'))
        ++first;
    const QString digits = t.mid(first);
    if (digits.contains(QLatin1Char(' ')) || digits.contains(QLatin1Char('\t')))
        return std::nullopt;
    return ParseHex(digits, 8);
}

std::optional<int16_t> StrictInt16(const QString& text)
{
    const auto value = StrictNumber(text);
    if (!value)
        return std::nullopt;
    const double rounded = RoundHalfEven(*value);
    if (!(rounded >= std::numeric_limits<int16_t>::min() && rounded <= std::numeric_limits<int16_t>::max()))
        return std::nullopt;
    return static_cast<int16_t>(rounded);
}
