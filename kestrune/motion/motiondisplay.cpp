#include "motiondisplay.h"

#include <charconv>
#include <cmath>
#include <string>

QString FormatThreeDecimals(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    // The shortest text that reads back as the value, in plain notation: the
    // rounding below works on these decimal digits, not on the binary value,
    // so 2.0005 rounds up as a user reading it would expect.
    char buffer[400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed);
    if (ec != std::errc())
        return QString::number(value);
    const std::string text(buffer, end);
    const size_t point = text.find('.');
    std::string digits = text.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
    fraction.resize(std::max<size_t>(fraction.size(), 4), '0');
    const bool roundUp = fraction[3] >= '5';
    digits += fraction.substr(0, 3);
    if (roundUp) {
        size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i - 1];
    }
    std::string integer = digits.substr(0, digits.size() - 3);
    if (integer.size() < 3)
        integer.insert(0, 3 - integer.size(), '0');
    const std::string decimals = digits.substr(digits.size() - 3);
    // A small negative value keeps its sign: -0.0004 is "-000.000".
    return QString::fromStdString((value < 0 ? "-" : "") + integer + "." + decimals);
}

QString FormatSpeed(double value)
{
    if (value == 0)
        return QStringLiteral("0"); // also for -0
    if (!std::isfinite(value))
        return QString::number(value);
    // 15 significant digits, then written out without an exponent.
    char buffer[32];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 14);
    if (ec != std::errc())
        return QString::number(value, 'g', 15);
    const std::string text(buffer, end); // d.dddddddddddddde±x
    const size_t e = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    const int exponent = std::stoi(text.substr(e + 1));
    digits.erase(digits.find_last_not_of('0') + 1);
    std::string plain;
    if (exponent < 0) {
        plain = "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    } else if (static_cast<size_t>(exponent) + 1 >= digits.size()) {
        plain = digits + std::string(static_cast<size_t>(exponent) + 1 - digits.size(), '0');
    } else {
        plain = digits.substr(0, static_cast<size_t>(exponent) + 1) + "." +
                digits.substr(static_cast<size_t>(exponent) + 1);
    }
    return QString::fromStdString((value < 0 ? "-" : "") + plain);
}
