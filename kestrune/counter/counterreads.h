// What the counter window reads from the card each tick, what it does when a
// latch arrives, and its commands, over plain data: the window only shows.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

#include "cardlib/brevak.h"

// One tick's first reads: the latch flag word, then the counter and the
// latched value of slots 0 and 1 of `card`.
struct CounterReads {
    uint32_t flags = 0;
    std::array<int32_t, 2> encoder{};
    std::array<int32_t, 2> latched{};
};
CounterReads ReadCounters(int16_t card);

// A latch as the window handles it: while no record is held it reads the
// flag word again, and when that shows a latch, the record to log, and
// whether the record is now held (manual reading) or the flags were reset.
struct LatchStep {
    std::optional<QString> record;
    int16_t held = 0;
};
// `reads` gets the latched values read again when the fresh word shows a
// latch that the first word did not: a latch that came between the two reads
// would otherwise be logged with the old values and then re-armed.
LatchStep TakeLatch(int16_t card, CounterReads& reads, int16_t held, bool automatic);

// "Xpos = 1234   Ypos = -56".
QString LatchRecord(const CounterReads& reads);

// The PLD registers the window reads back each tick, in its order.
struct PldRegister {
    const char* name;
    int16_t number;
};
inline constexpr std::array<PldRegister, 5> kPldReadBack = {{
    {"CMR", brevak::reg::kCmr},
    {"SEL", brevak::reg::kSel},
    {"Gout", brevak::reg::kGout},
    {"Gin", brevak::reg::kGin},
    {"ELL", brevak::reg::kEll},
}};
std::array<int32_t, kPldReadBack.size()> ReadPldRegisters(int16_t card);

// The register panel's write: CMR and ELL as 1 to 8 hexadecimal digits, SEL
// leniently, as far as its leading digits go. A text that does not pass
// skips its write.
void WritePldRegisters(int16_t card, const QString& cmr, const QString& ell, const QString& sel);

// Both counters of the card's four axes to zero (the card's own numbering).
void ClearCounters(int16_t card);

// The EZ and LTC modes of library axes 0 to 3 themselves, whatever card is in
// use. A text that is not a 16-bit number skips its calls.
void ConfigurePinModes(const QString& ezMode, const QString& ltcMode);
