#include "gbk.h"

#include <QList>

#include <windows.h>

namespace {

// Code page 936 by number: the system's own code page may be any other.
constexpr UINT kGbk = 936;

// Where code page 936 and the GBK of iconv part (the whole table of both was
// compared, every byte, pair and BMP character):
// - Code page 936 maps its user-defined areas (AAA1-AFFE, F8A1-FEFE,
//   A140-A7A0, and a few more in A2-A9, D7, FE) to the private use area
//   U+E000-U+F8FF, 2149 pairs; iconv has no character there. A private use
//   character is no GBK character, either way.
// - 0x80 alone is the euro sign in both; it is the one byte above 0x7F that
//   stands for a character by itself.
bool IsPrivateUse(char16_t c) { return c >= 0xE000 && c <= 0xF8FF; }

constexpr unsigned char kEuroByte = 0x80;

// The character of the one or two bytes at `in`, or 0 when they are not one.
char16_t ToChar(const char* in, int n)
{
    wchar_t out[2] = {};
    if (MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, in, n, out, 2) != 1)
        return 0;
    const auto c = static_cast<char16_t>(out[0]);
    return IsPrivateUse(c) ? 0 : c;
}

// The GBK bytes of the BMP character `c`, or none when GBK has no place for
// it. Only a character that the bytes give back counts: never a look-alike
// ("best fit") that Windows would put in its place.
QByteArray FromChar(char16_t c)
{
    if (IsPrivateUse(c))
        return {};
    const wchar_t in = static_cast<wchar_t>(c);
    char out[4] = {};
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, &in, 1, out, sizeof out, nullptr, &usedDefault);
    if (n <= 0 || n > 2 || usedDefault || ToChar(out, n) != c)
        return {};
    return QByteArray(out, n);
}

} // namespace

QByteArray ToGbk(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    for (const uint c : text.toUcs4()) {
        const QByteArray bytes = c < 0x10000 ? FromChar(static_cast<char16_t>(c)) : QByteArray();
        out += bytes.isEmpty() ? QByteArray("?") : bytes;
    }
    return out;
}

QString FromGbk(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            out += QChar(lead);
            ++i;
            continue;
        }
        const int n = lead == kEuroByte ? 1 : 2;
        const char16_t c = i + n <= bytes.size() ? ToChar(bytes.constData() + i, n) : 0;
        if (c) {
            out += QChar(c);
            i += n;
        } else {
            // A byte that starts no character; the next is read afresh.
            out += QChar(QChar::ReplacementCharacter);
            ++i;
        }
    }
    return out;
}
