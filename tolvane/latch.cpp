#include "latch.h"

#include <cstddef>

#include "card.h"
#include "moves.h"

namespace tolvane::latch {
namespace {

int64_t Modulo(int64_t value, int64_t pitch) { return ((value % pitch) + pitch) % pitch; }

// Stores the count of every axis the trigger reaches whose latch is free:
// a held latch keeps its first value until tvn_reset_latch_flag. The axis
// that fired stands on the edge of the pulse it arrives at, where rounding
// may still give the one before: it stores `count` itself.
void Fire(Card& card, int index, int32_t count)
{
    for (int i = 0; i < kAxesPerCard; ++i) {
        if ((i != index && !card.latchAllAxes) || (card.latchFlag & TriggerState(i)))
            continue;
        Axis& axis = card.axes[static_cast<size_t>(i)];
        axis.latchValue = i == index ? count : EncoderCount(axis);
        card.latchFlag |= TriggerState(i);
    }
}

} // namespace

bool TriggerArmed(const Card& card, int index)
{
    if (!card.latchAllAxes)
        return !(card.latchFlag & TriggerState(index));
    return (card.latchFlag & kTriggerStates) != kTriggerStates;
}

bool ClearArmed(const Card& card, int index)
{
    return (card.axes[static_cast<size_t>(index)].ez[1] & 1) && !(card.latchFlag & ClearState(index));
}

int64_t TriggerResidue(const Axis& axis) { return Modulo(-axis.encoderOffset, kTriggerPitch); }

void Arrive(Card& card, int index, int64_t physical)
{
    Axis& axis = card.axes[static_cast<size_t>(index)];
    if (Modulo(physical, kTriggerPitch) == TriggerResidue(axis) && TriggerArmed(card, index))
        Fire(card, index, static_cast<int32_t>(physical + axis.encoderOffset));
    if (Modulo(physical, motion::kIndexPitch) == 0 && ClearArmed(card, index)) {
        axis.encoderOffset = -physical;
        card.latchFlag |= ClearState(index);
    }
}

} // namespace tolvane::latch
