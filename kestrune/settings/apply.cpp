#include "apply.h"

#include "cardlib/binding.h"
#include "cardlib/brevak.h"
#include "numbertext.h"
#include "hardwarekeys.h"
#include "ini.h"
#include "state.h"

QString AxisSection(int axis) { return QStringLiteral("第%1轴").arg(axis); }

QString UtilitySection() { return QStringLiteral("UTILITY"); }

// A "number" setting that does not fit the card's 16-bit argument (40000, say)
// cannot be passed on: the card call that needs it is skipped, and the card
// keeps what it had. Every other call of the sequence is still made.
void ApplyHardwareSettings(int16_t card)
{
    const IniFile file(HardwareSetPath);
    for (int i = 0; i < 2; ++i) {
        const QString section = AxisSection(i);
        const auto read = [&](const char* key) { return file.Value(section, QLatin1String(key)); };
        const auto number = [&](const char* key) { return SettingsNumber(read(key)); };
        const auto flag = [&](const char* key) { return SettingsFlag(read(key)); };
        const int16_t a = brevak::CardAxis(card, i);

        if (const auto mode = number(hwkey::kPulseOutMode))
            cardlib::tvn_set_pulse_outmode(a, *mode);

        const int16_t homeMode = flag(hwkey::kHomeMode);
        const int16_t homeLogic = flag(hwkey::kHomeLogic);
        cardlib::tvn_set_HOME_pin_logic(a, homeLogic, 1);
        cardlib::tvn_config_home_mode(a, homeMode, 1);

        if (const auto speed = number(hwkey::kHomeSpeedMode))
            HomeSpeedMode[static_cast<size_t>(i)] = *speed;

        const int16_t ezEnable = flag(hwkey::kEzEnable);
        const int16_t ezLogic = flag(hwkey::kEzLogic);
        cardlib::tvn_config_EZ_PIN(a, ezLogic, ezEnable);

        if (const auto ltcLogic = number(hwkey::kLtcLogic))
            cardlib::tvn_config_LTC_PIN(a, *ltcLogic, 1);

        if (const auto inMode = number(hwkey::kPulseInMode))
            cardlib::tvn_counter_config(a, *inMode);

        const auto sdEnable = number(hwkey::kSdEnable);
        const auto sdLogic = number(hwkey::kSdLogic);
        const auto sdMode = number(hwkey::kSdMode);
        if (sdEnable && sdLogic && sdMode)
            cardlib::tvn_config_SD_PIN(a, *sdEnable, *sdLogic, *sdMode);

        const int16_t inpEnable = flag(hwkey::kInpEnable);
        const int16_t inpLogic = flag(hwkey::kInpLogic);
        cardlib::tvn_config_INP_PIN(a, inpEnable, inpLogic);

        const int16_t almStopMode = flag(hwkey::kAlmStopMode);
        const int16_t almLogic = flag(hwkey::kAlmLogic);
        cardlib::tvn_config_ALM_PIN(a, almLogic, almStopMode);

        const auto pcsEnable = number(hwkey::kPcsEnable);
        const auto pcsLogic = number(hwkey::kPcsLogic);
        if (pcsEnable && pcsLogic)
            cardlib::tvn_config_PCS_PIN(a, *pcsEnable, *pcsLogic);

        const auto ercEnable = number(hwkey::kErcEnable);
        const auto ercLogic = number(hwkey::kErcLogic);
        if (ercEnable && ercLogic)
            cardlib::tvn_config_ERC_PIN(a, *ercEnable, *ercLogic, 1, 1);

        // Bit 0: stop response (0 immediate, 1 decelerating); bit 1: level.
        const int16_t hplStop = flag(hwkey::kHplStop);
        const int16_t hplLogic = flag(hwkey::kHplLogic);
        cardlib::tvn_config_EL_MODE(a, static_cast<int16_t>(2 * hplLogic + hplStop));
    }

    const auto utility = [&](const char* key) { return file.Value(UtilitySection(), QLatin1String(key)); };
    const auto emgEnable = SettingsNumber(utility(hwkey::kEmgEnable));
    const auto emgLogic = SettingsNumber(utility(hwkey::kEmgLogic));
    if (emgEnable && emgLogic)
        cardlib::tvn_config_EMG_PIN(card, *emgEnable, *emgLogic);
    cardlib::tvn_config_latch_mode(card, SettingsFlag(utility(hwkey::kLatchAllAxis)));
}

bool EmergencyStopEnabled()
{
    const IniFile file(HardwareSetPath);
    const auto enable = SettingsNumber(file.Value(UtilitySection(), QLatin1String(hwkey::kEmgEnable)));
    const auto logic = SettingsNumber(file.Value(UtilitySection(), QLatin1String(hwkey::kEmgLogic)));
    return enable && logic && *enable != 0;
}
