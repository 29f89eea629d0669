#include "cardchoice.h"

std::optional<int16_t> CardNumberFromText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 6)
        return std::nullopt;
    int value = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (i == 0 && c == QLatin1Char('+') && t.size() > 1)
            continue;
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    if (value > kLastCardNumber)
        return std::nullopt;
    return static_cast<int16_t>(value);
}
