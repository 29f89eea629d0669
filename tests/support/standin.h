// Test helpers around the stand-in card library's control interface.
#pragma once

#include <QStringList>

#include <string>
#include <vector>

#include "tolvane/control.h"

// A fresh board of `cards` simulated cards that records every call.
inline void FreshCards(int cards)
{
    tolvane::control::Reset(cards);
    tolvane::control::Record(true);
}

// A call is recorded with the bytes it was given: a path in the system's
// code page (GBK on a Chinese Windows, UTF-8 on Linux), as QFile encodes it.
inline QStringList RecordedCalls()
{
    QStringList calls;
    for (const std::string& call : tolvane::control::Calls())
        calls << QString::fromLocal8Bit(call);
    return calls;
}

// The recorded calls of one function.
inline QStringList RecordedCalls(const QString& name)
{
    QStringList calls;
    for (const QString& call : RecordedCalls())
        if (call.startsWith(name + QLatin1Char('(')))
            calls << call;
    return calls;
}

// The recorded calls without their results ("tvn_imd_stop(0)"), for tests
// about what the program asked rather than what the card answered.
inline QStringList RecordedRequests()
{
    QStringList calls;
    for (const QString& call : RecordedCalls())
        calls << call.left(call.lastIndexOf(QStringLiteral(" = ")));
    return calls;
}
