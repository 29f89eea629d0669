// One scope sample read from the card through the binding, as the motion
// window reads its display: slots 0 and 1 of `card` (brevak::WindowAxis).
#pragma once

#include <cstdint>

#include "scopedata.h"

// With `inputs`, also the signals a trigger can watch (four calls more).
Sample ReadSample(int16_t card, double seconds, bool inputs = false);
