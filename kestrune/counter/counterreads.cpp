#include "counterreads.h"

#include "cardlib/binding.h"
#include "settings/numbertext.h"

using brevak::WindowAxis;

CounterReads ReadCounters(int16_t card)
{
    CounterReads r;
    r.flags = cardlib::tvn_get_latch_flag(card);
    for (int i = 0; i < 2; ++i) {
        r.encoder[static_cast<size_t>(i)] = cardlib::tvn_get_encoder(WindowAxis(card, i));
        r.latched[static_cast<size_t>(i)] = cardlib::tvn_get_latch_value(WindowAxis(card, i));
    }
    return r;
}

LatchStep TakeLatch(int16_t card, CounterReads& reads, int16_t held, bool automatic)
{
    using brevak::latch::kTriggerStates;
    const uint32_t fresh = held == 0 ? cardlib::tvn_get_latch_flag(card) : 0;
    if ((fresh & kTriggerStates) == 0)
        return {std::nullopt, held};
    if ((fresh & ~reads.flags & kTriggerStates) != 0)
        for (int i = 0; i < 2; ++i)
            reads.latched[static_cast<size_t>(i)] = cardlib::tvn_get_latch_value(WindowAxis(card, i));
    LatchStep step{LatchRecord(reads), 1};
    if (automatic) {
        step.held = 0;
        cardlib::tvn_reset_latch_flag(card);
    }
    return step;
}

QString LatchRecord(const CounterReads& reads)
{
    return QStringLiteral("Xpos = %1   Ypos = %2").arg(reads.latched[0]).arg(reads.latched[1]);
}

std::array<int32_t, kPldReadBack.size()> ReadPldRegisters(int16_t card)
{
    std::array<int32_t, kPldReadBack.size()> values{};
    for (size_t r = 0; r < kPldReadBack.size(); ++r)
        values[r] = cardlib::read_dword_pld_register(card, kPldReadBack[r].number);
    return values;
}

void WritePldRegisters(int16_t card, const QString& cmr, const QString& ell, const QString& sel)
{
    const auto write = [card](int16_t reg, std::optional<uint32_t> value) {
        if (value)
            cardlib::write_dword_pld_register(card, reg, static_cast<int32_t>(*value));
    };
    write(brevak::reg::kCmr, Hex32(cmr));
    write(brevak::reg::kEll, Hex32(ell));
    write(brevak::reg::kSel, LeadingHex(sel));
}

void ClearCounters(int16_t card)
{
    for (int i = 0; i < brevak::kAxesPerCard; ++i)
        cardlib::tvn_set_encoder(brevak::CardAxis(card, i), 0);
}

void ConfigurePinModes(const QString& ezMode, const QString& ltcMode)
{
    for (int16_t k = 0; k < brevak::kAxesPerCard; ++k) {
        if (const auto ez = StrictInt16(ezMode))
            cardlib::tvn_config_EZ_PIN(k, 0, *ez);
        if (const auto ltc = StrictInt16(ltcMode))
            cardlib::tvn_config_LTC_PIN(k, 0, *ltc);
    }
}
