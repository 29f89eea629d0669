// What the I/O window reads from the card each tick, and its commands.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

#include "cardlib/brevak.h"

struct AxisSignals {
    uint16_t io = 0;   // tvn_axis_io_status
    uint32_t rsts = 0; // tvn_get_rsts
    bool ready = false, servoOn = false, compare = false;
};

struct IoSignals {
    std::array<uint16_t, 2> status{}; // axes 0 and 1 themselves
    std::array<int32_t, 2> register221{};
    int32_t inport = 0, outport = 0;
    uint32_t latchFlags = 0;
    std::array<AxisSignals, 2> axes; // the window's slots 0 and 1 (brevak::WindowAxis)
    std::array<bool, brevak::kGeneralInputs> inputs{};
    std::array<bool, brevak::kGeneralOutputs> outputs{};
};

// One tick's reads, 57 card calls in the window's order.
IoSignals ReadIoSignals(int16_t card);

// The load step's configuration of ERC and EMG, before the stored settings.
void ConfigureIoSignals(int16_t card);

// Output bit k + 1 switched to the other level.
void ToggleOutput(int16_t card, int k);
// Servo-on or compare output of both axes.
void WriteServoOn(int16_t card, int16_t value);
void WriteCompare(int16_t card, int16_t value);
// The error-counter-clear output of both axes inverted, decided from axis 0.
void ToggleErc(int16_t card);
// Every output off (false) or on (true).
void WriteAllOutputs(int16_t card, bool on);
// The register word in `hex` (1 to 4 hexadecimal digits) written to card 0;
// false, and no call, for any other text.
bool WriteRegisterWord(const QString& hex);
