// Control interface of the stand-in card library, for tests that load it in
// their own process. The programs never call it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#define TOLVANE_API __attribute__((visibility("default")))

namespace tolvane::control {

// Forgets every card's state, the recorded calls and the queued results, and
// simulates `cards` cards (a negative count: as TOLVANE_CARDS says).
TOLVANE_API void Reset(int cards = -1);

// While on, every call is recorded as its trace line (without the newline).
TOLVANE_API void Record(bool on);
TOLVANE_API std::vector<std::string> Calls();
TOLVANE_API void ClearCalls();

// The next calls of `name` return these values in turn, as a TOLVANE_SCRIPT
// line would make them.
TOLVANE_API void QueueResults(const std::string& name, const std::vector<double>& values);

// Replaces the monotonic clock by a test clock that moves only when told.
TOLVANE_API void UseTestClock(bool on);
TOLVANE_API void AdvanceClock(double seconds);

// Where the axis really is, in pulses, brought up to the clock: the position
// that the switches are placed against (motion.h), apart from the counters.
TOLVANE_API double PhysicalPosition(int axis);

}  // namespace tolvane::control
