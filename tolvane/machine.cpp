// The simulated machine (cardlib/machine_functions.h): the inputs held
// active or inactive, the encoder's slip and the next download's fault.
#include <cstdint>

#include "calls.h"
#include "card.h"
#include "export.h"
#include "motion.h"
#include "signals.h"
#include "cardlib/tvn_call.h"

extern "C" {
#define TVN_MACHINE_FUNCTION(result, name, params) TVN_EXPORT result TVN_CALL name params;
#include "cardlib/machine_functions.h"
#undef TVN_MACHINE_FUNCTION
}

namespace tolvane {
namespace {

// Runs `apply(card)` on a card brought up to the clock, under the call mutex,
// and answers what it answers, or `missing` for a card that does not exist;
// the card then reacts to what changed (motion::Advance).
template <typename Apply>
int OnCard(int card, int missing, Apply apply)
{
    std::lock_guard lock(CallMutex());
    Card* c = card < 0 || card > INT16_MAX ? nullptr : FindCard(static_cast<int16_t>(card));
    if (!c)
        return missing;
    motion::Advance(*c, Now());
    const int answer = apply(*c);
    motion::Advance(*c, Now());
    return answer;
}

// The same for `apply(card, index)` on an axis.
template <typename Apply>
int OnAxis(int axis, int missing, Apply apply)
{
    if (axis < 0 || axis > INT16_MAX)
        return missing;
    const auto a = static_cast<int16_t>(axis);
    return OnCard(a / kAxesPerCard, missing, [&](Card& card) { return apply(card, IndexOnCard(a)); });
}

bool AxisActive(const Card& card, int index, int signal)
{
    using brevak::Bit;
    switch (signal) {
    case machine::kLimitPlus: return Bit(signals::IoStatus(card, index), brevak::io::kLimitPlus);
    case machine::kLimitMinus: return Bit(signals::IoStatus(card, index), brevak::io::kLimitMinus);
    case machine::kHome: return Bit(signals::IoStatus(card, index), brevak::io::kHome);
    case machine::kAlarm: return Bit(signals::IoStatus(card, index), brevak::io::kAlarm);
    case machine::kInPosition: return Bit(signals::Rsts(card, index), brevak::rsts::kInPosition);
    case machine::kReady: return signals::Ready(card.axes[static_cast<size_t>(index)], Now());
    default: return Bit(signals::Rsts(card, index), brevak::rsts::kIndex);
    }
}

bool CardActive(const Card& card, int signal)
{
    if (signal >= machine::kFirstInput)
        return brevak::Bit(static_cast<uint32_t>(signals::InputPort(card)), signal - machine::kFirstInput);
    static const int bits[] = {brevak::rsts::kEmergency, brevak::rsts::kStart, brevak::rsts::kStop,
                               brevak::rsts::kCardSlowDown}; // in the order of the machine's card signals
    return brevak::Bit(signals::Rsts(card, 0), bits[signal]);
}

} // namespace
} // namespace tolvane

using namespace tolvane;

int TVN_CALL tvnsim_axis_force(int axis, int signal, int force)
{
    return OnAxis(axis, kNoAxis, [&](Card& card, int index) {
        if (signal < 0 || signal >= machine::kAxisSignals || !machine::IsForce(force))
            return int{kBadValue};
        card.axes[static_cast<size_t>(index)].force[static_cast<size_t>(signal)] = static_cast<Force>(force);
        return int{kOk};
    });
}

int TVN_CALL tvnsim_axis_forced(int axis, int signal)
{
    return OnAxis(axis, -1, [&](Card& card, int index) {
        if (signal < 0 || signal >= machine::kAxisSignals)
            return -1;
        return static_cast<int>(card.axes[static_cast<size_t>(index)].force[static_cast<size_t>(signal)]);
    });
}

int TVN_CALL tvnsim_axis_active(int axis, int signal)
{
    return OnAxis(axis, -1, [&](Card& card, int index) {
        if (signal < 0 || signal >= machine::kAxisSignals)
            return -1;
        return int{AxisActive(card, index, signal)};
    });
}

int TVN_CALL tvnsim_card_force(int card, int signal, int force)
{
    return OnCard(card, kNoCard, [&](Card& c) {
        if (signal < 0 || signal >= machine::kCardSignals || !machine::IsForce(force))
            return int{kBadValue};
        c.force[static_cast<size_t>(signal)] = static_cast<Force>(force);
        return int{kOk};
    });
}

int TVN_CALL tvnsim_card_forced(int card, int signal)
{
    return OnCard(card, -1, [&](Card& c) {
        if (signal < 0 || signal >= machine::kCardSignals)
            return -1;
        return static_cast<int>(c.force[static_cast<size_t>(signal)]);
    });
}

int TVN_CALL tvnsim_card_active(int card, int signal)
{
    return OnCard(card, -1, [&](Card& c) {
        if (signal < 0 || signal >= machine::kCardSignals)
            return -1;
        return int{CardActive(c, signal)};
    });
}

int TVN_CALL tvnsim_set_encoder_slip(int axis, int pulses)
{
    // The count jumps by the change: from now on the encoder lags by `pulses`.
    return OnAxis(axis, kNoAxis, [&](Card& card, int index) {
        card.axes[static_cast<size_t>(index)].slip = pulses;
        return int{kOk};
    });
}

int TVN_CALL tvnsim_encoder_slip(int axis)
{
    return OnAxis(axis, 0,
                  [&](Card& card, int index) { return static_cast<int>(card.axes[static_cast<size_t>(index)].slip); });
}

int TVN_CALL tvnsim_download_fault(int card, int code, int stall_percent)
{
    return OnCard(card, kNoCard, [&](Card& c) {
        if (code < INT16_MIN || code > INT16_MAX || stall_percent < -1 || stall_percent > 99)
            return int{kBadValue};
        c.nextDownload = {static_cast<int16_t>(code), stall_percent};
        return int{kOk};
    });
}

int TVN_CALL tvnsim_release_download(int card)
{
    return OnCard(card, kNoCard, [&](Card& c) {
        ReleaseDownload(c);
        return int{kOk};
    });
}
