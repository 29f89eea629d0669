// The motion window's commands, over plain data: each reads what it needs,
// calls the card library for slots 0 and 1 of `card` (brevak::WindowAxis) and
// reports through ShowMessage. The window only gathers its fields and calls
// these.
#pragma once

#include <array>
#include <cstdint>

#include "motionfields.h"
#include "motionparameters.h"

// Start (启动): homing, continuous, fixed-distance, linear or arc move of the
// checked axes. `unitIsPulse` is the position unit option ("pulse" or "mm").
void StartMotion(int16_t card, const MotionFields& fields, MotionParameterSet& p, bool unitIsPulse);

// Stop (停止) of the checked axes, decelerating or at once. A total
// acceleration time that cannot ramp a stop (settings/motionlimits.h) stops
// the axis at once, with a message.
void StopMotion(int16_t card, const MotionFields& fields, MotionParameterSet& p);

// Speed steps of 100 on the running motion of the checked slots.
void RaiseDriveSpeed(int16_t card, MotionParameterSet& p, const std::array<bool, 4>& checked);
void LowerDriveSpeed(int16_t card, MotionParameterSet& p, const std::array<bool, 4>& checked);

// Clears both counters of the checked slots.
void ClearPositions(int16_t card, const std::array<bool, 4>& checked);

// Synchronised start and simultaneous stop, on library axes 0 and 1 of card 0.
void SynchronisedStart();
void SimultaneousStop();

// The fixed interpolation test on library axes 4 and 5.
void InterpolationTest(const MotionFields& fields, MotionParameterSet& p);
