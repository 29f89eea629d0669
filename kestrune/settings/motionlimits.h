// What a move is held to before it reaches the card: the motion window holds
// its commands to these, and the console the calls typed into it.
#pragma once

#include <cstdint>

// The longest deceleration a stop ramps through, in seconds: a stop must end
// in a time a person at the machine still calls a stop.
inline constexpr double kLongestStopRamp = 10;

enum class StopRamp { Usable, Unusable, TooLong };
// Whether a decelerating stop may ramp through `seconds`: finite, not
// negative, and at most kLongestStopRamp.
StopRamp CheckStopRamp(double seconds);

// The S-curve time of each end takes at most half of the acceleration time.
inline bool SCurveFits(double accelTime, double sCurveTime) { return !(accelTime * 0.5 < sCurveTime); }

// The fastest speed, in pulses per second, either way: the motion window's
// speed fields are 32-bit integers of a symmetric range.
inline constexpr double kFastestSpeed = 2147483647;
// A start or drive speed the motion window could have sent.
bool SpeedInRange(double speed);

// Whether library axis `axis` is one of the two that the windows drive for
// `card` (brevak::WindowAxis).
bool IsWindowAxis(int16_t card, int axis);
