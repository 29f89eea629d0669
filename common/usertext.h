// Text of the user's (typed into a field, a file's name or path) as a
// message or a label quotes it.
#pragma once

#include <QString>

// The text isolated from the words around it (U+2068 … U+2069), so that a
// right-to-left character in it cannot turn the rest of the message around,
// with every bidirectional control in it shown as a visible escape
// ("[U+202E]"), so that none can undo the isolation or reorder the text.
inline QString QuoteUserText(const QString& text)
{
    constexpr char16_t kFirstStrongIsolate = 0x2068, kPopIsolate = 0x2069;
    const auto bidiControl = [](char16_t c) {
        return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
               (c >= 0x2066 && c <= 0x2069);
    };
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted += QChar(kFirstStrongIsolate);
    for (const QChar c : text) {
        if (bidiControl(c.unicode()))
            quoted += QStringLiteral("[U+%1]").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
        else
            quoted += c;
    }
    quoted += QChar(kPopIsolate);
    return quoted;
}
