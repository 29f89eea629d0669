#include "sampling.h"

#include "cardlib/binding.h"
#include "cardlib/brevak.h"

Sample ReadSample(int16_t card, double seconds, bool inputs)
{
    Sample s;
    s.seconds = seconds;
    for (int slot = 0; slot < 2; ++slot) {
        const int16_t axis = brevak::WindowAxis(card, slot);
        s.command[slot] = cardlib::tvn_get_position(axis);
        s.encoder[slot] = cardlib::tvn_get_encoder(axis);
        s.speed[slot] = cardlib::tvn_read_current_speed(axis);
        if (!inputs)
            continue;
        const uint32_t io = cardlib::tvn_axis_io_status(axis);
        const uint32_t rsts = cardlib::tvn_get_rsts(axis);
        const auto bit = [](bool on, int place) { return static_cast<uint8_t>(on ? 1u << place : 0u); };
        s.inputs[slot] = bit(brevak::Bit(io, brevak::io::kLimitPlus), Sample::kLimitPlus) |
                         bit(brevak::Bit(io, brevak::io::kLimitMinus), Sample::kLimitMinus) |
                         bit(brevak::Bit(io, brevak::io::kHome), Sample::kHome) |
                         bit(brevak::Bit(io, brevak::io::kAlarm), Sample::kAlarm) |
                         bit(brevak::Bit(rsts, brevak::rsts::kInPosition), Sample::kInPosition) |
                         bit(slot == 0 && brevak::Bit(rsts, brevak::rsts::kEmergency), Sample::kEmergency);
    }
    return s;
}
