#include "machine.h"

#include <string>

#include "binding.h"

namespace cardlib {
namespace {

// A force as the library answers it; anything else (−1: no such signal) is
// taken as the machine's own.
SimulatedMachine::Force ForceOf(int answer)
{
    return brevak::machine::IsForce(answer) ? static_cast<SimulatedMachine::Force>(answer)
                                            : SimulatedMachine::Force::Auto;
}

} // namespace

SimulatedMachine::SimulatedMachine(Loader& loader)
{
    available_ = true;
    // Looked up quietly: a library without them is a real card's.
#define TVN_MACHINE_FUNCTION(result, function, params)                                         \
    function = reinterpret_cast<result(TVN_CALL*) params>(loader.Resolve(#function, nullptr)); \
    available_ = available_ && function;
#include "machine_functions.h"
#undef TVN_MACHINE_FUNCTION
}

SimulatedMachine& SimulatedMachine::OfProgram()
{
    static SimulatedMachine machine(ProgramLibrary());
    return machine;
}

int SimulatedMachine::ForceAxis(int16_t axis, AxisSignal signal, Force force) const
{
    return available_ ? tvnsim_axis_force(axis, signal, static_cast<int>(force)) : -1;
}

SimulatedMachine::Force SimulatedMachine::AxisForced(int16_t axis, AxisSignal signal) const
{
    return ForceOf(available_ ? tvnsim_axis_forced(axis, signal) : 0);
}

bool SimulatedMachine::AxisActive(int16_t axis, AxisSignal signal) const
{
    return available_ && tvnsim_axis_active(axis, signal) == 1;
}

int SimulatedMachine::ForceCard(int16_t card, CardSignal signal, Force force) const
{
    return available_ ? tvnsim_card_force(card, signal, static_cast<int>(force)) : -1;
}

SimulatedMachine::Force SimulatedMachine::CardForced(int16_t card, CardSignal signal) const
{
    return ForceOf(available_ ? tvnsim_card_forced(card, signal) : 0);
}

bool SimulatedMachine::CardActive(int16_t card, CardSignal signal) const
{
    return available_ && tvnsim_card_active(card, signal) == 1;
}

int SimulatedMachine::SetEncoderSlip(int16_t axis, int pulses) const
{
    return available_ ? tvnsim_set_encoder_slip(axis, pulses) : -1;
}

int SimulatedMachine::EncoderSlip(int16_t axis) const { return available_ ? tvnsim_encoder_slip(axis) : 0; }

int SimulatedMachine::SetDownloadFault(int16_t card, int code, int stallPercent) const
{
    return available_ ? tvnsim_download_fault(card, code, stallPercent) : -1;
}

int SimulatedMachine::ReleaseDownload(int16_t card) const { return available_ ? tvnsim_release_download(card) : -1; }

} // namespace cardlib
