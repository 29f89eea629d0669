#include "iosignals.h"

#include "cardlib/binding.h"
#include "settings/numbertext.h"

using brevak::WindowAxis;

IoSignals ReadIoSignals(int16_t card)
{
    IoSignals s;
    // The status words of library axes 0 and 1 themselves, whatever the card.
    s.status[0] = cardlib::tvn_axis_status(0);
    s.status[1] = cardlib::tvn_axis_status(1);
    s.register221[0] = cardlib::tvn_read_pcl_register(card, 0, brevak::reg::kPclEnv2);
    s.register221[1] = cardlib::tvn_read_pcl_register(card, 1, brevak::reg::kPclEnv2);
    s.inport = cardlib::tvn_read_inport(card);
    s.outport = cardlib::tvn_read_outport(card);
    s.latchFlags = cardlib::tvn_get_latch_flag(card);
    for (int i = 0; i < 2; ++i) {
        const int16_t a = WindowAxis(card, i);
        AxisSignals& axis = s.axes[static_cast<size_t>(i)];
        axis.io = cardlib::tvn_axis_io_status(a);
        axis.rsts = cardlib::tvn_get_rsts(a);
        axis.ready = cardlib::tvn_read_RDY_PIN(a) != 0;
        axis.servoOn = cardlib::tvn_read_SEVON_PIN(a) != 0;
        axis.compare = cardlib::tvn_read_CMP_PIN(a) != 0;
    }
    for (int16_t k = 0; k < brevak::kGeneralInputs; ++k)
        s.inputs[static_cast<size_t>(k)] = cardlib::tvn_read_inbit(card, static_cast<int16_t>(k + 1)) != 0;
    for (int16_t k = 0; k < brevak::kGeneralOutputs; ++k)
        s.outputs[static_cast<size_t>(k)] = cardlib::tvn_read_outbit(card, static_cast<int16_t>(k + 1)) != 0;
    return s;
}

void ConfigureIoSignals(int16_t card)
{
    for (int i = 0; i < 2; ++i) {
        cardlib::tvn_config_ERC_PIN(WindowAxis(card, i), 1, 0, 6, 1);
        cardlib::tvn_config_EMG_PIN(card, 1, 0);
    }
}

void ToggleOutput(int16_t card, int k)
{
    const auto bit = static_cast<int16_t>(k + 1);
    const int16_t level = cardlib::tvn_read_outbit(card, bit);
    cardlib::tvn_write_outbit(card, bit, level == 0 ? 1 : 0);
}

void WriteServoOn(int16_t card, int16_t value)
{
    for (int i = 0; i < 2; ++i)
        cardlib::tvn_write_SEVON_PIN(WindowAxis(card, i), value);
}

void WriteCompare(int16_t card, int16_t value)
{
    for (int i = 0; i < 2; ++i)
        cardlib::tvn_write_CMP_PIN(WindowAxis(card, i), value);
}

void ToggleErc(int16_t card)
{
    // The state is read from library axis 0 itself, whatever card is in use;
    // the outputs written are those of the card in use.
    const int16_t value = brevak::Bit(cardlib::tvn_get_rsts(0), brevak::rsts::kErcOutput) ? 0 : 1;
    for (int i = 0; i < 2; ++i)
        cardlib::tvn_write_ERC_PIN(WindowAxis(card, i), value);
}

void WriteAllOutputs(int16_t card, bool on) { cardlib::tvn_write_outport(card, on ? -1 : 0); }

bool WriteRegisterWord(const QString& hex)
{
    const auto value = ParseHex(hex, 4);
    if (!value)
        return false;
    cardlib::write_word_pcl_otpw(0, brevak::reg::kOtpwWord, static_cast<int16_t>(static_cast<uint16_t>(*value)));
    return true;
}
