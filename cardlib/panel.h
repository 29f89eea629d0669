// The simulated machine's panel (panel_functions.h), as the programs reach
// it: looked up at run time in the card library; absent from a real card's
// library, and then Available() is false and nothing else changes.
#pragma once

#include <cstdint>

namespace cardlib {

class Loader;

class SimulatedMachine {
public:
    enum class Force { Auto = 0, Active = 1, Inactive = 2 };
    enum AxisSignal { LimitPlus, LimitMinus, Home, Alarm, InPosition, Ready, Index, AxisSignalCount };
    // EMG, STA, STP, CSD, then general inputs 1 to 20 (FirstInput + n − 1).
    enum CardSignal { Emergency, Start, Stop, SlowDown, FirstInput, CardSignalCount = FirstInput + 20 };

    // The panel of the library that `loader` opens; all of its functions, or
    // none.
    explicit SimulatedMachine(Loader& loader);
    // The panel of the card library the program uses (the binding's).
    static SimulatedMachine& OfProgram();

    bool Available() const { return available_; }

    int ForceAxis(int16_t axis, AxisSignal signal, Force force) const;
    Force AxisForced(int16_t axis, AxisSignal signal) const;
    bool AxisActive(int16_t axis, AxisSignal signal) const;
    int ForceCard(int16_t card, int signal, Force force) const;
    Force CardForced(int16_t card, int signal) const;
    bool CardActive(int16_t card, int signal) const;
    int SetEncoderSlip(int16_t axis, int pulses) const;
    int EncoderSlip(int16_t axis) const;
    // The card's next download fails with `code` (not 0), after stalling at
    // `stallPercent` (0 to 99, or −1) until released; 0 and −1 clear it.
    int SetDownloadFault(int16_t card, int code, int stallPercent) const;
    int ReleaseDownload(int16_t card) const;

private:
    bool available_ = false;
#define TVN_PANEL_FUNCTION(result, name, params) result(*name) params = nullptr;
#include "panel_functions.h"
#undef TVN_PANEL_FUNCTION
};

}  // namespace cardlib
