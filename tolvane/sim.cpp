// Entry points of the simulated card: argument checks, then the card state
// of card.h and the moves of motion.h. A call on a card or axis that does not
// exist, or with a mode or level out of range, answers with an error status
// and changes nothing.
#include "sim.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

#include "card.h"
#include "latch.h"
#include "motion.h"
#include "signals.h"

namespace tolvane::sim {
namespace {

bool Level(int16_t v) { return v == 0 || v == 1; }
bool Within(int16_t v, int lo, int hi) { return v >= lo && v <= hi; }
bool Finite(double v) { return std::isfinite(v); }

// A card brought up to the clock, so that what the call sees or changes is
// where its moves have got to by now.
Card* Current(Card* card)
{
    if (card)
        motion::Advance(*card, Now());
    return card;
}

// Runs `apply(card, index)` when the axis exists and `valid` holds.
template <typename Apply>
int16_t OnAxisOfCard(int16_t axis, bool valid, Apply apply)
{
    Card* c = Current(CardOfAxis(axis));
    if (!c)
        return kNoAxis;
    if (!valid)
        return kBadValue;
    return apply(*c, IndexOnCard(axis));
}

// Runs `apply` on the axis when it exists and `valid` holds.
template <typename Apply>
int16_t OnAxis(int16_t axis, bool valid, Apply apply)
{
    return OnAxisOfCard(axis, valid, [&](Card& c, int index) {
        apply(c.axes[static_cast<size_t>(index)]);
        return kOk;
    });
}

template <typename Apply>
int16_t OnCard(int16_t card, bool valid, Apply apply)
{
    Card* c = Current(FindCard(card));
    if (!c)
        return kNoCard;
    if (!valid)
        return kBadValue;
    apply(*c);
    return kOk;
}

// Runs `apply(card, indices)` for two axes that exist, are not the same
// axis and sit on the same card: the card interpolates only its own axes.
template <typename Apply>
int16_t OnPair(int16_t axis1, int16_t axis2, bool valid, Apply apply)
{
    Card* c = CardOfAxis(axis1);
    if (!c || !CardOfAxis(axis2))
        return kNoAxis;
    if (!valid)
        return kBadValue;
    if (axis1 == axis2 || CardOfAxis(axis2) != c)
        return kBadPair;
    return apply(*Current(c), std::array<int, 2>{IndexOnCard(axis1), IndexOnCard(axis2)});
}

// What `read(card, index)` makes of an axis brought up to the clock, or T{}
// for an axis that does not exist.
template <typename T, typename Read>
T ReadAxisOfCard(int16_t axis, Read read)
{
    const Card* c = Current(CardOfAxis(axis));
    return c ? static_cast<T>(read(*c, IndexOnCard(axis))) : T{};
}

template <typename T, typename Read>
T ReadAxis(int16_t axis, Read read)
{
    return ReadAxisOfCard<T>(axis, [&](const Card& c, int index) { return read(c.axes[static_cast<size_t>(index)]); });
}

template <typename T, typename Read>
T ReadCard(int16_t card, Read read)
{
    const Card* c = Current(FindCard(card));
    return c ? static_cast<T>(read(*c)) : T{};
}

// How far a move goes: `value` itself (position mode 0) or from the command
// position to `value` (1).
int64_t Distance(const Axis& axis, int32_t value, int16_t positionMode)
{
    return positionMode == 1 ? int64_t{value} - CommandPosition(axis) : value;
}

int16_t PointMove(int16_t axis, int32_t value, int16_t positionMode, bool sCurve)
{
    return OnAxisOfCard(axis, Level(positionMode), [&](Card& c, int index) {
        return motion::MoveAxis(c, index, Distance(c.axes[static_cast<size_t>(index)], value, positionMode), sCurve,
                                Now());
    });
}

// Arc coordinates in pulses, or in millimetres through the axis's equivalent.
std::optional<int32_t> Pulses(int32_t value, const Axis&) { return value; }

std::optional<int32_t> Pulses(double millimetres, const Axis& axis)
{
    const double pulses = std::round(millimetres * axis.equiv);
    if (!(pulses >= std::numeric_limits<int32_t>::min() && pulses <= std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return static_cast<int32_t>(pulses);
}

// End and centre relative to where the axes are (`relative`), or in command
// positions; an arc needs a radius at both ends.
template <typename P>
int16_t ArcMove(const int16_t* axes, const P* end, const P* centre, int16_t direction, bool relative)
{
    if (!axes || !end || !centre)
        return kNullPointer;
    return OnPair(axes[0], axes[1], Level(direction), [&](Card& c, std::array<int, 2> index) -> int16_t {
        std::array<int64_t, 2> e{};
        std::array<int64_t, 2> m{};
        for (size_t k = 0; k < 2; ++k) {
            const Axis& a = c.axes[static_cast<size_t>(index[k])];
            const std::optional<int32_t> endPulses = Pulses(end[k], a);
            const std::optional<int32_t> centrePulses = Pulses(centre[k], a);
            if (!endPulses || !centrePulses)
                return kBadValue;
            e[k] = Distance(a, *endPulses, relative ? 0 : 1);
            m[k] = Distance(a, *centrePulses, relative ? 0 : 1);
        }
        if (m == std::array<int64_t, 2>{} || m == e)
            return kBadValue;
        return motion::MoveArc(c, index, e, m, direction == 1, TheBoard().vector, Now());
    });
}

// Inputs and outputs are numbered 1 to 20 on the terminal board, bit n − 1 of
// the port words.
bool IoBit(int16_t bit) { return Within(bit, 1, 20); }
int32_t BitMask(int16_t bit) { return static_cast<int32_t>(1u << (bit - 1)); }

constexpr uint32_t kHardwareVersion = 3;
constexpr uint32_t kFirmwareVersion = 214;
constexpr int32_t kLibraryVersion = 20261120;
constexpr const char* kReleaseText = "Tolvane stand-in 2026-11-20 build 1187";

// Writing a firmware image into the card's flash takes this long, on the
// clock in use.
constexpr double kDownloadSeconds = 3.0;

// Whether the file opens and its first byte (or its end) reads. The path is
// the C library's: the system's code page on Windows (936, GBK, on a Chinese
// system), which std::filesystem would take for UTF-8 there. A folder fails:
// it does not open on Windows and does not read elsewhere.
bool ReadableFile(const char* path)
{
    if (!path || !*path)
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open())
        return false;
    in.peek();
    return in.good() || in.eof();
}

} // namespace

// Board

int16_t tvn_board_init()
{
    Board& board = TheBoard();
    board.open = true;
    return static_cast<int16_t>(board.cards.size());
}

int16_t tvn_board_close()
{
    Board& board = TheBoard();
    board.open = false;
    // A download the simulated machine held ends with the program.
    for (Card& card : board.cards)
        ReleaseDownload(card);
    return kOk;
}

// Axis signal configuration

int16_t tvn_set_pulse_outmode(int16_t axis, int16_t mode)
{
    return OnAxis(axis, Within(mode, 0, 7), [&](Axis& a) { a.pulseOutMode = mode; });
}

int16_t tvn_config_SD_PIN(int16_t axis, int16_t enable, int16_t logic, int16_t mode)
{
    return OnAxis(axis, Level(enable) && Level(logic) && Within(mode, 0, 3), [&](Axis& a) {
        a.sd = {enable, logic, mode};
    });
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
    return OnAxis(axis, Level(enable) && Level(logic) && Within(width, 0, 7) && Within(offTime, 0, 3), [&](Axis& a) {
        a.erc = {enable, logic, width, offTime};
    });
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
    const Profile profile{start, drive, tacc, tdec, 0, 0, false};
    return OnAxis(axis, ValidProfile(profile), [&](Axis& a) { a.profile = profile; });
}

int16_t tvn_set_st_profile(int16_t axis, double start, double drive, double tacc, double tdec, double tsacc,
                           double tsdec)
{
    const Profile profile{start, drive, tacc, tdec, tsacc, tsdec, true};
    return OnAxis(axis, ValidProfile(profile), [&](Axis& a) { a.profile = profile; });
}

int16_t tvn_set_vector_profile(double start, double drive, double tacc, double tdec)
{
    const Profile profile{start, drive, tacc, tdec, 0, 0, false};
    if (!ValidProfile(profile))
        return kBadValue;
    TheBoard().vector = profile;
    return kOk;
}

int16_t tvn_t_pmove(int16_t axis, int32_t distance, int16_t positionMode)
{
    return PointMove(axis, distance, positionMode, false);
}

int16_t tvn_s_pmove(int16_t axis, int32_t distance, int16_t positionMode)
{
    return PointMove(axis, distance, positionMode, true);
}

int16_t tvn_t_vmove(int16_t axis, int16_t direction)
{
    return OnAxisOfCard(axis, Level(direction),
                        [&](Card& c, int index) { return motion::RunAxis(c, index, direction == 1 ? 1 : -1, Now()); });
}

int16_t tvn_home_move(int16_t axis, int16_t direction, int16_t speedMode)
{
    return OnAxisOfCard(axis, Within(direction, 1, 2) && Level(speedMode), [&](Card& c, int index) {
        // The low homing speed is the start speed: none, and the axis would never get there.
        if (speedMode == 0 && !(c.axes[static_cast<size_t>(index)].profile.start > 0))
            return kBadValue;
        return motion::HomeAxis(c, index, direction == 1 ? 1 : -1, speedMode == 1, Now());
    });
}

int16_t tvn_t_line2(int16_t axis1, int32_t position1, int16_t axis2, int32_t position2, int16_t positionMode)
{
    return OnPair(axis1, axis2, Level(positionMode), [&](Card& c, std::array<int, 2> index) {
        const std::array<int64_t, 2> distance{Distance(c.axes[static_cast<size_t>(index[0])], position1, positionMode),
                                              Distance(c.axes[static_cast<size_t>(index[1])], position2, positionMode)};
        return motion::MoveLine(c, index, distance, TheBoard().vector, Now());
    });
}

int16_t tvn_arc_move(const int16_t* axes, const int32_t* end, const int32_t* centre, int16_t direction)
{
    return ArcMove(axes, end, centre, direction, false);
}

int16_t tvn_rel_arc_move(const int16_t* axes, const int32_t* end, const int32_t* centre, int16_t direction)
{
    return ArcMove(axes, end, centre, direction, true);
}

int16_t tvn_arc_move_unitmm(const int16_t* axes, const double* end, const double* centre, int16_t direction)
{
    return ArcMove(axes, end, centre, direction, false);
}

int16_t tvn_rel_arc_move_unitmm(const int16_t* axes, const double* end, const double* centre, int16_t direction)
{
    return ArcMove(axes, end, centre, direction, true);
}

// A negative speed is taken by its size: the move keeps its direction.
int16_t tvn_change_speed(int16_t axis, double speed)
{
    return OnAxisOfCard(axis, Finite(speed) && speed != 0,
                        [&](Card& c, int index) { return motion::ChangeSpeed(c, index, std::fabs(speed)); });
}

int16_t tvn_decel_stop(int16_t axis, double time)
{
    return OnAxisOfCard(axis, Finite(time) && time >= 0, [&](Card& c, int index) {
        motion::DecelStop(c, index, time);
        return kOk;
    });
}

int16_t tvn_imd_stop(int16_t axis)
{
    return OnAxisOfCard(axis, true, [](Card& c, int index) {
        motion::ImmediateStop(c, index);
        return kOk;
    });
}

int16_t tvn_simultaneous_stop(int16_t card)
{
    return OnCard(card, true, [](Card& c) { motion::StopAll(c); });
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
    return OnCard(card, true, [](Card& c) { motion::StartWaiting(c, Now()); });
}

// Position and speed

int32_t tvn_get_position(int16_t axis) { return ReadAxis<int32_t>(axis, CommandPosition); }

int16_t tvn_set_position(int16_t axis, int32_t position)
{
    return OnAxis(axis, true, [&](Axis& a) { SetCommandPosition(a, position); });
}

int16_t tvn_get_position_unitmm(int16_t axis, double* millimetres)
{
    if (!millimetres)
        return kNullPointer;
    return OnAxis(axis, true, [&](Axis& a) { *millimetres = CommandPosition(a) / a.equiv; });
}

int32_t tvn_get_encoder(int16_t axis) { return ReadAxis<int32_t>(axis, EncoderCount); }

int16_t tvn_set_encoder(int16_t axis, int32_t count)
{
    return OnAxis(axis, true, [&](Axis& a) { SetEncoderCount(a, count); });
}

// The size of the speed, whatever the direction: what the card's speed
// register holds.
double tvn_read_current_speed(int16_t axis)
{
    return ReadAxis<double>(axis, [](const Axis& a) { return a.speed; });
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

uint16_t tvn_axis_status(int16_t axis)
{
    const Card* c = Current(CardOfAxis(axis));
    const motion::Motion* m = c ? motion::MotionOf(*c, IndexOnCard(axis)) : nullptr;
    if (!m)
        return 0;
    return m->waiting ? brevak::status::kWaiting : brevak::status::kMoving;
}

uint16_t tvn_axis_io_status(int16_t axis) { return ReadAxisOfCard<uint16_t>(axis, signals::IoStatus); }

uint32_t tvn_get_rsts(int16_t axis) { return ReadAxisOfCard<uint32_t>(axis, signals::Rsts); }

int16_t tvn_read_inbit(int16_t card, int16_t bit)
{
    return IoBit(bit)
               ? ReadCard<int16_t>(card, [&](const Card& c) { return (signals::InputPort(c) & BitMask(bit)) != 0; })
               : 0;
}

int16_t tvn_read_outbit(int16_t card, int16_t bit)
{
    return IoBit(bit) ? ReadCard<int16_t>(card, [&](const Card& c) { return (c.outport & BitMask(bit)) != 0; }) : 0;
}

int16_t tvn_write_outbit(int16_t card, int16_t bit, int16_t value)
{
    return OnCard(card, IoBit(bit) && Level(value),
                  [&](Card& c) { c.outport = value ? (c.outport | BitMask(bit)) : (c.outport & ~BitMask(bit)); });
}

int32_t tvn_read_inport(int16_t card) { return ReadCard<int32_t>(card, signals::InputPort); }

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
    return OnAxis(axis, Level(on), [&](Axis& a) {
        // Servo-on again while on keeps the drive ready.
        if (on && !a.sevon)
            a.servoOnSince = Now();
        a.sevon = on;
    });
}

int16_t tvn_read_RDY_PIN(int16_t axis)
{
    return ReadAxis<int16_t>(axis, [](const Axis& a) { return signals::Ready(a, Now()); });
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

uint32_t tvn_get_latch_flag(int16_t card) { return ReadCard<uint32_t>(card, signals::LatchFlag); }

int16_t tvn_reset_latch_flag(int16_t card)
{
    return OnCard(card, true, [](Card& c) { c.latchFlag &= ~latch::kTriggerStates; });
}

int16_t tvn_reset_clear_flag(int16_t card)
{
    return OnCard(card, true, [](Card& c) { c.latchFlag &= ~latch::kClearStates; });
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

// Blocks the calling thread for the whole download, as the card's library
// does, but lets go of the call mutex meanwhile (WaitUntil): the program
// polls the progress from another thread. The download is held by pointer,
// not through its card, across the wait.
int16_t tvn_download_firmware(int16_t card, const char* path)
{
    Card* c = FindCard(card);
    if (!c)
        return kNoCard;
    if (!ReadableFile(path))
        return kNoFile;
    const std::shared_ptr<Download> download = c->download;
    if (download->running)
        return kDownloading;
    // The simulated machine's fault, for this download only.
    const DownloadFault fault = std::exchange(c->nextDownload, DownloadFault{});
    *download = {true, false, Now()};
    if (fault.stallPercent >= 0) {
        download->stallAt = fault.stallPercent / 100.0;
        WaitUntil(download->start + kDownloadSeconds * download->stallAt);
        WaitForRelease(*download);
        *download = {false, false, download->start};
        return fault.code != 0 ? fault.code : kStopped;
    }
    if (fault.code != 0) {
        // A failing download gets a third of the way first.
        WaitUntil(download->start + kDownloadSeconds / 3);
        *download = {false, false, download->start};
        return fault.code;
    }
    WaitUntil(download->start + kDownloadSeconds);
    *download = {false, true, download->start};
    return kOk;
}

// 0 before the first download, rising evenly with the clock while one runs,
// exactly 1 once it has ended.
int16_t tvn_get_progress(int16_t card, float* fraction)
{
    if (!fraction)
        return kNullPointer;
    return OnCard(card, true, [&](Card& c) {
        const Download& d = *c.download;
        const double stop = d.stallAt >= 0 ? d.stallAt : 1.0;
        const double done = d.running    ? std::clamp((Now() - d.start) / kDownloadSeconds, 0.0, stop)
                            : d.finished ? 1.0
                                         : 0.0;
        *fraction = static_cast<float>(done);
    });
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

} // namespace tolvane::sim
