#include "cputime.h"

#include <windows.h>

namespace {

// A FILETIME counts 100-nanosecond units.
double Seconds(const FILETIME& time)
{
    const ULONGLONG units = (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<double>(units) / 1e7;
}

} // namespace

double ThreadProcessorSeconds()
{
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0;
    return Seconds(kernel) + Seconds(user);
}
