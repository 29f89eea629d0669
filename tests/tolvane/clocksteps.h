// Stepping the stand-in's test clock while an axis moves, for tests that
// drive the simulated card through its exported calls.
#pragma once

#include <cmath>
#include <cstdint>

#include "tolvane/control.h"
#include "cardlib/tolvane.h"

// Steps the clock until the axis is at rest: the seconds that took, or -1.
inline double RunToRest(int16_t axis, double step, double most = 60)
{
    const int steps = static_cast<int>(std::lround(most / step));
    for (int i = 0; i <= steps; ++i) {
        if (tvn_axis_status(axis) == 0)
            return i * step;
        tolvane::control::AdvanceClock(step);
    }
    return -1;
}

// Moves the axis to command position `position` and waits there.
inline void Park(int16_t axis, int32_t position)
{
    tvn_t_pmove(axis, position, 1);
    RunToRest(axis, 0.01);
}
