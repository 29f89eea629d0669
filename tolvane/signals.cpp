#include "signals.h"

#include <cstddef>
#include <cstdlib>

#include "card.h"
#include "latch.h"
#include "motion.h"

namespace tolvane::signals {
namespace {

// The general inputs and outputs, bits 0 to 19 of the port words.
constexpr int32_t kGeneralBits = (1 << brevak::kGeneralInputs) - 1;

// The kind of slack motion.cpp allows between a test clock's sum of steps
// and a time it should have reached.
constexpr double kSlack = 1e-6;

bool Active(bool high, int16_t logic) { return high == (logic != 0); }

uint32_t Bit(bool set, int bit) { return set ? 1u << bit : 0u; }

int64_t Modulo(int64_t value, int64_t pitch) { return ((value % pitch) + pitch) % pitch; }

const Axis& AxisAt(const Card& card, int index) { return card.axes[static_cast<size_t>(index)]; }

// The encoder's index output is high on each index mark, a whole pulse wide.
bool OnIndex(const Axis& axis) { return Modulo(WholePulses(axis), motion::kIndexPitch) == 0; }

// The trigger source holds LTC high while the count sits on a trigger position.
bool OnTrigger(const Axis& axis) { return Modulo(EncoderCount(axis), latch::kTriggerPitch) == 0; }

bool AtRest(const Card& card, int index)
{
    const motion::Motion* m = motion::MotionOf(card, index);
    return !m || m->waiting;
}

} // namespace

uint16_t IoStatus(const Card& card, int index)
{
    namespace bit = brevak::io;
    const Axis& a = AxisAt(card, index);
    const int64_t at = WholePulses(a);
    const int16_t elLevel = (a.elMode >> 1) & 1;
    const bool home = std::llabs(at - motion::kHomeSwitch) <= motion::kHomeSwitchWidth / 2;
    return static_cast<uint16_t>(
        Bit(Shown(a.force[machine::kAlarm], Active(a.high[kAlarm], a.alm[0])), bit::kAlarm) |
        Bit(Shown(a.force[machine::kLimitPlus], Active(at >= motion::kLimit, elLevel)), bit::kLimitPlus) |
        Bit(Shown(a.force[machine::kLimitMinus], Active(at <= -motion::kLimit, elLevel)), bit::kLimitMinus) |
        Bit(Shown(a.force[machine::kHome], Active(home, a.homeLogic[0])), bit::kHome));
}

uint32_t Rsts(const Card& card, int index)
{
    namespace bit = brevak::rsts;
    const Axis& a = AxisAt(card, index);
    const bool inPosition = a.sevon && AtRest(card, index);
    const auto& f = card.force;
    return Bit(Shown(f[machine::kSlowDown], card.high[kCardSlowDown]), bit::kCardSlowDown) |
           Bit(Shown(f[machine::kStart], card.high[kCardStart]), bit::kStart) |
           Bit(Shown(f[machine::kStop], card.high[kCardStop]), bit::kStop) |
           Bit(card.emg[0] && Shown(f[machine::kEmergency], Active(card.high[kEmergency], card.emg[1])),
               bit::kEmergency) |
           Bit(a.ercOut != 0, bit::kErcOutput) |
           Bit(Shown(a.force[machine::kIndex], Active(OnIndex(a), a.ez[0])), bit::kIndex) |
           Bit(a.high[kJogPlus], bit::kJogPlus) | Bit(a.high[kJogMinus], bit::kJogMinus) |
           Bit(a.sd[0] && Active(a.high[kSlowDown], a.sd[1]), bit::kSlowDown) |
           Bit(Shown(a.force[machine::kInPosition], Active(inPosition, a.inp[1])), bit::kInPosition);
}

bool Ready(const Axis& axis, double now)
{
    return Shown(axis.force[machine::kReady], axis.sevon && now >= axis.servoOnSince + kReadyDelay - kSlack);
}

uint32_t LatchFlag(const Card& card)
{
    uint32_t flags = card.latchFlag;
    for (int i = 0; i < kAxesPerCard; ++i) {
        const Axis& a = AxisAt(card, i);
        flags |= (OnTrigger(a) ? latch::TriggerInput(i) : 0u) |
                 (Shown(a.force[machine::kIndex], Active(OnIndex(a), a.ez[0])) ? latch::IndexInput(i) : 0u);
    }
    return flags;
}

int32_t InputPort(const Card& card)
{
    int32_t port = (card.outport & kGeneralBits) | card.forcedInputs;
    for (int k = 0; k < brevak::kGeneralInputs; ++k) {
        const Force f = card.force[static_cast<size_t>(machine::kFirstInput + k)];
        if (f != Force::Auto)
            port = f == Force::Active ? port | (1 << k) : port & ~(1 << k);
    }
    return port;
}

} // namespace tolvane::signals
