#include "motionlimits.h"

#include <cmath>

#include "cardlib/brevak.h"

StopRamp CheckStopRamp(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0)
        return StopRamp::Unusable;
    return seconds > kLongestStopRamp ? StopRamp::TooLong : StopRamp::Usable;
}

bool SpeedInRange(double speed) { return std::isfinite(speed) && std::fabs(speed) <= kFastestSpeed; }

bool IsWindowAxis(int16_t card, int axis)
{
    return axis == brevak::WindowAxis(card, 0) || axis == brevak::WindowAxis(card, 1);
}
