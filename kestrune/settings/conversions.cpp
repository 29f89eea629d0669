#include "conversions.h"

#include <locale.h>
#include <stdlib.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double NumericPrefix(const QString& text)
{
    const std::string s = text.toStdString();
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
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
    size_t end = i;
    // An exponent counts only when digits follow it: "1e" is 1, "1e2" is 100.
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j]))
                ++j;
            end = j;
        }
    }
    // strtod_l in the C locale: the decimal point is '.' whatever the user's
    // locale, and a value beyond a double's range gives ±HUGE_VAL or 0.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const std::string number = s.substr(start, end - start);
    return strtod_l(number.c_str(), nullptr, cLocale);
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

int16_t SettingsFlag(const QString& text)
{
    return text == QLatin1String("0") ? 0 : 1;
}
