// The inputs of a simulated card as its status words show them. Each input
// has an electrical level, low when nothing triggers it; a status bit is
// set ("active") when that level is the active level the card was
// configured with (logic 1: high, 0: low). The table is in README.md.
#pragma once

#include <cstdint>

namespace tolvane {

struct Axis;
struct Card;

namespace signals {

// A servo drive reports ready this long after its servo-on.
inline constexpr double kReadyDelay = 0.2;

// tvn_axis_io_status: ALM, EL+, EL−, ORG (brevak::io).
uint16_t IoStatus(const Card& card, int index);
// tvn_get_rsts: the card-wide CSD, STA, STP, EMG, the ERC output, EZ, PA/J+
// and PB/J−, SD and INP (brevak::rsts).
uint32_t Rsts(const Card& card, int index);
// The servo drive's ready output.
bool Ready(const Axis& axis, double now);
// tvn_get_latch_flag: the live LTC and EZ inputs of the four axes over the
// held trigger and clear states (brevak::latch).
uint32_t LatchFlag(const Card& card);
// The general inputs: each output looped back to the input of its number on
// the terminal board, and the inputs a test holds high.
int32_t InputPort(const Card& card);

} // namespace signals
} // namespace tolvane
