#include "console.h"

#include <QString>

#include <cstdio>

void PrintToTerminal(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}
