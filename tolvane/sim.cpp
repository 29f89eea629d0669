// Entry points of the simulated card: argument checks, then the card state
// of card.h. A call on a card or axis that does not exist, or with a mode or
// level out of range, answers with an error status and changes nothing.
#include "sim.h"

#include <cmath>
#include <cstring>
#include <fstream>

#include "card.h"

namespace tolvane::sim {
namespace {

bool Level(int16_t v) { return v == 0 || v == 1; }
bool Within(int16_t v, int lo, int hi) { return v >= lo && v <= hi; }
bool Finite(double v) { return std::isfinite(v); }

// Runs `apply` on the axis when it exists and `valid` holds.
template <typename Apply>
int16_t OnAxis(int16_t axis, bool valid, Apply apply)
{
    Axis* a = FindAxis(axis);
    if (!a)
        return kNoAxis;
    if (!valid)
        return kBadValue;
    apply(*a);
    return kOk;
}

template <typename Apply>
int16_t OnCard(int16_t card, bool valid, Apply apply)
{
    Card* c = FindCard(card);
    if (!c)
        return kNoCard;
    if (!valid)
        return kBadValue;
    apply(*c);
    return kOk;
}

template <typename T, typename Read>
T ReadAxis(int16_t axis, Read read)
{
    const Axis* a = FindAxis(axis);
    return a ? static_cast<T>(read(*a)) : T{};
}

template <typename T, typename Read>
T ReadCard(int16_t card, Read read)
{
    const Card* c = FindCard(card);
    return c ? static_cast<T>(read(*c)) : T{};
}

bool ValidProfile(double start, double drive, double tacc, double tdec)
{
    return Finite(start) && Finite(drive) && Finite(tacc) && Finite(tdec) && start >= 0 && drive >= 0 && tacc >= 0 &&
           tdec >= 0;
}

// Accepts a move on `axis`; the axes do not move yet.
int16_t Move(int16_t axis) { return OnAxis(axis, true, [](Axis&) {}); }

template <typename P>
int16_t ArcMove(const int16_t* axes, const P* end, const P* centre, int16_t direction)
{
    if (!axes || !end || !centre)
        return kNullPointer;
    if (!FindAxis(axes[0]) || !FindAxis(axes[1]))
        return kNoAxis;
    return Level(direction) ? kOk : kBadValue;
}

// Inputs and outputs are numbered 1 to 20 on the terminal board, bit n − 1 of
// the port words.
bool IoBit(int16_t bit) { return Within(bit, 1, 20); }
int32_t BitMask(int16_t bit) { return static_cast<int32_t>(1u << (bit - 1)); }

constexpr uint32_t kHardwareVersion = 3;
constexpr uint32_t kFirmwareVersion = 214;
constexpr int32_t kLibraryVersion = 20261120;
constexpr const char* kReleaseText = "Tolvane stand-in 2026-11-20 build 1187";

}  // namespace

// Board

int16_t tvn_board_init()
{
    Board& board = TheBoard();
    board.open = true;
    return static_cast<int16_t>(board.cards.size());
}

int16_t tvn_board_close()
{
    TheBoard().open = false;
    return kOk;
}

// Axis signal configuration

int16_t tvn_set_pulse_outmode(int16_t axis, int16_t mode)
{
    return OnAxis(axis, Within(mode, 0, 7), [&](Axis& a) { a.pulseOutMode = mode; });
}

int16_t tvn_config_SD_PIN(int16_t axis, int16_t enable, int16_t logic, int16_t mode)
{
    return OnAxis(axis, Level(enable) && Level(logic) && Within(mode, 0, 3),
                  [&](Axis& a) { a.sd = {enable, logic, mode}; });
}

int16_t tvn_config_PCS_PIN(int16_t axis, int16_t enable, int16_t logic)
{
    return OnAxis(axis, Level(enable) && Level(logic), [&](Axis& a) { a.pcs = {enable, logic}; });
}

int16_t tvn_config_INP_PIN(int16_t axis, int16_t enable, int16_t logic)
{
    return OnAxis(axis, Level(enable) && Level(logic), [&](Axis& a) { a.inp = {enable, logic}; });
}

int16_t tvn_config_ERC_PIN(int16_t axis, int16_t enable, int16_t logic, int16_t width, int16_t offTime)
{
    return OnAxis(axis, Level(enable) && Level(logic) && Within(width, 0, 7) && Within(offTime, 0, 3),
                  [&](Axis& a) { a.erc = {enable, logic, width, offTime}; });
}

int16_t tvn_config_ALM_PIN(int16_t axis, int16_t logic, int16_t mode)
{
    return OnAxis(axis, Level(logic) && Level(mode), [&](Axis& a) { a.alm = {logic, mode}; });
}

int16_t tvn_config_EL_MODE(int16_t axis, int16_t mode)
{
    return OnAxis(axis, Within(mode, 0, 3), [&](Axis& a) { a.elMode = mode; });
}

int16_t tvn_set_HOME_pin_logic(int16_t axis, int16_t logic, int16_t filter)
{
    return OnAxis(axis, Level(logic) && Level(filter), [&](Axis& a) { a.homeLogic = {logic, filter}; });
}

int16_t tvn_config_home_mode(int16_t axis, int16_t mode, int16_t ezCount)
{
    return OnAxis(axis, Level(mode) && Within(ezCount, 1, 16), [&](Axis& a) { a.homeMode = {mode, ezCount}; });
}

int16_t tvn_config_EZ_PIN(int16_t axis, int16_t logic, int16_t mode)
{
    return OnAxis(axis, Level(logic) && Within(mode, 0, 15), [&](Axis& a) { a.ez = {logic, mode}; });
}

int16_t tvn_config_LTC_PIN(int16_t axis, int16_t logic, int16_t mode)
{
    return OnAxis(axis, Level(logic) && Within(mode, 0, 15), [&](Axis& a) { a.ltc = {logic, mode}; });
}

int16_t tvn_config_CSTA_PIN(int16_t axis, int16_t mode)
{
    return OnAxis(axis, Level(mode), [&](Axis& a) { a.csta = mode; });
}

int16_t tvn_counter_config(int16_t axis, int16_t mode)
{
    return OnAxis(axis, Within(mode, 0, 3), [&](Axis& a) { a.counterMode = mode; });
}

int16_t tvn_config_EMG_PIN(int16_t card, int16_t enable, int16_t logic)
{
    return OnCard(card, Level(enable) && Level(logic), [&](Card& c) { c.emg = {enable, logic}; });
}

int16_t tvn_config_latch_mode(int16_t card, int16_t allAxes)
{
    return OnCard(card, Level(allAxes), [&](Card& c) { c.latchAllAxes = allAxes; });
}

// Motion

int16_t tvn_set_profile(int16_t axis, double start, double drive, double tacc, double tdec)
{
    return OnAxis(axis, ValidProfile(start, drive, tacc, tdec),
                  [&](Axis& a) { a.profile = Profile{start, drive, tacc, tdec, 0, 0, false}; });
}

int16_t tvn_set_st_profile(int16_t axis, double start, double drive, double tacc, double tdec, double tsacc,
                           double tsdec)
{
    const bool valid = ValidProfile(start, drive, tacc, tdec) && Finite(tsacc) && Finite(tsdec) && tsacc >= 0 && tsdec >= 0;
    return OnAxis(axis, valid, [&](Axis& a) { a.profile = Profile{start, drive, tacc, tdec, tsacc, tsdec, true}; });
}

int16_t tvn_set_vector_profile(double start, double drive, double tacc, double tdec)
{
    if (!ValidProfile(start, drive, tacc, tdec))
        return kBadValue;
    TheBoard().vector = Profile{start, drive, tacc, tdec, 0, 0, false};
    return kOk;
}

int16_t tvn_t_pmove(int16_t axis, int32_t, int16_t positionMode)
{
    return FindAxis(axis) && !Level(positionMode) ? kBadValue : Move(axis);
}

int16_t tvn_s_pmove(int16_t axis, int32_t distance, int16_t positionMode)
{
    return tvn_t_pmove(axis, distance, positionMode);
}

int16_t tvn_t_vmove(int16_t axis, int16_t direction)
{
    return FindAxis(axis) && !Level(direction) ? kBadValue : Move(axis);
}

int16_t tvn_home_move(int16_t axis, int16_t direction, int16_t speedMode)
{
    return FindAxis(axis) && !(Within(direction, 1, 2) && Level(speedMode)) ? kBadValue : Move(axis);
}

int16_t tvn_t_line2(int16_t axis1, int32_t, int16_t axis2, int32_t, int16_t positionMode)
{
    if (!FindAxis(axis1) || !FindAxis(axis2))
        return kNoAxis;
    return Level(positionMode) ? kOk : kBadValue;
}

int16_t tvn_arc_move(const int16_t* axes, const int32_t* end, const int32_t* centre, int16_t direction)
{
    return ArcMove(axes, end, centre, direction);
}

int16_t tvn_rel_arc_move(const int16_t* axes, const int32_t* end, const int32_t* centre, int16_t direction)
{
    return ArcMove(axes, end, centre, direction);
}

int16_t tvn_arc_move_unitmm(const int16_t* axes, const double* end, const double* centre, int16_t direction)
{
    return ArcMove(axes, end, centre, direction);
}

int16_t tvn_rel_arc_move_unitmm(const int16_t* axes, const double* end, const double* centre, int16_t direction)
{
    return ArcMove(axes, end, centre, direction);
}

int16_t tvn_change_speed(int16_t axis, double speed)
{
    return OnAxis(axis, Finite(speed), [&](Axis& a) { a.profile.drive = std::fabs(speed); });
}

int16_t tvn_decel_stop(int16_t axis, double time)
{
    return OnAxis(axis, Finite(time) && time >= 0, [](Axis&) {});
}

int16_t tvn_imd_stop(int16_t axis) { return Move(axis); }

int16_t tvn_simultaneous_stop(int16_t card)
{
    return OnCard(card, true, [](Card&) {});
}

int16_t tvn_set_sync_option(int16_t axis, int16_t a1, int16_t a2, int16_t a3, int16_t a4)
{
    return OnAxis(axis, true, [&](Axis& a) { a.syncOption = {a1, a2, a3, a4}; });
}

int16_t tvn_set_sync_stop_mode(int16_t axis, int16_t mode)
{
    return OnAxis(axis, Level(mode), [&](Axis& a) { a.syncStopMode = mode; });
}

int16_t tvn_start_move_all(int16_t card)
{
    return OnCard(card, true, [](Card&) {});
}

// Position and speed

int32_t tvn_get_position(int16_t axis)
{
    return ReadAxis<int32_t>(axis, [](const Axis& a) { return a.position; });
}

int16_t tvn_set_position(int16_t axis, int32_t position)
{
    return OnAxis(axis, true, [&](Axis& a) { a.position = position; });
}

int16_t tvn_get_position_unitmm(int16_t axis, double* millimetres)
{
    if (!millimetres)
        return kNullPointer;
    return OnAxis(axis, true, [&](Axis& a) { *millimetres = a.position / a.equiv; });
}

int32_t tvn_get_encoder(int16_t axis)
{
    return ReadAxis<int32_t>(axis, [](const Axis& a) { return a.encoder; });
}

int16_t tvn_set_encoder(int16_t axis, int32_t count)
{
    return OnAxis(axis, true, [&](Axis& a) { a.encoder = count; });
}

double tvn_read_current_speed(int16_t axis)
{
    return ReadAxis<double>(axis, [](const Axis&) { return 0.0; });
}

int16_t tvn_get_equiv(int16_t axis, double* equiv)
{
    if (!equiv)
        return kNullPointer;
    return OnAxis(axis, true, [&](Axis& a) { *equiv = a.equiv; });
}

int16_t tvn_set_equiv(int16_t axis, double equiv)
{
    return OnAxis(axis, Finite(equiv) && equiv > 0, [&](Axis& a) { a.equiv = equiv; });
}

// Status and I/O

uint16_t tvn_axis_status(int16_t) { return 0; }

uint16_t tvn_axis_io_status(int16_t) { return 0; }

uint32_t tvn_get_rsts(int16_t axis)
{
    return ReadAxis<uint32_t>(axis, [](const Axis& a) { return a.ercOut ? 1u << 9 : 0u; });
}

int16_t tvn_read_inbit(int16_t card, int16_t bit)
{
    return IoBit(bit) ? ReadCard<int16_t>(card, [&](const Card& c) { return (c.inport & BitMask(bit)) != 0; }) : 0;
}

int16_t tvn_read_outbit(int16_t card, int16_t bit)
{
    return IoBit(bit) ? ReadCard<int16_t>(card, [&](const Card& c) { return (c.outport & BitMask(bit)) != 0; }) : 0;
}

int16_t tvn_write_outbit(int16_t card, int16_t bit, int16_t value)
{
    return OnCard(card, IoBit(bit) && Level(value), [&](Card& c) {
        c.outport = value ? (c.outport | BitMask(bit)) : (c.outport & ~BitMask(bit));
    });
}

int32_t tvn_read_inport(int16_t card)
{
    return ReadCard<int32_t>(card, [](const Card& c) { return c.inport; });
}

int32_t tvn_read_outport(int16_t card)
{
    return ReadCard<int32_t>(card, [](const Card& c) { return c.outport; });
}

int16_t tvn_write_outport(int16_t card, int32_t value)
{
    return OnCard(card, true, [&](Card& c) { c.outport = value; });
}

int16_t tvn_read_SEVON_PIN(int16_t axis)
{
    return ReadAxis<int16_t>(axis, [](const Axis& a) { return a.sevon; });
}

int16_t tvn_write_SEVON_PIN(int16_t axis, int16_t on)
{
    return OnAxis(axis, Level(on), [&](Axis& a) { a.sevon = on; });
}

int16_t tvn_read_RDY_PIN(int16_t axis)
{
    return ReadAxis<int16_t>(axis, [](const Axis& a) { return a.sevon; });
}

int16_t tvn_write_ERC_PIN(int16_t axis, int16_t on)
{
    return OnAxis(axis, Level(on), [&](Axis& a) { a.ercOut = on; });
}

int16_t tvn_read_CMP_PIN(int16_t axis)
{
    return ReadAxis<int16_t>(axis, [](const Axis& a) { return a.cmpOut; });
}

int16_t tvn_write_CMP_PIN(int16_t axis, int16_t on)
{
    return OnAxis(axis, Level(on), [&](Axis& a) { a.cmpOut = on; });
}

// Latch

int32_t tvn_get_latch_value(int16_t axis)
{
    return ReadAxis<int32_t>(axis, [](const Axis& a) { return a.latchValue; });
}

uint32_t tvn_get_latch_flag(int16_t card)
{
    return ReadCard<uint32_t>(card, [](const Card& c) { return c.latchFlag; });
}

int16_t tvn_reset_latch_flag(int16_t card)
{
    return OnCard(card, true, [](Card& c) { c.latchFlag &= ~0x0F00u; });
}

int16_t tvn_reset_clear_flag(int16_t card)
{
    return OnCard(card, true, [](Card& c) { c.latchFlag &= ~0xF000u; });
}

int16_t tvn_triger_chunnel(int16_t card, int16_t channel)
{
    return OnCard(card, Level(channel), [&](Card& c) { c.triggerChannel = channel; });
}

int16_t tvn_set_speaker_logic(int16_t card, int16_t logic)
{
    return OnCard(card, Level(logic), [&](Card& c) { c.speakerLogic = logic; });
}

// Versions and firmware

int16_t tvn_get_card_version(int16_t card, uint32_t* hardware)
{
    if (!hardware)
        return kNullPointer;
    return OnCard(card, true, [&](Card&) { *hardware = kHardwareVersion; });
}

int16_t tvn_get_card_soft_version(int16_t card, uint32_t* first, uint32_t* firmware)
{
    if (!first || !firmware)
        return kNullPointer;
    return OnCard(card, true, [&](Card&) {
        *first = 1;
        *firmware = kFirmwareVersion;
    });
}

int16_t tvn_get_lib_version(int32_t* library, int32_t* second)
{
    if (!library || !second)
        return kNullPointer;
    *library = kLibraryVersion;
    *second = 0;
    return kOk;
}

int16_t tvn_get_release_version(int16_t card, char* text)
{
    if (!text)
        return kNullPointer;
    return OnCard(card, true, [&](Card&) { std::strcpy(text, kReleaseText); });
}

int16_t tvn_download_firmware(int16_t card, const char* path)
{
    if (!FindCard(card))
        return kNoCard;
    if (!path || !*path || !std::ifstream(path))
        return kNoFile;
    return kOk;
}

int16_t tvn_get_progress(int16_t card, float* fraction)
{
    if (!fraction)
        return kNullPointer;
    return OnCard(card, true, [&](Card&) { *fraction = 0.0f; });
}

// Registers

int32_t tvn_read_pcl_register(int16_t card, int16_t, int16_t)
{
    return ReadCard<int32_t>(card, [](const Card&) { return 0; });
}

int32_t read_dword_pld_register(int16_t card, int16_t reg)
{
    return ReadCard<int32_t>(card, [&](const Card& c) {
        auto it = c.pld.find(reg);
        return it == c.pld.end() ? 0 : it->second;
    });
}

int16_t write_dword_pld_register(int16_t card, int16_t reg, int32_t value)
{
    return OnCard(card, reg >= 0, [&](Card& c) { c.pld[reg] = value; });
}

int16_t write_word_pcl_otpw(int16_t card, int16_t reg, int16_t value)
{
    return OnCard(card, reg >= 0, [&](Card& c) { c.otpw[reg] = value; });
}

}  // namespace tolvane::sim
