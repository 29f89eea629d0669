// The simulated machine (machine_functions.h), as the programs reach it:
// looked up at run time in the card library; absent from a real card's
// library, and then Available() is false and nothing else changes.
#pragma once

#include <cstdint>

#include "cardlib/brevak.h"
#include "tvn_call.h"

namespace cardlib {

class Loader;

class SimulatedMachine {
public:
    using Force = brevak::machine::Force;
    using AxisSignal = brevak::machine::AxisSignal;
    using CardSignal = brevak::machine::CardSignal;

    // The machine of the library that `loader` opens: all of its functions,
    // or none.
    explicit SimulatedMachine(Loader& loader);
    // The machine of the card library the program uses (the binding's).
    static SimulatedMachine& OfProgram();

    bool Available() const { return available_; }

    int ForceAxis(int16_t axis, AxisSignal signal, Force force) const;
    Force AxisForced(int16_t axis, AxisSignal signal) const;
    bool AxisActive(int16_t axis, AxisSignal signal) const;
    int ForceCard(int16_t card, CardSignal signal, Force force) const;
    Force CardForced(int16_t card, CardSignal signal) const;
    bool CardActive(int16_t card, CardSignal signal) const;
    int SetEncoderSlip(int16_t axis, int pulses) const;
    int EncoderSlip(int16_t axis) const;
    // The card's next download fails with `code` (not 0), after stalling at
    // `stallPercent` (0 to 99, or −1) until released; 0 and −1 clear it.
    int SetDownloadFault(int16_t card, int code, int stallPercent) const;
    int ReleaseDownload(int16_t card) const;

private:
    bool available_ = false;
#define TVN_MACHINE_FUNCTION(result, name, params) result(TVN_CALL* name) params = nullptr;
#include "machine_functions.h"
#undef TVN_MACHINE_FUNCTION
};

} // namespace cardlib
