// The latch and the counter clear of a simulated card: what happens when an
// axis's encoder count arrives at a trigger position, or the axis reaches an
// index mark, while it moves. motion.cpp finds those moments on the way of
// every move, in the order they happen, and hands each one to Arrive().
#pragma once

#include <cstdint>

#include "cardlib/brevak.h"

namespace tolvane {

struct Axis;
struct Card;

namespace latch {

// The simulated latch trigger (LTC) fires each time an axis's encoder count
// arrives at a multiple of this many counts.
inline constexpr int64_t kTriggerPitch = 1'000;

// The bits of tvn_get_latch_flag.
using brevak::latch::ClearState;
using brevak::latch::IndexInput;
using brevak::latch::kClearStates;
using brevak::latch::kTriggerStates;
using brevak::latch::TriggerInput;
using brevak::latch::TriggerState;

// True while a trigger on axis `index` would still latch something: its own
// latch is free, or with the card latching all axes, any axis's latch is.
bool TriggerArmed(const Card& card, int index);
// True while an index mark would clear the axis's encoder count: EZ clearing
// is on (bit 0 of the EZ mode) and the last clear has been acknowledged.
bool ClearArmed(const Card& card, int index);

// The physical positions where the axis's count sits on a trigger position
// are this value modulo kTriggerPitch.
int64_t TriggerResidue(const Axis& axis);

// Axis `index` has just arrived, moving, at whole physical position
// `physical`. A trigger latches first, so the latch holds the count it
// arrived with; then an index mark clears the count.
void Arrive(Card& card, int index, int64_t physical);

} // namespace latch
} // namespace tolvane
