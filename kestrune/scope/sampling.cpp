#include "sampling.h"

#include "cardlib/binding.h"

Sample ReadSample(int16_t card, double seconds)
{
    Sample s;
    s.seconds = seconds;
    for (int slot = 0; slot < 2; ++slot) {
        const auto axis = static_cast<int16_t>(card * 2 + slot);
        s.command[slot] = cardlib::tvn_get_position(axis);
        s.encoder[slot] = cardlib::tvn_get_encoder(axis);
        s.speed[slot] = cardlib::tvn_read_current_speed(axis);
    }
    return s;
}
