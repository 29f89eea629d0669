#include "sampling.h"

#include "cardlib/binding.h"
#include "cardlib/brevak.h"

Sample ReadSample(int16_t card, double seconds)
{
    Sample s;
    s.seconds = seconds;
    for (int slot = 0; slot < 2; ++slot) {
        const int16_t axis = brevak::WindowAxis(card, slot);
        s.command[slot] = cardlib::tvn_get_position(axis);
        s.encoder[slot] = cardlib::tvn_get_encoder(axis);
        s.speed[slot] = cardlib::tvn_read_current_speed(axis);
    }
    return s;
}
