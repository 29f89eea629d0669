// Control interface of the stand-in card library, for tests that load it in
// their own process. The programs never call it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export.h"
#include "cardlib/tvn_call.h"

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
// that the switches are placed against (moves.h), apart from the counters.
TOLVANE_API double PhysicalPosition(int axis);

// The inputs that nothing in the simulated machine drives. They idle low; a
// test drives one high (true) or back low. The first four belong to an axis
// (global axis number), the rest to a card (card number); a number that
// names nothing is ignored. What the status bits then show depends on the
// configured active level (tolvane/README.md).
enum class Input { Alarm, SlowDown, JogPlus, JogMinus, CardSlowDown, CardStart, CardStop, Emergency };
TOLVANE_API void SetInput(int number, Input input, bool high);

// General inputs held high (bit n − 1 for input n), on top of the outputs
// that the terminal board loops back.
TOLVANE_API void SetGeneralInputs(int card, int32_t bits);

} // namespace tolvane::control

// The simulated machine's functions, for tests that call them directly.
extern "C" {
#define TVN_MACHINE_FUNCTION(result, name, params) TOLVANE_API result TVN_CALL name params;
#include "cardlib/machine_functions.h"
#undef TVN_MACHINE_FUNCTION
}
