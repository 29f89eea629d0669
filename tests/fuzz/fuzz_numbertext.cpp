// Every text conversion on any text: none crashes, and each keeps its promise
// (a number in its range, a hexadecimal value that reads back, a plain
// decimal that reads back to 15 digits, a card number in range).
#include <QByteArray>
#include <QRegularExpression>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "main/cardchoice.h"
#include "motion/motiondisplay.h"
#include "settings/numbertext.h"
#include "settings/gbk.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void Text(const QString& text)
{
    const double prefix = NumericPrefix(text);
    Check(!std::isnan(prefix));
    if (const auto n = SettingsNumber(text))
        Check(*n == RoundHalfEven(prefix));
    Check(SettingsFlag(text) == (text == QLatin1String("0") ? 0 : 1));

    const auto strict = StrictNumber(text);
    Check(!strict || (std::isfinite(*strict) && IsNumberText(text)));
    if (const auto n = StrictInt32(text))
        Check(*n >= -2147483647 && strict && *n == RoundHalfEven(*strict));
    if (const auto n = StrictInt16(text))
        Check(strict && *n == RoundHalfEven(*strict));
    Check(!std::isnan(LeadingValue(text)));

    const QString shown = Abbreviated(text);
    Check(shown == text || (shown.size() <= 33 && shown.endsWith(QChar(0x2026)) && text.startsWith(shown.chopped(1))));

    if (const auto n = Hex32(text))
        Check(Hex32(HexText(*n)) == n && ParseHex(HexText(*n), 8) == n);
    if (const auto n = ParseHex(text, 4))
        Check(*n <= 0xFFFF);
    (void)LeadingHex(text);

    if (const auto card = CardNumberFromText(text))
        Check(*card >= 0 && *card <= kLastCardNumber);

    (void)FromGbk(ToGbk(text));
}

void Number(double value)
{
    static const QRegularExpression threeDecimals(QStringLiteral("^-?[0-9]{3,}\\.[0-9]{3}$"));
    if (std::isfinite(value) && std::fabs(value) < 1e300)
        Check(threeDecimals.match(FormatThreeDecimals(value)).hasMatch());
    const QString speed = FormatSpeed(value);
    // Rounded to 15 digits, the largest doubles would read back beyond range.
    if (std::isfinite(value) && std::fabs(value) < 1e308) {
        Check(!speed.contains(QLatin1Char('e')) && !speed.contains(QLatin1Char('E')));
        bool ok = false;
        const double back = speed.toDouble(&ok);
        Check(ok && std::fabs(back - value) <= std::fabs(value) * 1e-14);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Text(QString::fromUtf8(bytes));
    Text(QString::fromLatin1(bytes));
    Text(FromGbk(bytes));
    if (size >= sizeof(double)) {
        double value;
        std::memcpy(&value, data, sizeof value);
        Number(value);
    }
    return 0;
}
