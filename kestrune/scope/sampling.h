// One scope sample read from the card through the binding, as the motion
// window reads its display: slots 0 and 1 of `card` (brevak::WindowAxis).
#pragma once

#include <cstdint>

#include "scopedata.h"

Sample ReadSample(int16_t card, double seconds);
