#include "cardchoice.h"

#include <algorithm>

std::optional<int16_t> CardNumberFromText(const QString& text)
{
    const QString t = text.trimmed();
    const qsizetype first = t.startsWith(QLatin1Char('+')) ? 1 : 0;
    if (first == t.size())
        return std::nullopt;
    // Any number of leading zeros; the value stops counting once too large.
    int value = 0;
    for (qsizetype i = first; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = std::min(value * 10 + (c.unicode() - '0'), kLastCardNumber + 1);
    }
    if (value > kLastCardNumber)
        return std::nullopt;
    return static_cast<int16_t>(value);
}
