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

// The longest deceleration a stop ramps through, in seconds: a stop must end
// in a time a person at the machine still calls a stop. A longer total
// acceleration time stops the axis at once, with a message.
inline constexpr double kLongestStopRamp = 10;

// Stop (停止) of the checked axes, decelerating or at once.
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
